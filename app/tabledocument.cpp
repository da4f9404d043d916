#include "tabledocument.h"

#include "wtablewidget.h"

TableDocument::TableDocument(WTableWidget *params, WTableWidget *depts, WTableWidget *lines,
                             WTableWidget *comments, WTableWidget *payments)
    : m_tables{params, depts, lines, comments, payments}
{
}

QString TableDocument::cellText(tarvo::DocTable table, int row, int column) const
{
    return this->table(table)->cellText(row, column);
}

void TableDocument::setCellText(tarvo::DocTable table, int row, int column, const QString &text)
{
    // Only document cells: a record can never reach a label or a name.
    if (!tarvo::isDocumentCell(table, row, column))
        return;
    if (QTableWidgetItem *item = this->table(table)->item(row, column))
        setItemText(item, text);
}

void TableDocument::setItemText(QTableWidgetItem *item, const QString &text)
{
    if (item->data(Qt::DisplayRole).toString() == text)
        return;
    item->setData(Qt::DisplayRole, text);
}
