#pragma once

#include <QLocale>
#include <QString>

// A number as a spreadsheet shows it, in the plain form the program file
// carries: "1 234,50 лв." becomes "1234.50".
//
// Spaces around it go. For a decimal number, a currency sign before or
// after it goes (the locale's own, "лв.", "€" or "$"). Thousands separators
// go where they group the whole part by threes: a space, a no-break space,
// a narrow no-break space, or the locale's group separator; the other of
// point and comma is then the decimal separator. A text that is read as a
// whole number with the locale's group separator as well as a decimal
// number ("1,234" where the comma groups thousands) is ambiguous: `ok` is
// then false. Any other text comes back as it stands (but for the spaces
// and the currency sign), for the column's own check to judge.
QString plainPastedNumber(const QString &text, const QLocale &locale, bool decimal, bool *ok);
