#pragma once

#include "celledit.h"

#include <QList>
#include <QLocale>
#include <QMetaType>
#include <QString>
#include <QStringList>

class QTableWidget;

// Splits clipboard text into rows and cells as spreadsheets write them: a
// line break (LF, CR LF or CR) ends a row, a TAB separates cells, and a line
// break at the very end starts no row. A cell that starts with a double
// quote whose closing quote stands right before a TAB, a line break or the
// end of the text is quoted: it runs to that quote, may hold TABs and line
// breaks, and "" inside it is one quote. A cell whose opening quote has no
// such closing quote is taken as it stands, up to the next TAB or line break.
QList<QStringList> splitPasteBlock(const QString &text);

// The block on the clipboard: its plain `text`, split as splitPasteBlock
// splits it, unless the clipboard's `html` holds a table whose cells, joined
// by TABs and line breaks, are that very text. Then the table says where
// each cell begins and ends, also where a spreadsheet put a TAB or a line
// break into the plain text of a cell without quoting it.
QList<QStringList> clipboardBlock(const QString &text, const QString &html);

// A block's rows as spreadsheets read them: cells joined by TAB, each row
// ending in a line break; a cell that holds a TAB, a line break or starts
// with a double quote is quoted.
QString joinCopyBlock(const QList<QStringList> &rows);

// True when `text` holds a character that no cell can keep because the
// program file cannot carry it: a TAB, a line break, NUL or any other C0
// control character.
bool holdsControlCharacter(QStringView text);

// Why a value of a pasted or typed cell was not stored as it stands.
enum class CellRefusal {
    NotWholeNumber,   // a whole-number column: the cell became empty
    NotDecimalNumber, // a decimal column: the cell became empty
    ControlCharacter, // a TAB, line break or other control character: the cell kept its value
};

struct RefusedCell
{
    int row;
    int column;
    QString text; // as it came
    CellRefusal why;
};

// What a paste of a block at a cell does.
struct PastePlan
{
    int row = -1;     // the top left cell the block lands on
    int column = -1;
    int rowsOver = 0;    // rows of the block, holding text, below the last row
    int columnsOver = 0; // columns of the block, holding text, right of the last column
    int bottom = -1;  // the last row and column of the table the block reaches
    int right = -1;
    tarvo::CellEdits edits; // the cells that take a new text (what fits)
    int pasted = 0;         // cells of the block that took their value
    QList<RefusedCell> refused;
};

// Plans a paste of `rows` with its top left cell at (row, column). A block
// anchored on a read-only column starts at the first editable column of that
// row, unless the block's first column repeats that column's labels (a block
// copied with its row numbers). Only editable cells take a value; read-only
// cells are skipped. A value for a numeric column passes the column's check
// (see NumberDelegate::pastedText), and a refused one empties the cell; a
// value that holds a control character is not pasted at all. An empty cell
// of the block empties its cell and is no refusal. Cells that already hold
// their value are left out of the edits.
PastePlan planPaste(const QTableWidget *table, int row, int column, const QList<QStringList> &rows,
                    const QLocale &numbers = QLocale::c());

Q_DECLARE_METATYPE(RefusedCell)
