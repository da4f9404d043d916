// The XML of a parameter names file through parseParamNames.
//
// Input: a byte that picks the encoding names pass through, then the XML.
//
// Properties:
// - a refused file leaves the caller's list untouched;
// - an accepted one gives exactly 26 names, never more;
// - every name has already passed through the encoding: passing it again
//   changes nothing, and it holds no zero character (names are cut there);
// - parsing is deterministic.

#include "fuzzsupport.h"

#include "paramnamesfile.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

using namespace tarvo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    QTextCodec *codec = fuzzsupport::codecFor(data[0]);
    const QByteArray xml(reinterpret_cast<const char *>(data + 1), int(size - 1));

    const QStringList untouched{QStringLiteral("untouched")};
    QStringList names = untouched;
    const bool accepted = parseParamNames(xml, codec, &names);
    if (!accepted) {
        FUZZ_CHECK(names == untouched, names.join(QLatin1Char('|')));
        return 0;
    }
    FUZZ_CHECK(names.size() == kParamCount, QString::number(names.size()));
    for (const QString &name : names) {
        FUZZ_CHECK(!name.contains(QChar(0)), name);
        FUZZ_CHECK(throughEncoding(name, codec) == name, name);
    }

    QStringList again;
    FUZZ_CHECK(parseParamNames(xml, codec, &again) && again == names, again.join(QLatin1Char('|')));
    return 0;
}
