#include "modernwidgetkinds.h"

#include <QAbstractButton>
#include <QMainWindow>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolBox>

namespace {

bool isInMainWindow(const QWidget *widget)
{
    return qobject_cast<const QMainWindow *>(widget->window()) != nullptr;
}

} // namespace

bool isMainWindowTabBar(const QWidget *widget)
{
    const auto *tabBar = qobject_cast<const QTabBar *>(widget);
    if (!tabBar)
        return false;
    const QTabBar::Shape shape = tabBar->shape();
    return (shape == QTabBar::RoundedNorth || shape == QTabBar::RoundedSouth) && isInMainWindow(tabBar);
}

bool isMainWindowTabWidget(const QWidget *widget)
{
    const auto *tabWidget = qobject_cast<const QTabWidget *>(widget);
    if (!tabWidget || tabWidget->tabShape() != QTabWidget::Rounded)
        return false;
    const QTabWidget::TabPosition position = tabWidget->tabPosition();
    return (position == QTabWidget::North || position == QTabWidget::South) && isInMainWindow(tabWidget);
}

bool isToolBoxButton(const QWidget *widget)
{
    return qobject_cast<const QAbstractButton *>(widget) && widget->parentWidget()
        && qobject_cast<const QToolBox *>(widget->parentWidget());
}

bool isToolBoxPage(const QWidget *widget)
{
    if (!widget || !widget->parentWidget())
        return false;
    const auto *scrollArea = qobject_cast<const QScrollArea *>(widget->parentWidget()->parentWidget());
    return scrollArea && qobject_cast<const QToolBox *>(scrollArea->parentWidget());
}

bool isOnToolBar(const QWidget *widget)
{
    return widget && qobject_cast<const QToolBar *>(widget->parentWidget());
}
