// The smallest Qt window programs to compare the editor's start-up with: a
// plain QMainWindow shown the same way, ending at its first paint; with
// --text, the same window with one line of text in its status bar, so that
// it pays for the font system as every window with text does; with
// --table, a window holding a table of 50 rows and 5 columns with its
// numbers and a line of text, as the editor's largest table.

#include "startupprobe.h"

#include <QApplication>
#include <QMainWindow>
#include <QStatusBar>
#include <QTableWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.resize(800, 600);
    const QStringList arguments = application.arguments();
    if (arguments.contains(QStringLiteral("--text")) || arguments.contains(QStringLiteral("--table")))
        window.statusBar()->showMessage(QStringLiteral("Ready"));
    if (arguments.contains(QStringLiteral("--table"))) {
        auto *table = new QTableWidget(50, 5, &window);
        table->setHorizontalHeaderLabels({QStringLiteral("Num"), QStringLiteral("Name"), QStringLiteral("Price"),
                                          QStringLiteral("Tax"), QStringLiteral("Digits")});
        for (int row = 0; row < table->rowCount(); ++row) {
            table->setItem(row, 0, new QTableWidgetItem(QString::number(row + 1)));
            for (int column = 1; column < table->columnCount(); ++column)
                table->setItem(row, column, new QTableWidgetItem);
        }
        window.setCentralWidget(table);
    }
    startupprobe::reportFirstPaint(&window);
    window.show();
    return application.exec();
}
