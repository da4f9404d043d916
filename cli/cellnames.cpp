#include "cellnames.h"

namespace {

QString columnName(tarvo::DocTable table, int column)
{
    using tarvo::DocTable;
    namespace col = tarvo::col;
    if (table == DocTable::Depts) {
        switch (column) {
        case col::DeptName: return QStringLiteral("name");
        case col::DeptPrice: return QStringLiteral("price");
        case col::DeptTax: return QStringLiteral("tax");
        case col::DeptDigits: return QStringLiteral("digits");
        default: break;
        }
    } else if (table == DocTable::Payments) {
        switch (column) {
        case col::PaymentName: return QStringLiteral("name");
        case col::PaymentValue: return QStringLiteral("value");
        case col::PaymentIndex: return QStringLiteral("index");
        default: break;
        }
    }
    return QStringLiteral("column %1").arg(column);
}

} // namespace

QString cellName(tarvo::DocTable table, int row, int column)
{
    using tarvo::DocTable;
    const int number = row + 1;
    switch (table) {
    case DocTable::Params: return QStringLiteral("parameter %1").arg(number);
    case DocTable::Depts: return QStringLiteral("department %1 %2").arg(number).arg(columnName(table, column));
    case DocTable::Lines: return QStringLiteral("header line %1").arg(number);
    case DocTable::Comments: return QStringLiteral("comment");
    case DocTable::Payments: return QStringLiteral("payment %1 %2").arg(number).arg(columnName(table, column));
    }
    return QString();
}
