#pragma once

class QStatusBar;
class QString;

// Shows `text` in the status bar until the first status message replaces
// it; it is not shown again. Found by the object name "startupNotice".
void showStartupNotice(QStatusBar *statusBar, const QString &text);
