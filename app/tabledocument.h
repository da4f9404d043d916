#pragma once

#include "documentcells.h"

class WTableWidget;
class QTableWidgetItem;

// The document as the file-format code sees it, over the five tables of the
// main window. Setting a cell to the text it already shows changes nothing
// and emits nothing.
class TableDocument : public tarvo::DocumentCells
{
public:
    TableDocument(WTableWidget *params, WTableWidget *depts, WTableWidget *lines, WTableWidget *comments,
                  WTableWidget *payments);

    QString cellText(tarvo::DocTable table, int row, int column) const override;
    void setCellText(tarvo::DocTable table, int row, int column, const QString &text) override;

    WTableWidget *table(tarvo::DocTable table) const { return m_tables[static_cast<int>(table)]; }

    // Sets an item's display text unless it already shows that text (an
    // empty text counts as equal to no text).
    static void setItemText(QTableWidgetItem *item, const QString &text);

private:
    WTableWidget *m_tables[tarvo::kTableCount];
};
