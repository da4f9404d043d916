// The smallest Qt window program to compare the editor's start-up with: a
// plain QMainWindow shown the same way, ending at its first paint.

#include "startupprobe.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.resize(800, 600);
    startupprobe::reportFirstPaint(&window);
    window.show();
    return application.exec();
}
