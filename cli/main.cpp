#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "messages.h"
#include "usage.h"

#include <savejournal.h>
#include <systemcodepage.h>
#include <terminal.h>

#include <QCoreApplication>
#include <QFile>

namespace {

// An argument as its bytes: printable ASCII as it stands, the rest as \xHH.
QString shownBytes(const QByteArray &bytes)
{
    QString shown;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && c != '\\')
            shown += QLatin1Char(c);
        else
            shown += QStringLiteral("\\x") + QString::number(byte, 16).rightJustified(2, QLatin1Char('0')).toUpper();
    }
    return shown;
}

// Arguments must survive the way to text and back unchanged: a file name
// that is no valid text in the locale's encoding would otherwise be
// changed silently into another name.
bool argumentsAreText(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray raw(argv[i]);
        if (QFile::encodeName(QFile::decodeName(raw)) != raw) {
            console::error(Messages::tr("cannot use \"%1\": it is not valid text in the locale's character "
                                          "encoding, and a name changed on its way in would be another file")
                               .arg(shownBytes(raw)));
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // The standard streams held and the locale taken, with its character
    // set, before the application object takes its own view of them.
    terminal::holdStandardStreams();
    // "System" is the code page of the language the user asked for, even
    // where the system has no locale of it and the toolkit is handed another.
    tarvo::keepUserLanguage();
    terminal::takeLocale();
    QCoreApplication application(argc, argv);
    messages::setUpLanguage();
    // What the reading of a file finds of an interrupted save is said where
    // every other message goes.
    tarvo::setInterruptedSaveReporter([](const QString &message) { console::error(message); });
    if (!argumentsAreText(argc, argv))
        return exitcode::Usage;
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    const CommandLine line = parseCommandLine(arguments);
    if (!line.error.isEmpty()) {
        console::error(line.error);
        console::note(Messages::tr("Try 'tarvo-prg --help'."));
        return exitcode::Usage;
    }
    if (line.help || line.version) {
        const QString text = !line.helpCommand.isEmpty() ? commandUsageText(line.helpCommand)
                             : line.help                 ? usageText()
                                                         : versionText() + QLatin1Char('\n');
        console::writeOut(terminal::encode(text));
        return console::finishOut() ? exitcode::Success : exitcode::WriteFailed;
    }

    switch (line.command) {
    case Command::Dump: return runDump(line);
    case Command::Build: return runBuild(line);
    case Command::Check: return runCheck(line);
    case Command::Convert: return runConvert(line);
    case Command::Diff: return runDiff(line);
    case Command::Set: return runSet(line);
    case Command::None: break;
    }
    return exitcode::Usage;
}
