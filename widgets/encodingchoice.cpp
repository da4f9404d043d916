#include "encodingchoice.h"

#include "encodings.h"

#include <QTextCodec>

namespace editor {

int encodingIndex = 0;

namespace {
QTextCodec *g_current = nullptr;
}

QString encodingName(int index) { return tarvo::encodingName(index); }

void applyEncoding() { g_current = tarvo::codecForEncoding(encodingIndex); }

QTextCodec *currentCodec() { return g_current ? g_current : QTextCodec::codecForLocale(); }

} // namespace editor
