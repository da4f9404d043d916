#include "appidentity.h"
#include "commandline.h"
#include "mainwindow.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
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
