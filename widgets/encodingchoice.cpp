#include "encodingchoice.h"

#include "encodings.h"
#include "encodingtrust.h"

#include <QCoreApplication>
#include <QTextCodec>

namespace editor {

int encodingIndex = 0;

namespace {
QTextCodec *g_current = nullptr;
}

int settingEntry() { return encodingIndex >= 0 && encodingIndex < tarvo::kEncodingCount ? encodingIndex : 0; }

QString encodingName(int index) { return tarvo::encodingName(index >= 0 && index < tarvo::kEncodingCount ? index : 0); }

QString shownEncodingName(int index)
{
    if (index == 0)
        return QCoreApplication::translate("SettingsDialog", "System (%1)").arg(tarvo::codePageName(0));
    return tarvo::encodingShownName(index);
}

void applyEncoding() { g_current = tarvo::codecForEncoding(settingEntry()); }

QTextCodec *currentCodec() { return g_current ? g_current : tarvo::codecForEncoding(0); }

} // namespace editor
