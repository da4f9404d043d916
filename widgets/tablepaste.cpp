#include "tablepaste.h"

#include "numberdelegate.h"

#include <QTableWidget>

QList<QStringList> splitPasteBlock(const QString &text)
{
    QString block = text;
    block.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    block.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (block.endsWith(QLatin1Char('\n')))
        block.chop(1);
    QList<QStringList> rows;
    for (const QString &line : block.split(QLatin1Char('\n')))
        rows.append(line.split(QLatin1Char('\t')));
    return rows;
}

tarvo::CellEdits pasteEdits(const QTableWidget *table, int row, int column, const QString &text,
                            QList<RefusedPaste> *refused)
{
    tarvo::CellEdits edits;
    if (text.isEmpty() || row < 0 || column < 0)
        return edits;
    const QList<QStringList> rows = splitPasteBlock(text);
    for (int i = 0; i < rows.size() && row + i < table->rowCount(); ++i) {
        const QStringList &cells = rows.at(i);
        for (int j = 0; j < cells.size() && column + j < table->columnCount(); ++j) {
            const QTableWidgetItem *item = table->item(row + i, column + j);
            if (!item || !(item->flags() & Qt::ItemIsEditable))
                continue;
            QString value = cells.at(j);
            const auto *check = qobject_cast<const NumberDelegate *>(table->itemDelegateForColumn(column + j));
            if (check) {
                bool wasRefused = false;
                value = check->storedText(value, &wasRefused);
                if (wasRefused && refused)
                    refused->append({row + i, column + j, cells.at(j)});
            }
            if (item->data(Qt::DisplayRole).toString() != value)
                edits.append({row + i, column + j, value});
        }
    }
    return edits;
}
