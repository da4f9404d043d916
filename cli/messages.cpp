#include "messages.h"

#include <QDir>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

#include <cerrno>
#include <clocale>
#include <cstring>
#include <locale.h>
#include <libintl.h>

namespace messages {

namespace {
bool g_translated = false;

// The reasons the file-format library gives in words of its own.
[[maybe_unused]] const char *const kLibraryReasons[] = {
    QT_TRANSLATE_NOOP("TarvoPrg", "Is a directory"),
    QT_TRANSLATE_NOOP("TarvoPrg", "Not a regular file"),
    QT_TRANSLATE_NOOP("TarvoPrg", "The file is read-only"),
    QT_TRANSLATE_NOOP("TarvoPrg", "The file changed while it was being saved"),
    QT_TRANSLATE_NOOP("TarvoPrg", "The file is too large to be rewritten in place"),
    QT_TRANSLATE_NOOP("TarvoPrg", "; the previous contents could not be put back"),
    QT_TRANSLATE_NOOP("TarvoPrg", "nothing reads from this FIFO"),
};
} // namespace

void setUpLanguage()
{
    static QTranslator translator;
    const QString programDir = QCoreApplication::applicationDirPath();
    const QStringList dirs = {programDir + QStringLiteral("/../share/tarvo"), programDir + QStringLiteral("/data")};
    for (const QString &dir : dirs) {
        if (translator.load(QLocale(), QStringLiteral("tarvo-prg"), QStringLiteral("_"), QDir::cleanPath(dir))) {
            g_translated = QCoreApplication::installTranslator(&translator);
            break;
        }
    }
    if (g_translated) {
        // The system's reasons in the same language, as text Qt decodes
        // whatever the locale's character set.
        bind_textdomain_codeset("libc", "UTF-8");
        // Where the C library cannot speak it (the locale is not made, or
        // has no messages), its reasons stay English: then so do ours.
        const locale_t english = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        const bool systemSpeaksIt = english && std::strcmp(std::strerror(ENOENT), strerror_l(ENOENT, english)) != 0;
        if (english)
            freelocale(english);
        if (!systemSpeaksIt) {
            QCoreApplication::removeTranslator(&translator);
            g_translated = false;
        }
    }
    if (!g_translated)
        std::setlocale(LC_MESSAGES, "C");
}

bool translated() { return g_translated; }

QString reason(const QString &english)
{
    QString text = english;
    for (const char *known : kLibraryReasons) {
        const QString source = QString::fromLatin1(known);
        if (text.contains(source))
            text.replace(source, QCoreApplication::translate("TarvoPrg", known));
    }
    return text;
}

} // namespace messages
