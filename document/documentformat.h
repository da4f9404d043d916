#pragma once

// The format of a document in one place: its five tables, their rows and
// columns, and how each table is carried in a program file and named in
// JSON and in messages. The reader, the writer, tarvo-prg and the editor's
// column editors all work from this table.

#include <QChar>
#include <QString>
#include <QtGlobal>

namespace tarvo {

// The five fixed-size tables of a document, in tab order.
enum class DocTable { Params = 0, Depts = 1, Lines = 2, Comments = 3, Payments = 4 };

constexpr int kTableCount = 5;

// Editable cells of all five tables: 26 + 200 + 8 + 1 + 12.
constexpr int kDocumentCellCount = 247;

// Column numbers of the editable and fixed cells. Column 0 of every table is
// the row label, column 1 of the parameters their name.
namespace col {
constexpr int Num = 0;
constexpr int ParamName = 1;
constexpr int ParamValue = 2;
constexpr int DeptName = 1;
constexpr int DeptPrice = 2;
constexpr int DeptTax = 3;
constexpr int DeptDigits = 4;
constexpr int LineText = 1;
constexpr int CommentText = 1;
constexpr int PaymentName = 1;
constexpr int PaymentValue = 2;
constexpr int PaymentIndex = 3;
} // namespace col

// Fields of the longest record: the letter, the number and four values.
constexpr int kMaxRecordFields = 6;

// Editable columns of the widest table.
constexpr int kMaxRowCells = 4;

// What a cell may hold, as the cell editors and the checker judge it.
enum class CellKind { Text, Decimal, Whole };

// One editable column and the record field that carries it.
struct ColumnFormat
{
    int column;       // column of the table
    int field;        // field of the record: 0 is the letter, 1 the number
    const char *name; // JSON key and word in messages; empty in one-column tables
    CellKind kind;
    bool required;    // a row is written only when all its required cells hold text
};

struct TableFormat
{
    DocTable table;
    char letter;          // record letter, upper case
    int rows;
    quint32 firstNumber;  // record number of row 0; rows are numbered on from it
    int columns;          // all columns, labels included
    const char *jsonKey;  // key of the table in a JSON document
    const char *cellKey;  // first part of a cell's key ("department.3.price")
    const char *words;    // how messages name a row ("department 3 price")
    const char *section;  // comment line that opens its records; null: the section before goes on
    int cellCount;        // editable columns, left to right
    ColumnFormat cells[kMaxRowCells];
};

// In tab order, which is also the order of the sections in a file.
const TableFormat &tableFormat(DocTable table);

// The format of the editable column `column`, or null for a fixed one.
const ColumnFormat *columnFormat(DocTable table, int column);

inline DocTable tableAt(int index) { return static_cast<DocTable>(index); }
inline int rowCount(DocTable table) { return tableFormat(table).rows; }
inline int columnCount(DocTable table) { return tableFormat(table).columns; }
inline QChar recordLetter(DocTable table) { return QChar::fromLatin1(tableFormat(table).letter); }

// True for the cells that hold document data (everything but the label
// column and the parameter names).
bool isDocumentCell(DocTable table, int row, int column);

} // namespace tarvo
