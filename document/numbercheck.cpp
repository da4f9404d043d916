#include "numbercheck.h"

#include <QString>

#include <cmath>
#include <limits>

namespace tarvo {

namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Skips a run of ASCII digits from `pos`; returns how many there were.
int skipDigits(QStringView text, qsizetype &pos)
{
    const qsizetype start = pos;
    while (pos < text.size() && isDigit(text.at(pos)))
        ++pos;
    return int(pos - start);
}

void skipSign(QStringView text, qsizetype &pos)
{
    if (pos < text.size() && (text.at(pos) == QLatin1Char('+') || text.at(pos) == QLatin1Char('-')))
        ++pos;
}

} // namespace

bool isAcceptableInteger(QStringView text, int minimum, int maximum)
{
    qsizetype pos = 0;
    skipSign(text, pos);
    const qsizetype firstDigit = pos;
    if (skipDigits(text, pos) == 0 || pos != text.size())
        return false;
    // Accumulate by hand so that any run of leading zeros is fine and an
    // overlong number stops early instead of overflowing.
    qint64 value = 0;
    for (qsizetype i = firstDigit; i < text.size(); ++i) {
        value = value * 10 + (text.at(i).unicode() - '0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    if (text.at(0) == QLatin1Char('-'))
        value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return false;
    if (minimum != maximum && (value < minimum || value > maximum))
        return false;
    return true;
}

bool isAcceptableDecimal(QStringView text, double minimum, double maximum, int decimals)
{
    qsizetype pos = 0;
    skipSign(text, pos);
    int mantissaDigits = skipDigits(text, pos);
    int fractionDigits = 0;
    if (pos < text.size() && text.at(pos) == QLatin1Char('.')) {
        ++pos;
        fractionDigits = skipDigits(text, pos);
        mantissaDigits += fractionDigits;
    }
    if (mantissaDigits == 0)
        return false;
    bool hasExponent = false;
    if (pos < text.size() && (text.at(pos) == QLatin1Char('e') || text.at(pos) == QLatin1Char('E'))) {
        ++pos;
        skipSign(text, pos);
        if (skipDigits(text, pos) == 0)
            return false;
        hasExponent = true;
    }
    if (pos != text.size())
        return false;
    if (decimals >= 0 && fractionDigits > decimals)
        return false;
    // Without an exponent, up to 300 digits are always a finite double: the
    // conversion is only needed for bounds and for what could overflow.
    const bool bounded = minimum != maximum;
    if (!bounded && !hasExponent && mantissaDigits <= 300)
        return true;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return false;
    if (bounded && (value < minimum || value > maximum))
        return false;
    return true;
}

QString withDecimalPoint(const QString &text)
{
    if (text.count(QLatin1Char(',')) != 1 || text.contains(QLatin1Char('.')))
        return text;
    QString out = text;
    out.replace(QLatin1Char(','), QLatin1Char('.'));
    return out;
}

} // namespace tarvo
