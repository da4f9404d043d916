#pragma once

// Documents the tests share, built in one place.

#include "documentcells.h"
#include "documentformat.h"

#include <QString>

namespace testsupport {

// The README's example: two parameters, one department, a header line and a
// payment, the smallest document that has a record of every kind but C.
inline tarvo::DocumentData sampleDocument()
{
    using namespace tarvo;
    DocumentData document;
    document.setCellText(DocTable::Params, 0, col::ParamValue, QStringLiteral("5"));
    document.setCellText(DocTable::Params, 2, col::ParamValue, QStringLiteral("1"));
    document.setCellText(DocTable::Depts, 0, col::DeptName, QStringLiteral("Water"));
    document.setCellText(DocTable::Depts, 0, col::DeptTax, QStringLiteral("A"));
    document.setCellText(DocTable::Depts, 0, col::DeptPrice, QStringLiteral("1.20"));
    document.setCellText(DocTable::Depts, 0, col::DeptDigits, QStringLiteral("2"));
    document.setCellText(DocTable::Lines, 0, col::LineText, QStringLiteral("SHOP"));
    document.setCellText(DocTable::Payments, 0, col::PaymentName, QStringLiteral("Cash"));
    document.setCellText(DocTable::Payments, 0, col::PaymentValue, QStringLiteral("1.00"));
    document.setCellText(DocTable::Payments, 0, col::PaymentIndex, QStringLiteral("0"));
    return document;
}

// A document with every cell the file carries set to the same text.
inline tarvo::DocumentData everyCellHolding(const QString &text)
{
    using namespace tarvo;
    DocumentData document;
    for (int t = 0; t < kTableCount; ++t) {
        const TableFormat &format = tableFormat(tableAt(t));
        for (int row = 0; row < format.rows; ++row)
            for (int i = 0; i < format.cellCount; ++i)
                document.setCellText(format.table, row, format.cells[i].column, text);
    }
    return document;
}

} // namespace testsupport
