#include "cellnames.h"

QString cellName(tarvo::DocTable table, int row, int column)
{
    const tarvo::TableFormat &format = tarvo::tableFormat(table);
    QString name = QLatin1String(format.words);
    if (format.rows > 1)
        name += QLatin1Char(' ') + QString::number(row + 1);
    if (format.cellCount > 1) {
        const tarvo::ColumnFormat *cell = tarvo::columnFormat(table, column);
        name += QLatin1Char(' ') + (cell ? QLatin1String(cell->name) : QLatin1String("?"));
    }
    return name;
}
