#pragma once

#include <QTableWidget>

class QAction;

// The table view of every document table: a context menu with Copy and
// Paste, Copy of the current cell, Paste of a spreadsheet block, and a Tab
// key that walks down the second column instead of across cells.
class WTableWidget : public QTableWidget
{
    Q_OBJECT

public:
    explicit WTableWidget(QWidget *parent = nullptr);

    // The display text of a cell; empty where the cell has no item.
    QString cellText(int row, int column) const;
    // Sets the display text of an existing item; false where there is none.
    bool setCellText(int row, int column, const QString &text);

    // Commits the value of an open cell editor, through the same check as
    // Return, and closes it. Nothing happens when no editor is open.
    void commitOpenEditor();

    QAction *copyAction() const { return actionCopy; }
    QAction *pasteAction() const { return actionPaste; }

signals:
    // Values that a numeric column refused, typed or pasted: the first of
    // them, and how many there were in that one edit or paste.
    void valueRefused(int row, int column, const QString &text, int count);

protected:
    void changeEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private slots:
    void on_actionCopy_triggered();
    void on_actionPaste_triggered();

private:
    QAction *actionCopy;
    QAction *actionPaste;
};
