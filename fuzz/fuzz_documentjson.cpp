// The JSON input of `tarvo-prg build` through documentFromJson.
//
// Properties:
// - refused input leaves the document exactly as it was and says why in
//   one non-empty line;
// - accepted input names no cell outside the document;
// - the document written back as JSON reads to the same document, and
//   writing that again gives the same bytes.

#include "fuzzsupport.h"

#include "documentjson.h"

#include <cstddef>
#include <cstdint>

using namespace tarvo;
using fuzzsupport::firstDifference;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), int(size));

    DocumentData before;
    before.setCellText(DocTable::Params, 4, col::ParamValue, QStringLiteral("before"));
    before.setCellText(DocTable::Depts, 49, col::DeptDigits, QStringLiteral("2"));
    DocumentData document = before;
    QString error;
    if (!documentFromJson(json, &document, &error)) {
        FUZZ_CHECK(document == before, firstDifference(before, document));
        FUZZ_CHECK(!error.isEmpty() && !error.contains(QLatin1Char('\n')), error);
        return 0;
    }
    FUZZ_CHECK(document.strayWrites() == 0, QString());

    const QByteArray written = documentToJson(document);
    DocumentData again;
    FUZZ_CHECK(documentFromJson(written, &again, &error), error);
    FUZZ_CHECK(again == document, firstDifference(document, again));
    FUZZ_CHECK(documentToJson(again) == written, QString::fromUtf8(written));
    return 0;
}
