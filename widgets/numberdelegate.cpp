#include "numberdelegate.h"

#include "pastednumber.h"

#include <QDoubleValidator>
#include <QKeyEvent>
#include <QLineEdit>

bool NumberDelegate::acceptsText(const QString &text) const
{
    QString input = text;
    int pos = 0;
    return checkValidator()->validate(input, pos) == QValidator::Acceptable;
}

QString NumberDelegate::storedText(const QString &text, bool *refused) const
{
    const QString value = normalized(text);
    const bool taken = acceptsText(value);
    if (refused)
        *refused = !taken;
    return taken ? value : QString();
}

QString NumberDelegate::pastedText(const QString &text, const QLocale &locale, bool *refused) const
{
    bool ok = false;
    const QString plain = plainPastedNumber(text, locale, isDecimal(), &ok);
    if (!ok) {
        if (refused)
            *refused = true;
        return QString();
    }
    return storedText(plain, refused);
}

bool NumberDelegate::isDecimal() const
{
    return qobject_cast<const QDoubleValidator *>(checkValidator()) != nullptr;
}

QWidget *NumberDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem & /*option*/,
                                      const QModelIndex & /*index*/) const
{
    auto *editor = new QLineEdit(parent);
    connect(editor, &QLineEdit::editingFinished, this, &NumberDelegate::commitAndCloseEditor);
    return editor;
}

void NumberDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *edit = qobject_cast<QLineEdit *>(editor))
        edit->setText(index.model()->data(index, Qt::DisplayRole).toString());
}

void NumberDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *edit = qobject_cast<QLineEdit *>(editor);
    if (!edit)
        return;
    bool refused = false;
    const QString text = storedText(edit->text(), &refused);
    model->setData(index, text, Qt::EditRole);
    if (refused)
        emit const_cast<NumberDelegate *>(this)->valueRefused(index.row(), index.column(), edit->text(), 1);
}

bool NumberDelegate::eventFilter(QObject *object, QEvent *event)
{
    // Return and Enter end the edit through the line edit's editingFinished,
    // which commits once. The inherited filter would queue a second commit
    // that reaches the view after the editor has gone.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return false;
    }
    return QItemDelegate::eventFilter(object, event);
}

void NumberDelegate::commitAndCloseEditor()
{
    // Return and Enter finish the edit while the editor has the focus. When
    // it finishes on losing the focus, the inherited event filter has
    // already committed and closed it, or the view closed it: a second
    // request would reach a view the editor no longer belongs to.
    auto *editor = qobject_cast<QLineEdit *>(sender());
    if (!editor || !editor->hasFocus())
        return;
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
}
