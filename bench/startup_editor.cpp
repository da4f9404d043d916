// The editor's start-up as main() does it, ending as soon as the main window
// has been painted for the first time: prints the wall-clock time of that
// moment in nanoseconds (CLOCK_REALTIME) so that the caller can subtract the
// time at which it started the process.

#include "appidentity.h"
#include "mainwindow.h"
#include "startupprobe.h"
#include "userdialogs.h"

#include <QApplication>

namespace {

// Nobody is there to answer; no question may wait for an answer.
class NoDialogs : public UserDialogs
{
public:
    bool askYesNo(QWidget *, QMessageBox::Icon, const QString &, const QString &) override { return true; }
    void showMessage(QWidget *, QMessageBox::Icon, const QString &, const QString &, const QString &) override {}
};

} // namespace

int main(int argc, char *argv[])
{
    identity::registerResources();
    QApplication application(argc, argv);
    identity::setUpApplication();
    NoDialogs dialogs;
    MainWindow window(nullptr, &dialogs);
    startupprobe::reportFirstPaint(&window);
    window.show();
    return application.exec();
}
