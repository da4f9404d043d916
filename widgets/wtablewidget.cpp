#include "wtablewidget.h"

#include "lazyicon.h"
#include "numberdelegate.h"
#include "tablepaste.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

#include <algorithm>

// An item that hands what is put into its text to its table's edit handler,
// when the table has one and the cell is editable; the text it shows then
// changes only through WTableWidget::setCellText. A text the file cannot
// carry is refused, and the cell keeps its value.
class WTableWidgetItem : public QTableWidgetItem
{
public:
    QTableWidgetItem *clone() const override { return new WTableWidgetItem(*this); }

    void setData(int role, const QVariant &value) override
    {
        auto *table = qobject_cast<WTableWidget *>(tableWidget());
        if ((role == Qt::EditRole || role == Qt::DisplayRole) && table && (flags() & Qt::ItemIsEditable)) {
            if (holdsControlCharacter(value.toString())) {
                emit table->textRefused(row(), column(), value.toString());
                return;
            }
            if (table->editHandler) {
                table->handOver({{row(), column(), value.toString()}}, WTableWidget::EditKind::Typing);
                return;
            }
        }
        QTableWidgetItem::setData(role, value);
    }
};

WTableWidget::WTableWidget(QWidget *parent)
    : QTableWidget(parent)
{
    // Read only when the context menu first shows them (not at all where
    // the images are missing: the entries then show their text only).
    actionCopy = new QAction(lazyIcon(QStringLiteral(":/images/copy.png")), tr("&Copy"), this);
    actionPaste = new QAction(lazyIcon(QStringLiteral(":/images/paste.png")), tr("&Paste"), this);
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
    actionCopy->setText(tr("&Copy"));
    actionPaste->setText(tr("&Paste"));
    actionCut->setText(tr("Cu&t"));
    actionDelete->setText(tr("&Delete"));
    actionSelectAll->setText(tr("Select &All"));
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

void WTableWidget::handOver(const tarvo::CellEdits &edits, EditKind kind)
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

void WTableWidget::keyPressEvent(QKeyEvent *event)
{
    // The actions' keys reach the table as plain keys where the window is
    // not active (the shortcuts then do not answer): they still do what the
    // actions do, not the inherited copy of the current cell alone.
    for (QAction *action : {actionCopy, actionPaste, actionDelete}) {
        if (event->matches(action == actionCopy    ? QKeySequence::Copy
                           : action == actionPaste ? QKeySequence::Paste
                                                   : QKeySequence::Delete)) {
            action->trigger();
            event->accept();
            return;
        }
    }
    // Text typed on a row number or a parameter name goes into the row's
    // first editable cell: typed text never goes nowhere.
    const QTableWidgetItem *current = currentItem();
    if (current && !(current->flags() & Qt::ItemIsEditable) && !event->text().isEmpty()
        && event->text().at(0).isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        setCurrentCell(currentRow(), walkColumn(currentRow()), QItemSelectionModel::ClearAndSelect);
    QTableWidget::keyPressEvent(event);
}

int WTableWidget::walkColumn(int row) const
{
    for (int c = 0; c < columnCount(); ++c)
        if (const QTableWidgetItem *cell = item(qMax(row, 0), c); cell && (cell->flags() & Qt::ItemIsEditable))
            return c;
    return 1;
}

bool WTableWidget::focusNextPrevChild(bool /*next*/)
{
    // Tab and Shift+Tab both walk down the first editable column and wrap to
    // the top; the key never takes the focus out of the table. From a row
    // number or a parameter name the first Tab goes to that row's editable
    // cell, so that no row is skipped. The cell reached is selected alone,
    // though Shift is held.
    const int row = currentRow();
    const QTableWidgetItem *current = currentItem();
    if (current && !(current->flags() & Qt::ItemIsEditable))
        setCurrentCell(row, walkColumn(row), QItemSelectionModel::ClearAndSelect);
    else if (row < rowCount() - 1)
        setCurrentCell(row + 1, walkColumn(row + 1), QItemSelectionModel::ClearAndSelect);
    else
        setCurrentCell(0, walkColumn(0), QItemSelectionModel::ClearAndSelect);
    return true;
}

void WTableWidget::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // In the column the Tab key walks, Tab in an editor only commits and
    // closes it: the next Tab, handled by the table, moves down.
    if ((hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem)
        && currentColumn() == walkColumn(currentRow()))
        hint = QAbstractItemDelegate::NoHint;
    QTableWidget::closeEditor(editor, hint);
}

bool WTableWidget::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    const bool editing = QTableWidget::edit(index, trigger, event);
    // The table sees Paste in the editor before the editor does.
    if (editing)
        if (QWidget *editor = indexWidget(index))
            editor->installEventFilter(this);
    return editing;
}

