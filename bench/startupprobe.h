#pragma once

// Ends a start-up measurement: when the widget first paints, prints the
// wall-clock time in nanoseconds and leaves the event loop at once, without
// closing the window (so no quit question is asked).

class QWidget;

namespace startupprobe {

void reportFirstPaint(QWidget *window);

} // namespace startupprobe
