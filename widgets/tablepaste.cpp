#include "tablepaste.h"

#include "programwriter.h"

#include "htmltable.h"
#include "numberdelegate.h"

#include <QTableWidget>

#include <algorithm>

namespace {

bool isFieldEnd(QChar c) { return c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'); }

// One cell from `pos` on; `pos` ends at the TAB, line break or end after it.
QString takeField(const QString &text, qsizetype &pos)
{
    const qsizetype n = text.size();
    if (pos < n && text.at(pos) == QLatin1Char('"')) {
        QString value;
        for (qsizetype i = pos + 1; i < n; ++i) {
            if (text.at(i) != QLatin1Char('"')) {
                value += text.at(i);
                continue;
            }
            if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                value += QLatin1Char('"');
                ++i;
                continue;
            }
            if (i + 1 == n || isFieldEnd(text.at(i + 1))) {
                pos = i + 1;
                return value;
            }
            break; // a quote inside an unquoted cell: the cell is as it stands
        }
    }
    const qsizetype start = pos;
    while (pos < n && !isFieldEnd(text.at(pos)))
        ++pos;
    return text.mid(start, pos - start);
}

bool needsQuotes(const QString &cell)
{
    return cell.startsWith(QLatin1Char('"')) || cell.contains(QLatin1Char('\t')) || cell.contains(QLatin1Char('\n'))
        || cell.contains(QLatin1Char('\r'));
}

bool isEditable(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item && (item->flags() & Qt::ItemIsEditable);
}

// Where a block anchored at (row, column) starts: on a read-only column, at
// the first editable column of the row, unless the block's first column
// repeats the labels of the rows it lands on. -1 when the row has no
// editable cell from `column` on.
int startColumn(const QTableWidget *table, int row, int column, const QList<QStringList> &rows)
{
    if (isEditable(table, row, column))
        return column;
    bool repeatsLabels = true;
    for (int i = 0; i < rows.size() && row + i < table->rowCount() && repeatsLabels; ++i) {
        const QTableWidgetItem *label = table->item(row + i, column);
        repeatsLabels = label && rows.at(i).value(0) == label->data(Qt::DisplayRole).toString();
    }
    if (repeatsLabels && rows.value(0).size() > 1)
        return column;
    for (int c = column; c < table->columnCount(); ++c)
        if (isEditable(table, row, c))
            return c;
    return -1;
}

} // namespace

QList<QStringList> splitPasteBlock(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    qsizetype pos = 0;
    const qsizetype n = text.size();
    for (;;) {
        row.append(takeField(text, pos));
        if (pos >= n) {
            rows.append(row);
            break;
        }
        if (text.at(pos) == QLatin1Char('\t')) {
            ++pos;
            continue;
        }
        // A line break, CR LF counting as one.
        if (text.at(pos) == QLatin1Char('\r') && pos + 1 < n && text.at(pos + 1) == QLatin1Char('\n'))
            ++pos;
        ++pos;
        rows.append(row);
        row.clear();
        if (pos >= n)
            break;
    }
    return rows;
}

QList<QStringList> clipboardBlock(const QString &text, const QString &html)
{
    if (html.isEmpty())
        return splitPasteBlock(text);
    const QList<QStringList> cells = htmlTableCells(html);
    QStringList lines;
    for (const QStringList &row : cells)
        lines.append(row.join(QLatin1Char('\t')));
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (plain.endsWith(QLatin1Char('\n')))
        plain.chop(1);
    if (!cells.isEmpty() && lines.join(QLatin1Char('\n')) == plain)
        return cells;
    return splitPasteBlock(text);
}

QString joinCopyBlock(const QList<QStringList> &rows)
{
    QString text;
    for (const QStringList &row : rows) {
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (c > 0)
                text += QLatin1Char('\t');
            QString cell = row.at(c);
            if (needsQuotes(cell))
                cell = QLatin1Char('"') + cell.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
            text += cell;
        }
        text += QLatin1Char('\n');
    }
    return text;
}

bool holdsControlCharacter(QStringView text)
{
    return tarvo::firstCharacterNoCellHolds(text) >= 0;
}

PastePlan planPaste(const QTableWidget *table, int row, int column, const QList<QStringList> &rows,
                    const QLocale &numbers)
{
    PastePlan plan;
    if (rows.isEmpty() || row < 0 || column < 0 || row >= table->rowCount() || column >= table->columnCount())
        return plan;
    column = startColumn(table, row, column, rows);
    if (column < 0)
        return plan;
    plan.row = row;
    plan.column = column;
    plan.bottom = row;
    plan.right = column;
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList &cells = rows.at(i);
        for (int j = 0; j < cells.size(); ++j) {
            const QString &value = cells.at(j);
            const int r = row + i;
            const int c = column + j;
            if (r >= table->rowCount() || c >= table->columnCount()) {
                // Only what holds text is lost outside the table.
                if (!value.isEmpty()) {
                    plan.rowsOver = qMax(plan.rowsOver, r - table->rowCount() + 1);
                    plan.columnsOver = qMax(plan.columnsOver, c - table->columnCount() + 1);
                }
                continue;
            }
            plan.bottom = qMax(plan.bottom, r);
            plan.right = qMax(plan.right, c);
            if (!isEditable(table, r, c))
                continue;
            if (holdsControlCharacter(value)) {
                plan.refused.append({r, c, value, CellRefusal::ControlCharacter});
                continue;
            }
            QString stored = value;
            bool refused = false;
            const auto *check = qobject_cast<const NumberDelegate *>(table->itemDelegateForColumn(c));
            if (check && value.trimmed().isEmpty()) {
                stored.clear(); // an empty cell of the block empties its cell
            } else if (check) {
                stored = check->pastedText(value, numbers, &refused);
                if (refused)
                    plan.refused.append(
                        {r, c, value, check->isDecimal() ? CellRefusal::NotDecimalNumber : CellRefusal::NotWholeNumber});
            }
            if (!refused)
                ++plan.pasted;
            if (table->item(r, c)->data(Qt::DisplayRole).toString() != stored)
                plan.edits.append({r, c, stored});
        }
    }
    return plan;
}
