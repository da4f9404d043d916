#pragma once

#include <QItemDelegate>

class QLocale;
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

    // What a typed or pasted `text` stores: the text in the form the file
    // carries (a decimal comma as a point), or empty when the check refuses
    // it (then `refused` is set).
    QString storedText(const QString &text, bool *refused = nullptr) const;

    // What a pasted `text` stores: as storedText, after the number is taken
    // as a spreadsheet of `locale` shows it (thousands separators, a
    // currency sign; see plainPastedNumber). An ambiguous number is refused.
    QString pastedText(const QString &text, const QLocale &locale, bool *refused = nullptr) const;

    // True for a column of decimal numbers, false for whole numbers.
    bool isDecimal() const;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

signals:
    // A committed text that the check refused: the cell became empty.
    void valueRefused(int row, int column, const QString &text, int count);

protected:
    // The text in the form the check and the file expect; unchanged by default.
    virtual QString normalized(const QString &text) const { return text; }

    bool eventFilter(QObject *object, QEvent *event) override;

    // The validator that judges committed texts.
    virtual const QValidator *checkValidator() const = 0;

private slots:
    void commitAndCloseEditor();
};
