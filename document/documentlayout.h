#pragma once

#include <QChar>
#include <QString>

namespace tarvo {

// The five fixed-size tables of a document, in tab order.
enum class DocTable { Params = 0, Depts = 1, Lines = 2, Comments = 3, Payments = 4 };

constexpr int kTableCount = 5;

// Editable cells of all five tables: 26 + 200 + 8 + 1 + 12.
constexpr int kDocumentCellCount = 247;

// Column numbers of the editable and fixed cells.
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

int rowCount(DocTable table);
int columnCount(DocTable table);

// The record letter of a table in the program file (S, D, H, C, Y).
QChar recordLetter(DocTable table);

// True for the cells that hold document data (everything but the
// label column and the parameter names).
bool isDocumentCell(DocTable table, int row, int column);

// The editable columns of a table, left to right.
const int *documentColumns(DocTable table, int *count);

// The text of the fixed label cell in column 0 ("1".."50", "Header 3", ...).
// Translated texts are the caller's business; this is the source text.
QString rowLabel(DocTable table, int row);

inline DocTable tableAt(int index) { return static_cast<DocTable>(index); }

} // namespace tarvo
