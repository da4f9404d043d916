#pragma once

// The editor's settings: their keys in the settings store and what each
// reads as when the store has none.

#include <QString>

namespace settingskey {

// The chosen entry of the encoding list; default 0, "System".
inline QString encodingIndex() { return QStringLiteral("EncodingIndex"); }
constexpr int kDefaultEncodingIndex = 0;

// The folder the last file dialog ended in; default none.
inline QString dataFilePath() { return QStringLiteral("DataFilePath"); }

// The window's saved geometry and main-window state (state version 0);
// default none, which restores nothing.
inline QString geometry() { return QStringLiteral("Geometry"); }
inline QString windowState() { return QStringLiteral("WindowState"); }
constexpr int kWindowStateVersion = 0;

} // namespace settingskey
