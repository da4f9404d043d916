#include "usage.h"

#include "helptext.h"
#include "tarvoversion.h"

#include <QStringList>

QString versionText() { return QStringLiteral("tarvo-prg " TARVO_VERSION); }

QString usageText() { return QString::fromUtf8(kHelpText); }

QString commandUsageText(const QString &command)
{
    // In the "Commands:" part, a command's entry is a line "  NAME ..."
    // followed by its description, indented further.
    const QStringList lines = usageText().split(QLatin1Char('\n'));
    const QString entry = QStringLiteral("  ") + command;
    QString text;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line != entry && !line.startsWith(entry + QLatin1Char(' ')))
            continue;
        text = QStringLiteral("Usage: tarvo-prg ") + line.trimmed() + QLatin1Char('\n');
        for (++i; i < lines.size() && lines.at(i).startsWith(QLatin1String("      ")); ++i)
            text += lines.at(i).mid(2) + QLatin1Char('\n');
        return text + QStringLiteral("\nOptions, cell keys, encodings and exit status: tarvo-prg --help\n");
    }
    return text;
}
