#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QIODevice;
class QTextCodec;

namespace tarvo {

constexpr int kParamCount = 26;

// The file the parameter names come from, looked for in the working directory.
inline QString paramNamesFileName() { return QStringLiteral("names_bulgarian.xml"); }

// True when the raw bytes hold the UTF-8 bytes of the marker text
// "Кворвел Лабс", the file's encoding check.
bool hasNamesMarker(const QByteArray &bytes);

// A name as the chosen encoding lets it through: encoded with `codec`,
// cut at the first zero byte, decoded again. Letters the code page cannot
// hold come back as its replacement character.
QString throughEncoding(const QString &name, QTextCodec *codec);

// Parses the XML of a names file. On true, `names` holds 26 entries, index
// 0 for parameter 1, later entries for a number replacing earlier ones. On
// false (not well-formed, too deep, wrong structure) `names` is untouched.
bool parseParamNames(const QByteArray &xml, QTextCodec *codec, QStringList *names);

} // namespace tarvo
