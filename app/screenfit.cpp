#include "screenfit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void fitToScreen(QWidget *window)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    // The frame the window manager adds is not known before the window is
    // shown; leave room for a title bar and borders.
    const QSize frame = window->frameGeometry().size() - window->geometry().size();
    const QSize margin = frame.isEmpty() ? QSize(8, 32) : frame;
    const QSize room = available.size() - margin;
    QSize size = window->size().boundedTo(room);
    size = size.expandedTo(window->minimumSize().boundedTo(room));
    if (size != window->size())
        window->resize(size);
    QRect placed = window->frameGeometry();
    // Only a place that was set (restored) is corrected; a new window is
    // placed by the window manager.
    if (window->testAttribute(Qt::WA_Moved) && !available.contains(placed)) {
        placed.moveLeft(qBound(available.left(), placed.left(), qMax(available.left(), available.right() - placed.width())));
        placed.moveTop(qBound(available.top(), placed.top(), qMax(available.top(), available.bottom() - placed.height())));
        window->move(placed.topLeft());
    }
}
