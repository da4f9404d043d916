#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QMimeData;
class QWidget;

// Lets a program file dragged from a file manager be dropped on a window:
// one local file is taken and handed to `open`; anything else is refused.
class FileDrop : public QObject
{
    Q_OBJECT

public:
    FileDrop(QWidget *window, std::function<void(const QString &)> open);

    // The local file the data names, or an empty string when it does not
    // name exactly one.
    static QString droppedFile(const QMimeData *data);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    std::function<void(const QString &)> m_open;
};
