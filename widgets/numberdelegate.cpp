#include "numberdelegate.h"

#include <QLineEdit>
#include <QValidator>

bool NumberDelegate::acceptsText(const QString &text) const
{
    QString input = text;
    int pos = 0;
    return checkValidator()->validate(input, pos) == QValidator::Acceptable;
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
    QString text = edit->text();
    if (!acceptsText(text))
        text.clear();
    model->setData(index, text, Qt::EditRole);
}

void NumberDelegate::commitAndCloseEditor()
{
    auto *editor = qobject_cast<QLineEdit *>(sender());
    if (!editor)
        return;
    // Once is enough: the editor finishes again as it loses focus on closing.
    disconnect(editor, &QLineEdit::editingFinished, this, &NumberDelegate::commitAndCloseEditor);
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
}