bool WTableWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste)
        && state() == EditingState && watched == indexWidget(currentIndex())
        && pasteIntoEditor(static_cast<QWidget *>(watched)))
        return true;
    return QTableWidget::eventFilter(watched, event);
}

bool WTableWidget::pasteIntoEditor(QWidget *editor)
{
    auto *line = qobject_cast<QLineEdit *>(editor);
    const QList<QStringList> rows = clipboardRows();
    if (!line || rows.isEmpty())
        return false;
    if (rows.size() > 1 || rows.at(0).size() > 1) {
        // A block is a block: the editor's value is committed as Return
        // commits it, and the block goes in from its cell.
        commitOpenEditor();
        pasteBlock(rows);
        return true;
    }
    // One cell goes into the editor as text, without the line break and
    // quotes a spreadsheet puts round it.
    const QString cell = rows.at(0).at(0);
    if (holdsControlCharacter(cell)) {
        emit pasteDone(0, {{currentRow(), currentColumn(), cell, CellRefusal::ControlCharacter}}, currentRow(),
                       currentColumn());
        return true;
    }
    // A number that takes the editor's whole text is read as Paste on the
    // table reads it.
    const auto *check = qobject_cast<const NumberDelegate *>(itemDelegateForColumn(currentColumn()));
    if (check && (line->text().isEmpty() || line->selectedText() == line->text())) {
        bool refused = false;
        const QString number = check->pastedText(cell, locale(), &refused);
        if (!refused) {
            line->insert(number);
            return true;
        }
    }
    line->insert(cell);
    return true;
}

bool WTableWidget::selectedBlock(QTableWidgetSelectionRange *block) const
{
    // The selection may be held as several ranges that overlap (a click,
    // then Shift+click): it is a block when it fills the rectangle round it.
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty())
        return false;
    int top = ranges.at(0).topRow(), left = ranges.at(0).leftColumn();
    int bottom = ranges.at(0).bottomRow(), right = ranges.at(0).rightColumn();
    for (const QTableWidgetSelectionRange &range : ranges) {
        top = qMin(top, range.topRow());
        left = qMin(left, range.leftColumn());
        bottom = qMax(bottom, range.bottomRow());
        right = qMax(right, range.rightColumn());
    }
    for (int r = top; r <= bottom; ++r)
        for (int c = left; c <= right; ++c)
            if (!selectionModel()->isSelected(model()->index(r, c)))
                return false;
    *block = QTableWidgetSelectionRange(top, left, bottom, right);
    return true;
}

bool WTableWidget::hasSelectedBlock() const
{
    QTableWidgetSelectionRange block;
    return selectedBlock(&block) && block.rowCount() * block.columnCount() > 1;
}

QString WTableWidget::copiedText(int row, int column) const
{
    const QString text = cellText(row, column);
    const auto *check = qobject_cast<const NumberDelegate *>(itemDelegateForColumn(column));
    const QString point = locale().decimalPoint();
    if (!check || !check->isDecimal() || point == QLatin1String(".") || !check->acceptsText(text))
        return text;
    return QString(text).replace(QLatin1Char('.'), point);
}

