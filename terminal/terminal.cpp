#include "terminal.h"

#include <QTextCodec>

#include <cerrno>
#include <clocale>
#include <fcntl.h>
#include <langinfo.h>
#include <unistd.h>

namespace terminal {

namespace {

bool g_taken = false;
QTextCodec *g_codec = nullptr;

bool isUtf8(const QByteArray &set)
{
    const QByteArray upper = set.toUpper();
    return upper == "UTF-8" || upper == "UTF8";
}

// The codec of the character set `set` (nl_langinfo's name), null where
// lines are written as UTF-8.
QTextCodec *codecOf(const QByteArray &set)
{
    const QByteArray upper = set.toUpper();
    if (upper.isEmpty() || isUtf8(upper) || upper == "ANSI_X3.4-1968" || upper == "ASCII")
        return nullptr;
    QTextCodec *found = QTextCodec::codecForName(upper);
    return found && found->mibEnum() != 106 ? found : nullptr;
}

struct Category
{
    int category;
    const char *variable;
};

// The categories of the C library's locale, each with the variable that
// names it in the environment.
const Category kCategories[] = {
    {LC_CTYPE, "LC_CTYPE"},
    {LC_NUMERIC, "LC_NUMERIC"},
    {LC_TIME, "LC_TIME"},
    {LC_COLLATE, "LC_COLLATE"},
    {LC_MONETARY, "LC_MONETARY"},
    {LC_MESSAGES, "LC_MESSAGES"},
#ifdef LC_PAPER
    {LC_PAPER, "LC_PAPER"},
    {LC_NAME, "LC_NAME"},
    {LC_ADDRESS, "LC_ADDRESS"},
    {LC_TELEPHONE, "LC_TELEPHONE"},
    {LC_MEASUREMENT, "LC_MEASUREMENT"},
    {LC_IDENTIFICATION, "LC_IDENTIFICATION"},
#endif
};

// The locale's name without its character set and modifier
// ("bg_BG.CP1251" -> "bg_BG").
QByteArray withoutCharacterSet(QByteArray name)
{
    for (const char end : {'.', '@'}) {
        const qsizetype at = name.indexOf(end);
        if (at >= 0)
            name.truncate(at);
    }
    return name;
}

} // namespace

void holdStandardStreams()
{
    for (int stream = 0; stream <= 2; ++stream) {
        if (fcntl(stream, F_GETFD) != -1 || errno != EBADF)
            continue;
        const int held = open("/dev/null", stream == 0 ? O_WRONLY : O_RDONLY);
        if (held > stream) {
            dup2(held, stream);
            close(held);
        }
    }
}

void takeLocale()
{
    std::setlocale(LC_ALL, "");
    const QByteArray set(nl_langinfo(CODESET));
    g_codec = codecOf(set);
    g_taken = true;
    if (isUtf8(set))
        return;
    // The same locale with a UTF-8 character type, or else the C locale's.
    const QByteArray language = withoutCharacterSet(std::setlocale(LC_CTYPE, nullptr));
    const char *utf8 = std::setlocale(LC_CTYPE, QByteArray(language + ".UTF-8").constData());
    if (!utf8)
        utf8 = std::setlocale(LC_CTYPE, "C.UTF-8");
    if (!utf8)
        return; // no UTF-8 locale here at all: the toolkit says so itself
    // The environment names each category as it is now in effect, so that
    // the toolkit's setlocale(LC_ALL, "") finds the very same locale; LC_ALL
    // would override them all.
    for (const Category &entry : kCategories)
        qputenv(entry.variable, QByteArray(std::setlocale(entry.category, nullptr)));
    qunsetenv("LC_ALL");
}

QTextCodec *codec()
{
    return g_taken ? g_codec : codecOf(QByteArray(nl_langinfo(CODESET)));
}

QByteArray encode(const QString &text)
{
    QTextCodec *const target = codec();
    return target ? target->fromUnicode(text) : text.toUtf8();
}

bool write(std::FILE *stream, const QByteArray &bytes)
{
    const size_t size = size_t(bytes.size());
    const bool written = std::fwrite(bytes.constData(), 1, size, stream) == size;
    return std::fflush(stream) == 0 && written;
}

} // namespace terminal
