// Renders a main window with a menu bar, an open menu, a tool bar, tabs, a
// dock widget, a tool box and a status bar under the modern style into one
// PNG, once in the classic colours and once in the Blue theme, to look at.
// Usage: tarvo_style_demo [output.png]

#include "tarvoversion.h"
#include "fakethemelibrary.h"
#include "windowsmodernstyle.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolBox>
#include <QToolButton>

namespace {

QIcon swatch(const QColor &colour)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(colour.darker(150));
    painter.drawRoundedRect(QRectF(3, 3, 26, 26), 5, 5);
    return QIcon(pixmap);
}

struct Scene
{
    QMainWindow window;
    QMenu *fileMenu = nullptr;
};

void build(Scene &scene)
{
    QMainWindow &w = scene.window;
    w.setWindowTitle(QStringLiteral("TARVO VODI v " TARVO_VERSION));

    QAction *newAction = new QAction(swatch(QColor(0x3C, 0x8D, 0x2F)), QStringLiteral("&New"), &w);
    newAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    QAction *openAction = new QAction(swatch(QColor(0xE0, 0xA0, 0x20)), QStringLiteral("&Open..."), &w);
    openAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    QAction *saveAction = new QAction(swatch(QColor(0x20, 0x60, 0xC0)), QStringLiteral("&Save"), &w);
    saveAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    QAction *saveAsAction = new QAction(QStringLiteral("Save &As..."), &w);
    QAction *wrapAction = new QAction(QStringLiteral("&Wrap lines"), &w);
    wrapAction->setCheckable(true);
    wrapAction->setChecked(true);
    QAction *disabledAction = new QAction(QStringLiteral("&Print"), &w);
    disabledAction->setEnabled(false);
    QAction *exitAction = new QAction(swatch(QColor(0xC0, 0x30, 0x30)), QStringLiteral("E&xit"), &w);
    QAction *settingsAction = new QAction(swatch(QColor(0x70, 0x70, 0x70)), QStringLiteral("&Settings"), &w);
    settingsAction->setCheckable(true);
    settingsAction->setChecked(true);

    scene.fileMenu = w.menuBar()->addMenu(QStringLiteral("&File"));
    scene.fileMenu->addAction(newAction);
    scene.fileMenu->addAction(openAction);
    scene.fileMenu->addAction(saveAction);
    scene.fileMenu->addAction(saveAsAction);
    scene.fileMenu->addSeparator();
    scene.fileMenu->addAction(wrapAction);
    scene.fileMenu->addAction(disabledAction);
    QMenu *recent = scene.fileMenu->addMenu(QStringLiteral("&Recent files"));
    recent->addAction(QStringLiteral("a.prg"));
    scene.fileMenu->addSeparator();
    scene.fileMenu->addAction(exitAction);
    w.menuBar()->addMenu(QStringLiteral("&Options"))->addAction(settingsAction);
    w.menuBar()->addMenu(QStringLiteral("&Help"))->addAction(QStringLiteral("&About"));

    QToolBar *bar = w.addToolBar(QStringLiteral("File"));
    bar->addAction(newAction);
    bar->addAction(openAction);
    bar->addAction(saveAction);
    bar->addSeparator();
    bar->addAction(settingsAction);
    bar->addAction(exitAction);

    auto *tabs = new QTabWidget;
    auto *table = new QTableWidget(6, 3);
    table->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Value"), QStringLiteral("Note")});
    for (int row = 0; row < 6; ++row)
        table->setItem(row, 0, new QTableWidgetItem(QStringLiteral("Parameter %1").arg(row + 1)));
    tabs->addTab(table, QStringLiteral("System parameters"));
    tabs->addTab(new QWidget, QStringLiteral("Departments"));
    tabs->addTab(new QWidget, QStringLiteral("Header lines"));
    tabs->addTab(new QWidget, QStringLiteral("Comment"));
    tabs->addTab(new QWidget, QStringLiteral("Payments"));
    w.setCentralWidget(tabs);

    auto *dock = new QDockWidget(QStringLiteral("A dock widget with a long title"), &w);
    auto *box = new QToolBox;
    box->addItem(new QLabel(QStringLiteral("First page")), QStringLiteral("First"));
    box->addItem(new QListWidget, QStringLiteral("Second"));
    dock->setWidget(box);
    w.addDockWidget(Qt::RightDockWidgetArea, dock);

    w.statusBar()->showMessage(QStringLiteral("Document opened C:/data/a.prg"));
    w.resize(740, 400);
}

QImage render(bool blue)
{
    if (blue)
        fakethemelibrary::useLunaBlue();
    else
        ThemeLibrary::setResolverForTesting(nullptr);
    QApplication::setStyle(new WindowsModernStyle);

    Scene scene;
    build(scene);
    scene.window.show();
    QCoreApplication::processEvents();

    const QImage window = scene.window.grab().toImage();
    scene.fileMenu->popup(scene.window.mapToGlobal(QPoint(0, 0)));
    QCoreApplication::processEvents();
    QList<QAction *> actions = scene.fileMenu->actions();
    scene.fileMenu->setActiveAction(actions.at(1));
    QCoreApplication::processEvents();
    const QImage menu = scene.fileMenu->grab().toImage();
    scene.fileMenu->hide();

    QImage result(window.width() + menu.width() + 20, qMax(window.height(), menu.height()),
                  QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::white);
    QPainter painter(&result);
    painter.drawImage(0, 0, window);
    painter.drawImage(window.width() + 10, 0, menu);
    return result;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("shot-style.png");

    const QImage classic = render(false);
    const QImage blue = render(true);
    QImage sheet(qMax(classic.width(), blue.width()), classic.height() + blue.height() + 10,
                 QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.drawImage(0, 0, classic);
    painter.drawImage(0, classic.height() + 10, blue);
    painter.end();
    return sheet.save(output) ? 0 : 1;
}
