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

QString encodingName(int index) { return tarvo::encodingName(index); }

QString shownEncodingName(int index)
{
    if (index == 0)
        return QCoreApplication::translate("SettingsDialog", "System (%1)").arg(tarvo::codePageName(0));
    return tarvo::encodingShownName(index);
}

void applyEncoding() { g_current = tarvo::codecForEncoding(encodingIndex); }

QTextCodec *currentCodec() { return g_current ? g_current : tarvo::codecForEncoding(0); }

} // namespace editor
