#pragma once

#include <QChar>
#include <QList>
#include <QPair>

class QMainWindow;
class QMenu;
class QTabWidget;

// Keys that reach every part of the main window: Ctrl+PgUp and Ctrl+PgDn
// change tabs wherever the focus is (a table keeps Ctrl+Tab for itself),
// F10 opens the first menu, and Alt with the letter of a menu's English
// title opens it when the translated title has its mnemonic on another
// letter, so that a Latin keyboard reaches translated menus too.
class WindowKeys
{
public:
    // `menus` pairs each menu of the menu bar with its English mnemonic.
    static void install(QMainWindow *window, QTabWidget *tabs, const QList<QPair<QMenu *, QChar>> &menus);
};
