#include "pastednumber.h"

#include <QStringList>

#include <algorithm>

namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool isSpaceSeparator(QChar c)
{
    return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x202F);
}

// Takes one currency sign off the start or end of `text`.
QString withoutCurrency(const QString &text, const QLocale &locale)
{
    QStringList signs{locale.currencySymbol(QLocale::CurrencySymbol), QStringLiteral("лв."),
                      QStringLiteral("лв"), QStringLiteral("€"), QStringLiteral("$")};
    signs.removeAll(QString());
    // "лв." before "лв".
    std::stable_sort(signs.begin(), signs.end(),
                     [](const QString &a, const QString &b) { return a.size() > b.size(); });
    for (const QString &sign : std::as_const(signs)) {
        if (text.endsWith(sign))
            return text.chopped(sign.size()).trimmed();
        if (text.startsWith(sign))
            return text.mid(sign.size()).trimmed();
        // Between the whole part and the decimal separator, as a
        // spreadsheet shows "лв." in a format of its own: "2 лв,30".
        const qsizetype at = text.indexOf(sign);
        const qsizetype after = at + sign.size();
        if (at > 0 && after < text.size() && (text.at(after) == QLatin1Char(',') || text.at(after) == QLatin1Char('.'))
            && text.left(at).trimmed().size() > 0 && text.left(at).trimmed().back().isDigit())
            return text.left(at).trimmed() + text.mid(after);
    }
    return text;
}

// The group separator a grouped number uses; a null character where `text`
// holds none.
QChar groupSeparatorIn(const QString &text, const QLocale &locale)
{
    for (QChar c : text)
        if (isSpaceSeparator(c))
            return c;
    const QString group = locale.groupSeparator();
    if (group.size() == 1 && !isDigit(group.at(0)) && text.contains(group.at(0)))
        return group.at(0);
    return QChar();
}

} // namespace

QString plainPastedNumber(const QString &text, const QLocale &locale, bool decimal, bool *ok)
{
    *ok = true;
    QString number = text.trimmed();
    if (decimal)
        number = withoutCurrency(number, locale);
    const QChar group = groupSeparatorIn(number, locale);
    if (group.isNull())
        return number;

    // An optional sign, one to three digits, then groups of three, each
    // after the separator, then for a decimal number an optional decimal
    // separator and digits.
    qsizetype pos = 0;
    if (pos < number.size() && (number.at(pos) == QLatin1Char('-') || number.at(pos) == QLatin1Char('+')))
        ++pos;
    QString plain = number.left(pos);
    qsizetype lead = 0;
    while (pos < number.size() && isDigit(number.at(pos))) {
        plain += number.at(pos++);
        ++lead;
    }
    if (lead < 1 || lead > 3)
        return number;
    int groups = 0;
    while (pos < number.size() && number.at(pos) == group) {
        ++pos;
        for (int i = 0; i < 3; ++i, ++pos) {
            if (pos >= number.size() || !isDigit(number.at(pos)))
                return number;
            plain += number.at(pos);
        }
        if (pos < number.size() && isDigit(number.at(pos)))
            return number;
        ++groups;
    }
    if (groups == 0)
        return number;
    bool hasFraction = false;
    if (pos < number.size() && decimal) {
        const QChar separator = number.at(pos);
        const bool usable = (separator == QLatin1Char('.') || separator == QLatin1Char(','))
            && separator != group;
        if (!usable)
            return number;
        plain += QLatin1Char('.');
        ++pos;
        while (pos < number.size() && isDigit(number.at(pos)))
            plain += number.at(pos++);
        hasFraction = true;
    }
    if (pos != number.size())
        return number;
    // "1,234" or "1.234": one group after a point or comma, with no decimal
    // part, reads as a decimal number too.
    if (decimal && !hasFraction && groups == 1 && !isSpaceSeparator(group)) {
        *ok = false;
        return number;
    }
    return plain;
}
