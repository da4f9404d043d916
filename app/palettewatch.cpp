#include "palettewatch.h"

#include <QWidget>

PaletteWatch::PaletteWatch(QWidget *widget, std::function<void()> changed)
    : QObject(widget), m_widget(widget), m_changed(std::move(changed))
{
    widget->installEventFilter(this);
}

bool PaletteWatch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_widget && event->type() == QEvent::PaletteChange)
        m_changed();
    return QObject::eventFilter(watched, event);
}
