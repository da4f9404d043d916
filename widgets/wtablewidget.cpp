#include "wtablewidget.h"

#include "tablepaste.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>

WTableWidget::WTableWidget(QWidget *parent)
    : QTableWidget(parent)
{
    actionCopy = new QAction(QIcon(QStringLiteral(":/images/copy.png")), tr("Copy"), this);
    actionPaste = new QAction(QIcon(QStringLiteral(":/images/paste.png")), tr("Paste"), this);
    connect(actionCopy, &QAction::triggered, this, &WTableWidget::on_actionCopy_triggered);
    connect(actionPaste, &QAction::triggered, this, &WTableWidget::on_actionPaste_triggered);
    // Ctrl+C and Ctrl+V work on the table itself; inside an open cell editor
    // the editor's own copy and paste take the keys.
    for (QAction *action : {actionCopy, actionPaste}) {
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setShortcutVisibleInContextMenu(true);
        addAction(action);
    }
    actionCopy->setShortcut(QKeySequence::Copy);
    actionPaste->setShortcut(QKeySequence::Paste);
}

void WTableWidget::changeEvent(QEvent *event)
{
    // The entries follow the translation in force.
    if (event->type() == QEvent::LanguageChange) {
        actionCopy->setText(tr("Copy"));
        actionPaste->setText(tr("Paste"));
    }
    QTableWidget::changeEvent(event);
}

QString WTableWidget::cellText(int row, int column) const
{
    const QTableWidgetItem *cell = item(row, column);
    return cell ? cell->data(Qt::DisplayRole).toString() : QString();
}

bool WTableWidget::setCellText(int row, int column, const QString &text)
{
    QTableWidgetItem *cell = item(row, column);
    if (!cell)
        return false;
    cell->setData(Qt::DisplayRole, text);
    return true;
}

void WTableWidget::commitOpenEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    QWidget *editor = indexWidget(currentIndex());
    if (!editor)
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void WTableWidget::contextMenuEvent(QContextMenuEvent *event)
{
    const QList<QAction *> actions{actionCopy, actionPaste};
    QMenu::exec(actions, event->globalPos(), actionCopy, this);
    QTableWidget::contextMenuEvent(event);
}

bool WTableWidget::focusNextPrevChild(bool /*next*/)
{
    // Tab and Shift+Tab both walk down column 1 and wrap to the top; the key
    // never takes the focus out of the table.
    const int row = currentRow();
    if (row < rowCount() - 1)
        setCurrentCell(row + 1, 1);
    else
        setCurrentCell(0, 1);
    return true;
}

void WTableWidget::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // In column 1, Tab in an editor only commits and closes it: the next Tab,
    // handled by the table, moves down.
    if ((hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem)
        && currentColumn() == 1)
        hint = QAbstractItemDelegate::NoHint;
    QTableWidget::closeEditor(editor, hint);
}

void WTableWidget::on_actionCopy_triggered()
{
    const QTableWidgetItem *cell = currentItem();
    if (!cell)
        return; // nothing to copy: the clipboard stays as it was
    QApplication::clipboard()->setText(cell->data(Qt::DisplayRole).toString(), QClipboard::Clipboard);
}

void WTableWidget::on_actionPaste_triggered()
{
    const QString text = QApplication::clipboard()->text(QClipboard::Clipboard);
    if (text.isEmpty())
        return;
    if (currentRow() < 0 || currentColumn() < 0)
        return; // no cell to start from
    QList<RefusedPaste> refused;
    pasteBlock(this, currentRow(), currentColumn(), text, &refused);
    if (!refused.isEmpty())
        emit valueRefused(refused.first().row, refused.first().column, refused.first().text, int(refused.size()));
}
