// What the window tells the operator so that no work is lost without a
// word: refused values, and how cells are named in such messages.

#include "mainwindow.h"

#include "documentformat.h"
#include "ui_mainwindow.h"
#include "wtablewidget.h"

#include <QStatusBar>

QString MainWindow::cellLabel(tarvo::DocTable table, int row, int column) const
{
    const QTableWidgetItem *header = documentTable(table)->horizontalHeaderItem(column);
    return tr("%1, row %2, %3")
        .arg(ui->tabMain->tabText(static_cast<int>(table)))
        .arg(row + 1)
        .arg(header ? header->text() : QString::number(column));
}

void MainWindow::tellRefusedValue(tarvo::DocTable table, int row, int column, const QString &text, int count)
{
    const tarvo::ColumnFormat *format = tarvo::columnFormat(table, column);
    const QString why = format && format->kind == tarvo::CellKind::Whole ? tr("it is not a whole number")
                                                                         : tr("it is not a decimal number");
    QString message = tr("Value \"%1\" refused in %2: %3; the cell is empty")
                          .arg(text, cellLabel(table, row, column), why);
    if (count > 1)
        message += QLatin1Char(' ') + tr("(and %n more refused values)", nullptr, count - 1);
    statusBar()->showMessage(message);
}
