#include "wtablewidget.h"

#include "lazyicon.h"
#include "tablepaste.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>

// An item that hands what is put into its text to its table's edit handler,
// when the table has one and the cell is editable; the text it shows then
// changes only through WTableWidget::setCellText.
class WTableWidgetItem : public QTableWidgetItem
{
public:
    QTableWidgetItem *clone() const override { return new WTableWidgetItem(*this); }

    void setData(int role, const QVariant &value) override
    {
        auto *table = qobject_cast<WTableWidget *>(tableWidget());
        if ((role == Qt::EditRole || role == Qt::DisplayRole) && table && table->editHandler
            && (flags() & Qt::ItemIsEditable)) {
            table->edit({{row(), column(), value.toString()}}, WTableWidget::EditKind::Typing);
            return;
        }
        QTableWidgetItem::setData(role, value);
    }
};

WTableWidget::WTableWidget(QWidget *parent)
    : QTableWidget(parent)
{
    // Read only when the context menu first shows them (not at all where
    // the images are missing: the entries then show their text only).
    actionCopy = new QAction(lazyIcon(QStringLiteral(":/images/copy.png")), tr("Copy"), this);
    actionPaste = new QAction(lazyIcon(QStringLiteral(":/images/paste.png")), tr("Paste"), this);
    actionCut = new QAction(this);
    actionDelete = new QAction(this);
    actionSelectAll = new QAction(this);
    retranslate();
    connect(actionCopy, &QAction::triggered, this, &WTableWidget::on_actionCopy_triggered);
    connect(actionPaste, &QAction::triggered, this, &WTableWidget::on_actionPaste_triggered);
    connect(actionCut, &QAction::triggered, this, &WTableWidget::on_actionCut_triggered);
    connect(actionDelete, &QAction::triggered, this, &WTableWidget::on_actionDelete_triggered);
    connect(actionSelectAll, &QAction::triggered, this, &QAbstractItemView::selectAll);
    // The keys work on the table itself; inside an open cell editor the
    // editor's own copy, paste, delete and select all take them. Cut has no
    // key: Ctrl+X leaves the program.
    for (QAction *action : {actionCopy, actionPaste, actionCut, actionDelete, actionSelectAll}) {
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setShortcutVisibleInContextMenu(true);
        addAction(action);
    }
    actionCopy->setShortcut(QKeySequence::Copy);
    actionPaste->setShortcut(QKeySequence::Paste);
    actionDelete->setShortcut(QKeySequence::Delete);
    actionSelectAll->setShortcut(QKeySequence::SelectAll);
}

QTableWidgetItem *WTableWidget::newItem() const
{
    return new WTableWidgetItem;
}

void WTableWidget::changeEvent(QEvent *event)
{
    // The entries follow the translation in force.
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QTableWidget::changeEvent(event);
}

void WTableWidget::retranslate()
{
    actionCopy->setText(tr("Copy"));
    actionPaste->setText(tr("Paste"));
    actionCut->setText(tr("Cut"));
    actionDelete->setText(tr("Delete"));
    actionSelectAll->setText(tr("Select All"));
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
    if (cell->data(Qt::DisplayRole).toString() != text)
        cell->QTableWidgetItem::setData(Qt::DisplayRole, text);
    return true;
}

void WTableWidget::edit(const tarvo::CellEdits &edits, EditKind kind)
{
    if (edits.isEmpty())
        return;
    if (editHandler) {
        editHandler(edits, kind);
        return;
    }
    for (const tarvo::CellEdit &edit : edits)
        setCellText(edit.row, edit.column, edit.text);
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
    // never takes the focus out of the table. The cell reached is selected
    // alone, though Shift is held.
    const int row = currentRow();
    if (row < rowCount() - 1)
        setCurrentCell(row + 1, 1, QItemSelectionModel::ClearAndSelect);
    else
        setCurrentCell(0, 1, QItemSelectionModel::ClearAndSelect);
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

bool WTableWidget::hasSelectedBlock() const
{
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    return ranges.size() == 1 && ranges.at(0).rowCount() * ranges.at(0).columnCount() > 1;
}

QString WTableWidget::selectedBlockText() const
{
    if (!hasSelectedBlock()) {
        const QTableWidgetItem *cell = currentItem();
        return cell ? cell->data(Qt::DisplayRole).toString() : QString();
    }
    const QTableWidgetSelectionRange block = selectedRanges().at(0);
    QString text;
    for (int r = block.topRow(); r <= block.bottomRow(); ++r) {
        for (int c = block.leftColumn(); c <= block.rightColumn(); ++c) {
            if (c > block.leftColumn())
                text += QLatin1Char('\t');
            text += cellText(r, c);
        }
        text += QLatin1Char('\n');
    }
    return text;
}

void WTableWidget::on_actionCopy_triggered()
{
    if (!hasSelectedBlock() && !currentItem())
        return; // nothing to copy: the clipboard stays as it was
    QApplication::clipboard()->setText(selectedBlockText(), QClipboard::Clipboard);
}

QPoint WTableWidget::blockStart() const
{
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.size() == 1)
        return QPoint(ranges.at(0).leftColumn(), ranges.at(0).topRow());
    return QPoint(currentColumn(), currentRow());
}

void WTableWidget::on_actionPaste_triggered()
{
    const QPoint start = blockStart();
    const QString text = QApplication::clipboard()->text(QClipboard::Clipboard);
    if (text.isEmpty() || start.x() < 0 || start.y() < 0)
        return;
    QList<RefusedPaste> refused;
    edit(pasteEdits(this, start.y(), start.x(), text, &refused), EditKind::Paste);
    if (!refused.isEmpty())
        emit valueRefused(refused.first().row, refused.first().column, refused.first().text, int(refused.size()));
    // As in a spreadsheet, the block pasted stays selected.
    const QList<QStringList> rows = splitPasteBlock(text);
    qsizetype columns = 0;
    for (const QStringList &row : rows)
        columns = qMax(columns, row.size());
    const int bottom = qMin(start.y() + int(rows.size()) - 1, rowCount() - 1);
    const int right = qMin(start.x() + int(columns) - 1, columnCount() - 1);
    if (bottom > start.y() || right > start.x()) {
        setCurrentCell(start.y(), start.x(), QItemSelectionModel::ClearAndSelect);
        setRangeSelected(QTableWidgetSelectionRange(start.y(), start.x(), bottom, right), true);
    }
}

tarvo::CellEdits WTableWidget::deletionEdits() const
{
    tarvo::CellEdits edits;
    QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty() && currentRow() >= 0 && currentColumn() >= 0)
        ranges.append(QTableWidgetSelectionRange(currentRow(), currentColumn(), currentRow(), currentColumn()));
    for (const QTableWidgetSelectionRange &block : std::as_const(ranges)) {
        for (int r = block.topRow(); r <= block.bottomRow(); ++r) {
            for (int c = block.leftColumn(); c <= block.rightColumn(); ++c) {
                const QTableWidgetItem *cell = item(r, c);
                if (cell && (cell->flags() & Qt::ItemIsEditable) && !cellText(r, c).isEmpty())
                    edits.append({r, c, QString()});
            }
        }
    }
    return edits;
}

void WTableWidget::on_actionDelete_triggered()
{
    edit(deletionEdits(), EditKind::Delete);
}

void WTableWidget::on_actionCut_triggered()
{
    on_actionCopy_triggered();
    edit(deletionEdits(), EditKind::Cut);
}
