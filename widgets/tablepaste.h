#pragma once

#include "celledit.h"

#include <QString>
#include <QStringList>

class QTableWidget;

// Splits clipboard text into rows and cells, spreadsheet style: a line break
// (LF, CR LF or CR) ends a row, a TAB separates cells, and a line break at
// the very end does not start another row.
QList<QStringList> splitPasteBlock(const QString &text);

// A pasted value that a numeric column refused.
struct RefusedPaste
{
    int row;
    int column;
    QString text;
};

// The edits that put a block of clipboard text into the table with its top
// left cell at (row, column). Only editable cells that exist take a value;
// read-only cells and whatever falls outside the table are skipped. A value
// for a numeric column passes the column's check as a typed value does (a
// decimal comma becomes a point), and a refused one becomes an empty cell
// and is listed in `refused`. Cells that already hold their value are left
// out.
tarvo::CellEdits pasteEdits(const QTableWidget *table, int row, int column, const QString &text,
                            QList<RefusedPaste> *refused = nullptr);
