#include "unencodablereport.h"

#include "cellnames.h"
#include "console.h"
#include "messages.h"

#include <QStringList>

namespace {

// Characters that show nothing, or nothing alone: format characters
// (U+200B, U+FEFF, ...), combining marks, spaces other than the space,
// variation selectors, fillers, and code points that are no characters.
bool isInvisible(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    case QChar::Separator_Space:
        return c != U' ';
    default:
        return c == 0x115F || c == 0x1160 || c == 0x3164 || c == 0xFFA0;
    }
}

// The characters as a message shows them: those that can be seen in
// double quotes, each invisible one as its code point ("€", U+200B).
QString shownCharacters(const QString &characters)
{
    QString visible;
    QStringList shown;
    for (qsizetype i = 0; i < characters.size();) {
        char32_t c = characters.at(i).unicode();
        qsizetype length = 1;
        if (characters.at(i).isHighSurrogate() && i + 1 < characters.size() && characters.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(characters.at(i), characters.at(i + 1));
            length = 2;
        }
        if (isInvisible(c))
            shown << QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
        else
            visible += characters.mid(i, length);
        i += length;
    }
    if (!visible.isEmpty())
        shown.prepend(console::quoted(visible));
    return shown.join(QStringLiteral(", "));
}

} // namespace

QString unencodableMessage(const QString &where, const tarvo::UnencodableCell &cell,
                           const QString &encoding)
{
    return Messages::tr("%1: %2: %3 cannot be written in %4; written as the replacement character")
        .arg(where, cellName(cell.table, cell.row, cell.column), shownCharacters(cell.characters), encoding);
}
