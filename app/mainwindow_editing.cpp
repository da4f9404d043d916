// Editing the document through the window: the tables hand the user's
// edits to the document and show its changes; the Edit menu with Undo and
// Redo and the current table's Cut, Copy, Paste, Delete and Select All.

#include "mainwindow.h"

#include "appidentity.h"
#include "document.h"
#include "documentfind.h"
#include "ui_mainwindow.h"
#include "userdialogs.h"

#include <QLocale>
#include <QStatusBar>
#include <QUndoStack>

namespace {

// How many refused cells a paste's message names; the details name them all.
constexpr int kRefusedInMessage = 10;

// A value as a message shows it: a TAB, a line break or another control
// character as a visible sign.
QString visible(const QString &text)
{
    QString shown;
    for (QChar c : text) {
        if (c == QLatin1Char('\t'))
            shown += QChar(0x21E5); // ⇥
        else if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            shown += QChar(0x21B5); // ↵
        else if (c.unicode() < 0x20)
            shown += QChar(0x2400 + c.unicode()); // the control picture
        else
            shown += c;
    }
    return shown;
}

} // namespace

void MainWindow::setUpEditing()
{
    const QString controlCharacterReason =
        tr("it holds a TAB, a line break or another control character, which a program file cannot carry");
    // A block that does not fit is pasted only when the operator says so;
    // pasting nothing is the default, and Escape.
    auto askToPasteWhatFits = [this](tarvo::DocTable table, int row, int column, int rowsOver, int columnsOver) {
        QStringList over;
        if (rowsOver > 0)
            over << (rowsOver == 1 ? tr("one row") : tr("%n rows", nullptr, rowsOver));
        if (columnsOver > 0)
            over << (columnsOver == 1 ? tr("one column") : tr("%n columns", nullptr, columnsOver));
        UserDialogs::Choice choice;
        choice.icon = QMessageBox::Warning;
        choice.title = identity::programTitle();
        choice.text = tr("The block does not fit from %1: %2 of it fall past the end of the table.")
                          .arg(cellLabel(table, row, column),
                               over.size() == 2 ? tr("%1 and %2").arg(over.at(0), over.at(1)) : over.value(0))
            + QStringLiteral("\n\n") + tr("Paste only what fits, or nothing?");
        choice.buttons = QStringList{tr("Paste What Fits"), tr("Paste Nothing")};
        choice.defaultButton = 1;
        choice.escapeButton = 1;
        return dialogs->askChoice(this, choice) == 0;
    };
    // One message a paste: how many cells went in, and each that did not,
    // by its place and why.
    auto tellPaste = [this, controlCharacterReason](tarvo::DocTable table, int pasted,
                                                    const QList<RefusedCell> &refused, int row, int column) {
        const QString where = cellLabel(table, row, column);
        QString said = pasted == 0 ? tr("Nothing pasted at %1.").arg(where)
            : pasted == 1          ? tr("One cell pasted at %1.").arg(where)
                                   : tr("%n cells pasted at %1.", nullptr, pasted).arg(where);
        if (refused.isEmpty()) {
            statusBar()->showMessage(said);
            return;
        }
        const int count = int(refused.size());
        said += QLatin1Char(' ')
            + (count == 1 ? tr("One value was not pasted as it stands.")
                          : tr("%n values were not pasted as they stand.", nullptr, count));
        QStringList lines;
        for (const RefusedCell &cell : refused) {
            QString why;
            switch (cell.why) {
            case CellRefusal::NotWholeNumber:
                why = tr("it is not a whole number") + QStringLiteral("; ") + tr("the cell is empty");
                break;
            case CellRefusal::NotDecimalNumber:
                why = tr("it is not a decimal number") + QStringLiteral("; ") + tr("the cell is empty");
                break;
            case CellRefusal::ControlCharacter:
                why = controlCharacterReason + QStringLiteral("; ") + tr("the cell keeps its value");
                break;
            }
            lines << tr("%1: \"%2\": %3").arg(cellLabel(table, cell.row, cell.column), visible(cell.text), why);
        }
        QString text = said + QStringLiteral("\n\n") + lines.mid(0, kRefusedInMessage).join(QLatin1Char('\n'));
        QString details;
        if (lines.size() > kRefusedInMessage) {
            text += QLatin1Char('\n')
                + tr("and %n more; the details list them all", nullptr, int(lines.size() - kRefusedInMessage));
            details = lines.join(QLatin1Char('\n'));
        }
        statusBar()->showMessage(said);
        dialogs->showMessage(this, QMessageBox::Warning, identity::programTitle(), text, details);
    };
    // Numbers are copied as the interface writes them: with a decimal comma
    // in Bulgarian, so that a spreadsheet in that language takes them as
    // numbers.
    const QLocale interfaceNumbers(tr("en_GB", "the locale of this translation, for the build date"));
    for (int t = 0; t < tarvo::kTableCount; ++t) {
        const tarvo::DocTable kind = tarvo::tableAt(t);
        WTableWidget *view = documentTable(kind);
        view->setEditHandler([this, kind](const tarvo::CellEdits &edits, WTableWidget::EditKind how) {
            editCells(kind, edits, how);
        });
        view->setLocale(interfaceNumbers);
        view->setFitQuestion([kind, askToPasteWhatFits](int row, int column, int rowsOver, int columnsOver) {
            return askToPasteWhatFits(kind, row, column, rowsOver, columnsOver);
        });
        connect(view, &WTableWidget::pasteDone, this,
                [kind, tellPaste](int pasted, const QList<RefusedCell> &refused, int row, int column) {
                    tellPaste(kind, pasted, refused, row, column);
                });
        connect(view, &WTableWidget::textRefused, this,
                [this, kind, controlCharacterReason](int row, int column, const QString &text) {
                    statusBar()->showMessage(tr("Value \"%1\" refused in %2: %3; the cell keeps its value")
                                                 .arg(visible(text), cellLabel(kind, row, column),
                                                      controlCharacterReason));
                });
    }
    connect(document, &Document::cellChanged, this, &MainWindow::showCellChange);

    QUndoStack *history = document->history();
    for (auto changed : {&QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged})
        connect(history, changed, this, &MainWindow::retranslateHistory);
    for (auto changed : {&QUndoStack::undoTextChanged, &QUndoStack::redoTextChanged})
        connect(history, changed, this, &MainWindow::retranslateHistory);
    ui->actionUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    ui->actionRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(ui->actionUndo, &QAction::triggered, this, [this] { stepThroughHistory(&QUndoStack::undo); });
    connect(ui->actionRedo, &QAction::triggered, this, [this] { stepThroughHistory(&QUndoStack::redo); });
    retranslateHistory();

    connect(ui->tabMain, &QTabWidget::currentChanged, this, &MainWindow::fillEditMenu);
    // The keys of the table in front work at once, without a click into it.
    connect(ui->tabMain, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab >= 0 && tab < tarvo::kTableCount)
            documentTable(tarvo::tableAt(tab))->setFocus(Qt::TabFocusReason);
    });
    fillEditMenu();
}

