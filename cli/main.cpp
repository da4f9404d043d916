#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "usage.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    const CommandLine line = parseCommandLine(arguments);
    if (!line.error.isEmpty()) {
        console::error(line.error);
        std::fputs(usageText().toUtf8().constData(), stderr);
        return exitcode::Usage;
    }
    if (line.help || line.version) {
        console::writeOut((line.help ? usageText() : versionText() + QLatin1Char('\n')).toUtf8());
        return console::finishOut() ? exitcode::Success : exitcode::WriteFailed;
    }

    switch (line.command) {
    case Command::Dump: return runDump(line);
    case Command::Build: return runBuild(line);
    case Command::Check: return runCheck(line);
    case Command::Convert: return runConvert(line);
    case Command::None: break;
    }
    return exitcode::Usage;
}
