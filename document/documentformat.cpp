#include "documentformat.h"

namespace tarvo {

namespace {

using K = CellKind;

// clang-format off
constexpr TableFormat kTables[kTableCount] = {
//   table               letter rows first cols  JSON key       cell key      messages       section
    {DocTable::Params,   'S',   26,  1,    3,    "params",      "param",      "parameter",   "System Parameters",
//   editable columns: column, record field, name, kind, required
     1, {{col::ParamValue,   2, "",       K::Text,    true}}},
    {DocTable::Depts,    'D',   50,  1,    5,    "departments", "department", "department",  "Departments",
     4, {{col::DeptName,     2, "name",   K::Text,    true},
         {col::DeptPrice,    4, "price",  K::Decimal, false},   // the tax comes before the price
         {col::DeptTax,      3, "tax",    K::Text,    false},
         {col::DeptDigits,   5, "digits", K::Whole,   false}}},
    {DocTable::Lines,    'H',   8,   1,    2,    "headerLines", "header",     "header line", "Header Lines",
     1, {{col::LineText,     2, "",       K::Text,    false}}},  // all eight lines, empty ones too
    {DocTable::Comments, 'C',   1,   0,    2,    "comment",     "comment",    "comment",     nullptr,
     1, {{col::CommentText,  2, "",       K::Text,    true}}},
    {DocTable::Payments, 'Y',   4,   1,    4,    "payments",    "payment",    "payment",     "Payments",
     3, {{col::PaymentName,  2, "name",   K::Text,    true},
         {col::PaymentValue, 3, "value",  K::Decimal, true},
         {col::PaymentIndex, 4, "index",  K::Text,    false}}},
};
// clang-format on

constexpr bool fieldsFit()
{
    for (const TableFormat &format : kTables) {
        for (int i = 0; i < format.cellCount; ++i) {
            if (format.cells[i].field < 2 || format.cells[i].field >= kMaxRecordFields)
                return false;
        }
    }
    return true;
}
static_assert(fieldsFit(), "a record field beyond kMaxRecordFields");

} // namespace

const TableFormat &tableFormat(DocTable table) { return kTables[static_cast<int>(table)]; }

const ColumnFormat *columnFormat(DocTable table, int column)
{
    const TableFormat &format = tableFormat(table);
    for (int i = 0; i < format.cellCount; ++i) {
        if (format.cells[i].column == column)
            return &format.cells[i];
    }
    return nullptr;
}

bool isDocumentCell(DocTable table, int row, int column)
{
    return row >= 0 && row < rowCount(table) && columnFormat(table, column) != nullptr;
}

} // namespace tarvo
