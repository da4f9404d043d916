#include "console.h"
#include "messages.h"

#include <terminal.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace console {

namespace {
bool g_outFailed = false;
int g_outErrno = 0;

void put(const QByteArray &bytes)
{
    if (g_outFailed || bytes.isEmpty())
        return;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size())) {
        g_outFailed = true;
        g_outErrno = errno;
    }
}

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f || c.category() == QChar::Other_Control;
}

} // namespace

// One line of text as the terminal takes it.
QByteArray lineBytes(const QString &line)
{
    QString text = line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isControl(text.at(i)) && text.at(i) != QLatin1Char('\t')) {
            const QString escaped = QStringLiteral("\\x%1").arg(text.at(i).unicode(), 2, 16, QLatin1Char('0'));
            text.replace(i, 1, escaped);
            i += escaped.size() - 1;
        }
    }
    return terminal::encode(text) + '\n';
}

void writeOut(const QByteArray &bytes) { put(bytes); }

void writeOutLine(const QString &line) { put(lineBytes(line)); }

void note(const QString &line)
{
    const QByteArray bytes = lineBytes(line);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

void error(const QString &message) { note(QStringLiteral("tarvo-prg: ") + message); }

QString fileName(const QString &name)
{
    for (const QChar c : name) {
        if (isControl(c))
            return quoted(name, int(qMin<qsizetype>(name.size(), 1 << 20)));
    }
    return name;
}

bool finishOut()
{
    if (!g_outFailed && std::fflush(stdout) != 0) {
        g_outFailed = true;
        g_outErrno = errno;
    }
    if (g_outFailed) {
        error(Messages::tr("cannot write standard output: %1").arg(QString::fromLocal8Bit(std::strerror(g_outErrno))));
    }
    return !g_outFailed;
}

QString quoted(const QString &text, int maximum)
{
    QString out = QStringLiteral("\"");
    int shown = int(qMin<qsizetype>(text.size(), maximum));
    if (shown > 0 && shown < text.size() && text.at(shown - 1).isHighSurrogate())
        --shown; // never cut a character in two
    for (int i = 0; i < shown; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (isControl(c))
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else if (c.category() == QChar::Other_Format || c.category() == QChar::Separator_Line
                 || c.category() == QChar::Separator_Paragraph)
            // Shown as what it is: it would show nothing (U+200B) or turn
            // the text around it (U+202E).
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    if (shown < text.size())
        out += QStringLiteral("...");
    return out + QLatin1Char('"');
}

} // namespace console
