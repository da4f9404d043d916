#pragma once

#include "celledit.h"
#include "tablepaste.h"

#include <QTableWidget>

#include <functional>

class QAction;

// The table view of every document table: a context menu with Copy and
// Paste, Copy of the selected block, Paste of a spreadsheet block, Delete
// of the selected cells, and a Tab key that walks down the second column
// instead of across cells.
//
// Decimal numbers are copied with the decimal separator of the widget's
// locale (setLocale; the owner sets the interface's), and pasted numbers are
// read with its group separator and currency sign.
//
// The table can leave its cells to an owner (setEditHandler): then what the
// user types, pastes or deletes is handed over as edits and the cells change
// only when the owner shows the new texts with setCellText. Without one, the
// table's items take the edits themselves.
class WTableWidget : public QTableWidget
{
    Q_OBJECT

public:
    // How the user changed cells.
    enum class EditKind { Typing, Paste, Delete, Cut };
    using EditHandler = std::function<void(const tarvo::CellEdits &edits, EditKind kind)>;
    // Asked when a pasted block does not fit from its top left cell at
    // (row, column): `rowsOver` rows and `columnsOver` columns of it that
    // hold text fall outside the table. True pastes what fits.
    using FitQuestion = std::function<bool(int row, int column, int rowsOver, int columnsOver)>;

    explicit WTableWidget(QWidget *parent = nullptr);

    // A new item for a cell of this table: one that hands what the user
    // puts into it to the edit handler.
    QTableWidgetItem *newItem() const;

    void setEditHandler(EditHandler handler) { editHandler = std::move(handler); }
    // Without a question, a block that does not fit is not pasted.
    void setFitQuestion(FitQuestion question) { fitQuestion = std::move(question); }

    // The display text of a cell; empty where the cell has no item.
    QString cellText(int row, int column) const;
    // Shows `text` in an existing item, without handing it to the edit
    // handler; false where there is no item. The same text again (an empty
    // text counts as equal to no text) changes and emits nothing.
    bool setCellText(int row, int column, const QString &text);

    // Commits the value of an open cell editor, through the same check as
    // Return, and closes it. Nothing happens when no editor is open.
    void commitOpenEditor();

    // True when more than one cell is selected, all in one block.
    bool hasSelectedBlock() const;
    // Selects `block` alone, its top left cell current.
    void selectBlock(const QTableWidgetSelectionRange &block);
    // The selected block as spreadsheets take it: cells separated by TAB,
    // each row a line, decimal numbers in the locale's form. A single cell
    // is its text alone, with no line end.
    QString selectedBlockText() const;

    QAction *copyAction() const { return actionCopy; }
    QAction *pasteAction() const { return actionPaste; }
    QAction *cutAction() const { return actionCut; }
    QAction *deleteAction() const { return actionDelete; }
    QAction *selectAllAction() const { return actionSelectAll; }

signals:
    // A typed value that a numeric column refused (the cell became empty),
    // and how many there were in that one edit.
    void valueRefused(int row, int column, const QString &text, int count);
    // A typed text that no cell can hold (a TAB, a line break or another
    // control character); the cell keeps its value.
    void textRefused(int row, int column, const QString &text);
    // A paste is done: `pasted` cells took their values, from the block's
    // top left cell at (row, column); the `refused` ones did not.
    void pasteDone(int pasted, const QList<RefusedCell> &refused, int row, int column);

protected:
    void changeEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    using QAbstractItemView::edit;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void on_actionCopy_triggered();
    void on_actionPaste_triggered();
    void on_actionCut_triggered();
    void on_actionDelete_triggered();

private:
    friend class WTableWidgetItem;
    void retranslate();
    // The column the Tab key walks down: the first editable cell of a row
    // (column 1, or the value beside the read-only parameter names).
    int walkColumn(int row) const;
    // The top left cell of the selection, or the current cell.
    QPoint blockStart() const;
    // The selected cells when they make one block.
    bool selectedBlock(QTableWidgetSelectionRange *block) const;
    // The editable cells of the selection that hold text, each to be emptied.
    tarvo::CellEdits deletionEdits() const;
    void handOver(const tarvo::CellEdits &edits, EditKind kind);
    void pasteBlock(const QList<QStringList> &rows);
    // The block on the clipboard; empty when it holds no text.
    static QList<QStringList> clipboardRows();
    // The text of a cell as Copy puts it out.
    QString copiedText(int row, int column) const;
    // Ctrl+V in an open cell editor: true when it was handled here.
    bool pasteIntoEditor(QWidget *editor);

    QAction *actionCopy;
    QAction *actionPaste;
    QAction *actionCut;
    QAction *actionDelete;
    QAction *actionSelectAll;
    EditHandler editHandler;
    FitQuestion fitQuestion;
};
