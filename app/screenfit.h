#pragma once

class QWidget;

// Keeps a window within the available area of the screen it is on (or the
// primary screen), at any scale factor: too large a size is cut to the
// screen, and a window off the screen is moved back onto it.
void fitToScreen(QWidget *window);
