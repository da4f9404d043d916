#pragma once

#include <QIcon>
#include <QString>

// An icon from an image file that is read and decoded only when it is first
// drawn, not when the window is built: most icons of a window (those in
// closed menus) are never drawn at start-up.
// With `themeName`, the desktop's icon theme is asked first, at that time.
QIcon lazyIcon(const QString &fileName, const QString &themeName = QString());
