#include "appidentity.h"
#include "mainwindow.h"

#include <QApplication>

#ifdef TARVO_HAVE_MODERN_STYLE
#include <QtPlugin>
Q_IMPORT_PLUGIN(WindowsModernStylePlugin)
#endif

int main(int argc, char *argv[])
{
    identity::registerResources();
    QApplication application(argc, argv);
    identity::setUpApplication();
    int result = 0;
    {
        MainWindow window;
        window.show();
        result = application.exec();
    }
    return result;
}
