#include "cellnames.h"

#include <numbercheck.h>

#include <QStringList>

namespace {

QString columnWord(const tarvo::TableFormat &format, int column)
{
    const tarvo::ColumnFormat *cell = tarvo::columnFormat(format.table, column);
    return cell ? QLatin1String(cell->name) : QStringLiteral("?");
}

// "param.N", "department.N.F": the forms a table's keys take.
QString keyForms(const tarvo::TableFormat &format)
{
    QString form = QLatin1String(format.cellKey);
    if (format.rows > 1)
        form += QStringLiteral(".N");
    if (format.cellCount > 1) {
        QStringList names;
        for (int i = 0; i < format.cellCount; ++i)
            names << QLatin1String(format.cells[i].name);
        form += QLatin1Char('.') + names.join(QLatin1Char('|'));
    }
    return form;
}

QString allKeyForms()
{
    QStringList forms;
    for (int t = 0; t < tarvo::kTableCount; ++t)
        forms << keyForms(tarvo::tableFormat(tarvo::tableAt(t)));
    return forms.join(QStringLiteral(", "));
}

} // namespace

QString rowName(tarvo::DocTable table, int row)
{
    const tarvo::TableFormat &format = tarvo::tableFormat(table);
    QString name = QLatin1String(format.words);
    if (format.rows > 1)
        name += QLatin1Char(' ') + QString::number(row + 1);
    return name;
}

QString cellName(tarvo::DocTable table, int row, int column)
{
    const tarvo::TableFormat &format = tarvo::tableFormat(table);
    QString name = rowName(table, row);
    if (format.cellCount > 1)
        name += QLatin1Char(' ') + columnWord(format, column);
    return name;
}

QString refusalOf(tarvo::CellKind kind, QStringView text)
{
    if (text.isEmpty())
        return QString();
    if (kind == tarvo::CellKind::Decimal && !tarvo::isAcceptableDecimal(text))
        return QStringLiteral("is not a decimal number");
    if (kind == tarvo::CellKind::Whole && !tarvo::isAcceptableInteger(text))
        return QStringLiteral("is not a whole number");
    return QString();
}

QString cellKey(tarvo::DocTable table, int row, int column)
{
    const tarvo::TableFormat &format = tarvo::tableFormat(table);
    QString key = QLatin1String(format.cellKey);
    if (format.rows > 1)
        key += QLatin1Char('.') + QString::number(row + 1);
    if (format.cellCount > 1)
        key += QLatin1Char('.') + columnWord(format, column);
    return key;
}

bool cellForKey(const QString &key, CellAddress *cell, QString *why)
{
    const QStringList parts = key.split(QLatin1Char('.'));
    for (int t = 0; t < tarvo::kTableCount; ++t) {
        const tarvo::TableFormat &format = tarvo::tableFormat(tarvo::tableAt(t));
        if (parts.first() != QLatin1String(format.cellKey))
            continue;
        const int wanted = 1 + (format.rows > 1 ? 1 : 0) + (format.cellCount > 1 ? 1 : 0);
        if (parts.size() != wanted) {
            *why = QStringLiteral("cell key \"%1\" is not of the form %2").arg(key, keyForms(format));
            return false;
        }
        int row = 0;
        if (format.rows > 1) {
            // Plain decimal digits only: "3", never "+3", "03" or " 3".
            const QString &number = parts.at(1);
            bool ok = !number.isEmpty() && number.size() <= 3 && !number.startsWith(QLatin1Char('0'));
            for (const QChar c : number)
                ok = ok && c >= QLatin1Char('0') && c <= QLatin1Char('9');
            row = ok ? number.toInt() - 1 : -1;
            if (row < 0 || row >= format.rows) {
                *why = QStringLiteral("cell key \"%1\": %2 numbers go from 1 to %3")
                           .arg(key, QLatin1String(format.cellKey), QString::number(format.rows));
                return false;
            }
        }
        int column = format.cells[0].column;
        if (format.cellCount > 1) {
            column = -1;
            for (int i = 0; i < format.cellCount; ++i) {
                if (parts.last() == QLatin1String(format.cells[i].name))
                    column = format.cells[i].column;
            }
            if (column < 0) {
                *why = QStringLiteral("cell key \"%1\" is not of the form %2").arg(key, keyForms(format));
                return false;
            }
        }
        *cell = CellAddress{format.table, row, column};
        return true;
    }
    *why = QStringLiteral("unknown cell key \"%1\"; keys are %2").arg(key, allKeyForms());
    return false;
}
