#include "console.h"

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
} // namespace

void writeOut(const QByteArray &bytes) { put(bytes); }

void writeOutLine(const QString &line) { put(line.toUtf8() + '\n'); }

void note(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

void error(const QString &message) { note(QStringLiteral("tarvo-prg: ") + message); }

bool finishOut()
{
    if (!g_outFailed && std::fflush(stdout) != 0) {
        g_outFailed = true;
        g_outErrno = errno;
    }
    if (g_outFailed) {
        error(QStringLiteral("cannot write standard output: %1")
                  .arg(QString::fromLocal8Bit(std::strerror(g_outErrno))));
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
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f || c.category() == QChar::Other_Control)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    if (shown < text.size())
        out += QStringLiteral("...");
    return out + QLatin1Char('"');
}

} // namespace console