void MainWindow::editCells(tarvo::DocTable table, const tarvo::CellEdits &edits, WTableWidget::EditKind kind)
{
    if (edits.isEmpty())
        return;
    const int n = int(edits.size());
    QString what;
    switch (kind) {
    case WTableWidget::EditKind::Typing: {
        const QTableWidgetItem *header = documentTable(table)->horizontalHeaderItem(edits.first().column);
        what = tr("edit of %1, row %2")
                   .arg(header ? header->text() : QString::number(edits.first().column))
                   .arg(edits.first().row + 1);
        break;
    }
    case WTableWidget::EditKind::Paste:
        what = n == 1 ? tr("paste of one cell") : tr("paste of %n cells", nullptr, n);
        break;
    case WTableWidget::EditKind::Delete:
        what = n == 1 ? tr("deletion of one cell") : tr("deletion of %n cells", nullptr, n);
        break;
    case WTableWidget::EditKind::Cut:
        what = n == 1 ? tr("cut of one cell") : tr("cut of %n cells", nullptr, n);
        break;
    }
    document->editCells(table, edits, what);
}

void MainWindow::showCellChange(tarvo::DocTable table, int row, int column, const QString & /*oldText*/,
                                const QString &newText)
{
    documentTable(table)->setCellText(row, column, newText);
    if (revealing)
        revealed.append({table, row, column});
}

void MainWindow::commitOpenEditors()
{
    // What an open cell editor holds is part of the document the user sees.
    for (int t = 0; t < tarvo::kTableCount; ++t)
        documentTable(tarvo::tableAt(t))->commitOpenEditor();
}

void MainWindow::stepThroughHistory(void (QUndoStack::*step)())
{
    // A value still in an editor is a step of its own, so Undo takes back
    // the typing first and Redo can bring it again.
    commitOpenEditors();
    revealed.clear();
    revealing = true;
    (document->history()->*step)();
    revealing = false;
    if (revealed.isEmpty())
        return;
    // The cells the step changed come into view, selected.
    const tarvo::DocTable table = revealed.first().table;
    WTableWidget *view = documentTable(table);
    ui->tabMain->setCurrentIndex(static_cast<int>(table));
    int top = revealed.first().row, bottom = top, left = revealed.first().column, right = left;
    for (const RevealedCell &cell : std::as_const(revealed)) {
        if (cell.table != table)
            continue;
        top = qMin(top, cell.row);
        bottom = qMax(bottom, cell.row);
        left = qMin(left, cell.column);
        right = qMax(right, cell.column);
    }
    view->selectBlock(QTableWidgetSelectionRange(top, left, bottom, right));
    revealed.clear();
}

void MainWindow::retranslateHistory()
{
    const QUndoStack *history = document->history();
    ui->actionUndo->setEnabled(history->canUndo());
    ui->actionRedo->setEnabled(history->canRedo());
    ui->actionUndo->setText(history->canUndo() ? tr("&Undo %1").arg(history->undoText()) : tr("&Undo"));
    ui->actionRedo->setText(history->canRedo() ? tr("&Redo %1").arg(history->redoText()) : tr("&Redo"));
}

void MainWindow::fillEditMenu()
{
    const int tab = ui->tabMain->currentIndex();
    const WTableWidget *table = documentTable(tarvo::tableAt(tab >= 0 && tab < tarvo::kTableCount ? tab : 0));
    QMenu *menu = ui->menuEdit;
    menu->clear();
    menu->addAction(ui->actionUndo);
    menu->addAction(ui->actionRedo);
    menu->addSeparator();
    menu->addAction(table->cutAction());
    menu->addAction(table->copyAction());
    menu->addAction(table->pasteAction());
    menu->addAction(table->deleteAction());
    menu->addSeparator();
    menu->addAction(table->selectAllAction());
    if (finder) {
        menu->addSeparator();
        menu->addAction(finder->findAction());
        menu->addAction(finder->findNextAction());
    }
}

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