QString WTableWidget::selectedBlockText() const
{
    QTableWidgetSelectionRange block;
    if (!selectedBlock(&block) || block.rowCount() * block.columnCount() == 1)
        return currentItem() ? copiedText(currentRow(), currentColumn()) : QString();
    QList<QStringList> rows;
    for (int r = block.topRow(); r <= block.bottomRow(); ++r) {
        QStringList row;
        for (int c = block.leftColumn(); c <= block.rightColumn(); ++c)
            row.append(copiedText(r, c));
        rows.append(row);
    }
    return joinCopyBlock(rows);
}

void WTableWidget::on_actionCopy_triggered()
{
    if (!hasSelectedBlock() && !currentItem())
        return; // nothing to copy: the clipboard stays as it was
    QApplication::clipboard()->setText(selectedBlockText(), QClipboard::Clipboard);
}

QPoint WTableWidget::blockStart() const
{
    QTableWidgetSelectionRange block;
    if (selectedBlock(&block))
        return QPoint(block.leftColumn(), block.topRow());
    return QPoint(currentColumn(), currentRow());
}

QList<QStringList> WTableWidget::clipboardRows()
{
    const QMimeData *data = QApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasText() || data->text().isEmpty())
        return {};
    return clipboardBlock(data->text(), data->hasHtml() ? data->html() : QString());
}

void WTableWidget::on_actionPaste_triggered()
{
    const QList<QStringList> rows = clipboardRows();
    if (rows.isEmpty())
        return;
    // From the menu with a cell editor open: its value first, as Return.
    commitOpenEditor();
    pasteBlock(rows);
}

void WTableWidget::pasteBlock(const QList<QStringList> &rows)
{
    const QPoint start = blockStart();
    PastePlan plan = planPaste(this, start.y(), start.x(), rows, locale());
    if (plan.row < 0)
        return;
    if (plan.rowsOver > 0 || plan.columnsOver > 0) {
        // Nothing is cut off without the operator's word.
        if (!fitQuestion || !fitQuestion(plan.row, plan.column, plan.rowsOver, plan.columnsOver))
            return;
        // The cells as they are after the question.
        plan = planPaste(this, start.y(), start.x(), rows, locale());
    }
    handOver(plan.edits, EditKind::Paste);
    // As in a spreadsheet, the block pasted stays selected, also while its
    // message is read.
    selectBlock(QTableWidgetSelectionRange(plan.row, plan.column, plan.bottom, plan.right));
    emit pasteDone(plan.pasted, plan.refused, plan.row, plan.column);
}

void WTableWidget::selectBlock(const QTableWidgetSelectionRange &block)
{
    const QModelIndex topLeft = model()->index(block.topRow(), block.leftColumn());
    selectionModel()->setCurrentIndex(topLeft, QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(topLeft, model()->index(block.bottomRow(), block.rightColumn())),
                             QItemSelectionModel::ClearAndSelect);
}

tarvo::CellEdits WTableWidget::deletionEdits() const
{
    // Each selected cell once, though ranges of the selection overlap.
    QModelIndexList cells = selectionModel()->selectedIndexes();
    if (cells.isEmpty() && currentIndex().isValid())
        cells.append(currentIndex());
    std::sort(cells.begin(), cells.end());
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    tarvo::CellEdits edits;
    for (const QModelIndex &index : std::as_const(cells)) {
        const QTableWidgetItem *cell = item(index.row(), index.column());
        if (cell && (cell->flags() & Qt::ItemIsEditable) && !cellText(index.row(), index.column()).isEmpty())
            edits.append({index.row(), index.column(), QString()});
    }
    return edits;
}

void WTableWidget::on_actionDelete_triggered()
{
    handOver(deletionEdits(), EditKind::Delete);
}

void WTableWidget::on_actionCut_triggered()
{
    on_actionCopy_triggered();
    handOver(deletionEdits(), EditKind::Cut);
}
