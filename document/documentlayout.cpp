#include "documentlayout.h"

namespace tarvo {

namespace {
struct Shape {
    int rows;
    int columns;
    char letter;
};

constexpr Shape kShapes[kTableCount] = {
    {26, 3, 'S'},
    {50, 5, 'D'},
    {8, 2, 'H'},
    {1, 2, 'C'},
    {4, 4, 'Y'},
};

constexpr int kParamColumns[] = {col::ParamValue};
constexpr int kDeptColumns[] = {col::DeptName, col::DeptPrice, col::DeptTax, col::DeptDigits};
constexpr int kLineColumns[] = {col::LineText};
constexpr int kCommentColumns[] = {col::CommentText};
constexpr int kPaymentColumns[] = {col::PaymentName, col::PaymentValue, col::PaymentIndex};

const Shape &shape(DocTable table) { return kShapes[static_cast<int>(table)]; }
} // namespace

int rowCount(DocTable table) { return shape(table).rows; }
int columnCount(DocTable table) { return shape(table).columns; }
QChar recordLetter(DocTable table) { return QChar::fromLatin1(shape(table).letter); }

const int *documentColumns(DocTable table, int *count)
{
    switch (table) {
    case DocTable::Params: *count = 1; return kParamColumns;
    case DocTable::Depts: *count = 4; return kDeptColumns;
    case DocTable::Lines: *count = 1; return kLineColumns;
    case DocTable::Comments: *count = 1; return kCommentColumns;
    case DocTable::Payments: *count = 3; return kPaymentColumns;
    }
    *count = 0;
    return nullptr;
}

bool isDocumentCell(DocTable table, int row, int column)
{
    if (row < 0 || row >= rowCount(table))
        return false;
    int count = 0;
    const int *columns = documentColumns(table, &count);
    for (int i = 0; i < count; ++i) {
        if (columns[i] == column)
            return true;
    }
    return false;
}

QString rowLabel(DocTable table, int row)
{
    if (table == DocTable::Lines)
        return QStringLiteral("Header %1").arg(row + 1);
    return QString::number(row + 1);
}

} // namespace tarvo
