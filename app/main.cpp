#include "appidentity.h"
#include "commandline.h"
#include "mainwindow.h"

#include <systemcodepage.h>
#include <terminal.h>

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    // The standard streams held and the locale taken, with its character
    // set, before any application object takes its own view of them.
    terminal::holdStandardStreams();
    // "System" is the code page of the language the user asked for, even
    // where the system has no locale of it and the toolkit is handed another.
    tarvo::keepUserLanguage();
    terminal::takeLocale();
    // --help and --version answer before any window, and without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const commandline::Request request = commandline::parse(arguments);
    if (request.exitNow)
        return request.exitCode;

    identity::registerResources();
    QApplication application(argc, argv);
    identity::setUpApplication();
    int result = 0;
    {
        MainWindow window;
        window.show();
        // Opened once the window is up, so that its questions have a parent
        // on the screen.
        if (!request.file.isEmpty())
            QTimer::singleShot(0, &window, [&window, &request] { window.openOrCreate(request.file); });
        result = application.exec();
    }
    return result;
}
