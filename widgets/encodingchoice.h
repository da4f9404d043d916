#pragma once

// The editor's choice of encoding for program files and parameter names:
// one process-wide entry of the encoding list, and the codec that puts it
// into effect.

#include <QString>

class QTextCodec;

namespace editor {

// The index of the chosen entry of the encoding list. Read from the settings
// when the main window is built, changed when the settings dialog is
// confirmed, put into effect by applyEncoding().
extern int encodingIndex;

// The entry of the list in force: encodingIndex, or 0 ("System") for an
// index outside the list.
int settingEntry();

// The name of entry `index`; "System" for any index outside the list.
QString encodingName(int index);

// The name of entry `index` as the editor shows it, in the language of its
// window: "System (CP1251)", "CP1251".
QString shownEncodingName(int index);

// Puts entry `encodingIndex` into effect as the current codec.
void applyEncoding();

// The codec in force. Never null; the platform's locale codec until
// applyEncoding() first runs.
QTextCodec *currentCodec();

} // namespace editor
