#include "systemcodepage.h"

#include <QTextCodec>

namespace tarvo {

QByteArray windowsCodePageOf(QLocale::Language language)
{
    switch (language) {
    case QLocale::C:
    case QLocale::Bulgarian:
    case QLocale::Russian:
    case QLocale::Ukrainian:
    case QLocale::Serbian:
    case QLocale::Macedonian:
    case QLocale::Belarusian:
        return QByteArrayLiteral("CP1251");
    case QLocale::Czech:
    case QLocale::Polish:
    case QLocale::Slovak:
    case QLocale::Slovenian:
    case QLocale::Croatian:
    case QLocale::Hungarian:
    case QLocale::Romanian:
        return QByteArrayLiteral("CP1250");
    case QLocale::Greek: return QByteArrayLiteral("CP1253");
    case QLocale::Turkish: return QByteArrayLiteral("CP1254");
    case QLocale::Hebrew: return QByteArrayLiteral("CP1255");
    case QLocale::Arabic: return QByteArrayLiteral("CP1256");
    case QLocale::Estonian:
    case QLocale::Latvian:
    case QLocale::Lithuanian:
        return QByteArrayLiteral("CP1257");
    case QLocale::Vietnamese: return QByteArrayLiteral("CP1258");
    default: return QByteArrayLiteral("CP1252");
    }
}

bool isMultiByte(const QTextCodec *codec)
{
    switch (codec->mibEnum()) {
    case 106:                                     // UTF-8
    case 1013: case 1014: case 1015:              // UTF-16
    case 1017: case 1018: case 1019:              // UTF-32
    case 17: case 18: case 39:                    // Shift_JIS, EUC-JP, ISO-2022-JP
    case 38: case 36:                             // EUC-KR, KS_C_5601
    case 113: case 114: case 2025:                // GBK, GB18030, GB2312
    case 2026: case 2101:                         // Big5, Big5-HKSCS
        return true;
    default:
        return false;
    }
}

namespace {

QLocale::Language g_keptLanguage = QLocale::AnyLanguage; // none kept

QLocale::Language languageOfEnvironment()
{
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(variable);
        if (value.isEmpty())
            continue;
        // "bg_BG.UTF-8@euro" names the language by its first part.
        QByteArray name = value;
        for (const char end : {'.', '@'})
            if (const qsizetype at = name.indexOf(end); at >= 0)
                name.truncate(at);
        if (name == "C" || name == "POSIX")
            return QLocale::C;
        return QLocale(QString::fromLatin1(name)).language();
    }
    return QLocale::C;
}

} // namespace

void keepUserLanguage()
{
    g_keptLanguage = languageOfEnvironment();
}

QLocale::Language userLanguage()
{
    return g_keptLanguage != QLocale::AnyLanguage ? g_keptLanguage : languageOfEnvironment();
}

QTextCodec *systemCodec()
{
    static QTextCodec *const codec = [] {
        QTextCodec *own = QTextCodec::codecForLocale();
        if (!isMultiByte(own))
            return own;
        QTextCodec *windows = QTextCodec::codecForName(windowsCodePageOf(userLanguage()));
        return windows ? windows : own;
    }();
    return codec;
}

} // namespace tarvo
