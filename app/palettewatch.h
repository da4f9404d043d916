#pragma once

#include <QEvent>
#include <QObject>

#include <functional>

class QWidget;

// Calls `changed` whenever the palette of `widget` changes while it runs
// (the desktop switched between a light and a dark theme, say).
class PaletteWatch : public QObject
{
public:
    PaletteWatch(QWidget *widget, std::function<void()> changed);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QObject *m_widget;
    std::function<void()> m_changed;
};
