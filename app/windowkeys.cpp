#include "windowkeys.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QTabWidget>

namespace {

void stepTab(QTabWidget *tabs, int step)
{
    const int count = tabs->count();
    if (count == 0)
        return;
    tabs->setCurrentIndex((tabs->currentIndex() + step + count) % count);
    // The focus goes with the tab, to the first widget of its page that
    // takes it (its table), so that the next key works there. The page
    // itself takes no keys.
    if (QWidget *page = tabs->currentWidget())
        for (QWidget *child : page->findChildren<QWidget *>())
            if ((child->focusPolicy() & Qt::TabFocus) && child->isVisibleTo(page)) {
                child->setFocus(Qt::TabFocusReason);
                break;
            }
}

void openMenu(QMainWindow *window, QMenu *menu)
{
    QMenuBar *bar = window->menuBar();
    if (!menu || !bar || !menu->menuAction()->isVisible())
        return;
    bar->setActiveAction(menu->menuAction());
}

} // namespace

void WindowKeys::install(QMainWindow *window, QTabWidget *tabs, const QList<QPair<QMenu *, QChar>> &menus)
{
    auto *next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), window);
    auto *previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), window);
    QObject::connect(next, &QShortcut::activated, tabs, [tabs] { stepTab(tabs, 1); });
    QObject::connect(previous, &QShortcut::activated, tabs, [tabs] { stepTab(tabs, -1); });

    if (!menus.isEmpty()) {
        auto *f10 = new QShortcut(QKeySequence(Qt::Key_F10), window);
        QMenu *first = menus.constFirst().first;
        QObject::connect(f10, &QShortcut::activated, window, [window, first] { openMenu(window, first); });
    }
    for (const auto &entry : menus) {
        QMenu *menu = entry.first;
        auto *latin = new QShortcut(QKeySequence(QKeyCombination(Qt::ALT, Qt::Key(entry.second.toUpper().unicode()))),
                                    window);
        // Only when the title's own mnemonic is another letter: two keys
        // for one letter would make both ambiguous.
        auto update = [latin, menu, entry] {
            const QString title = menu->title();
            const qsizetype amp = title.indexOf(QLatin1Char('&'));
            const QChar own = amp >= 0 && amp + 1 < title.size() ? title.at(amp + 1).toUpper() : QChar();
            latin->setEnabled(own != entry.second.toUpper());
        };
        update();
        QObject::connect(menu->menuAction(), &QAction::changed, latin, update);
        QObject::connect(latin, &QShortcut::activated, window, [window, menu] { openMenu(window, menu); });
    }
}
