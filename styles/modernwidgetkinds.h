#pragma once

// The kinds of widget that the modern style treats specially.

class QWidget;

// A QTabBar of shape RoundedNorth or RoundedSouth inside a main window.
bool isMainWindowTabBar(const QWidget *widget);
// A QTabWidget with rounded tabs on the north or south side inside a main window.
bool isMainWindowTabWidget(const QWidget *widget);
// A button of a QToolBox: a QAbstractButton whose parent is the tool box.
bool isToolBoxButton(const QWidget *widget);
// A page of a QToolBox: its parent's parent is a QScrollArea whose parent is the tool box.
bool isToolBoxPage(const QWidget *widget);
// A widget whose parent is a QToolBar.
bool isOnToolBar(const QWidget *widget);
