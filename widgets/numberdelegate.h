#pragma once

#include <QItemDelegate>

class QValidator;

// What the two numeric cell editors share: a plain line edit that takes any
// text, checked once when the edit is committed; a text that fails the
// check is stored as an empty cell.
class NumberDelegate : public QItemDelegate
{
    Q_OBJECT

public:
    using QItemDelegate::QItemDelegate;

    // True when the column's check takes `text` as it stands.
    bool acceptsText(const QString &text) const;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

    // The validator that judges committed texts.
    virtual const QValidator *checkValidator() const = 0;

private slots:
    void commitAndCloseEditor();
};
