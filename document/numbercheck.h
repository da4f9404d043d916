#pragma once

#include <QString>
#include <QStringView>

namespace tarvo {

// The checks of the numeric cell editors, shared with the command-line
// checker so that both refuse the same values. Equal bounds mean no bounds.
//
// Whole numbers: an optional sign and decimal digits (leading zeros
// allowed), within the signed 32-bit range, and within [minimum, maximum]
// when the bounds differ.
bool isAcceptableInteger(QStringView text, int minimum = 0, int maximum = 0);

// Decimal numbers: an optional sign, digits with at most one decimal point
// (at least one digit in all), an optional exponent (e or E, optional sign,
// digits); the value must be finite. With different bounds the value must
// lie within them. `decimals` limits the digits after the decimal point
// (-1: any number of them).
bool isAcceptableDecimal(QStringView text, double minimum = 0, double maximum = 0,
                         int decimals = -1);

// A decimal comma, as typed or pasted where the comma is the decimal
// separator, as the decimal point the file carries: "1,50" becomes "1.50".
// Only a text with one comma and no point changes; "1,234.50" stays as it is.
QString withDecimalPoint(const QString &text);

} // namespace tarvo
