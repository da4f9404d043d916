// The smallest Qt window programs to compare the editor's start-up with: a
// plain QMainWindow shown the same way, ending at its first paint; with
// --text, the same window with one line of text in its status bar, so that
// it pays for the font system as every window with text does.

#include "startupprobe.h"

#include <QApplication>
#include <QMainWindow>
#include <QStatusBar>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.resize(800, 600);
    if (application.arguments().contains(QStringLiteral("--text")))
        window.statusBar()->showMessage(QStringLiteral("Ready"));
    startupprobe::reportFirstPaint(&window);
    window.show();
    return application.exec();
}
