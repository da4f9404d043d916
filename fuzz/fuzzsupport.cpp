#include "fuzzsupport.h"

#include "encodings.h"
#include "programreader.h"

#include <QTextCodec>

#include <cstdio>
#include <cstring>
#include <cstdlib>

namespace fuzzsupport {

void fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "\n*** property failed: %s\n%s\n", what, detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

namespace {

struct Choice
{
    const char *name;
    int encodingIndex; // -1: not in the encoding list, by codec name
};

const Choice kChoices[] = {
    {"System", 0}, {"UTF-8", -1}, {"CP1251", 2}, {"CP1252", 3}, {"ISO 8859-5", 14}, {"ISO 8859-7", 16},
};
constexpr unsigned kChoiceCount = sizeof(kChoices) / sizeof(kChoices[0]);

} // namespace

QTextCodec *codecFor(unsigned char selector)
{
    const Choice &choice = kChoices[selector % kChoiceCount];
    if (choice.encodingIndex >= 0)
        return tarvo::codecForEncoding(choice.encodingIndex);
    return QTextCodec::codecForName(choice.name);
}

const char *codecName(unsigned char selector) { return kChoices[selector % kChoiceCount].name; }

QString firstDifference(const tarvo::DocumentData &a, const tarvo::DocumentData &b)
{
    using namespace tarvo;
    for (int t = 0; t < kTableCount; ++t) {
        const DocTable table = tableAt(t);
        for (int row = 0; row < rowCount(table); ++row) {
            for (int column = 0; column < columnCount(table); ++column) {
                if (!isDocumentCell(table, row, column))
                    continue;
                const QString x = a.cellText(table, row, column);
                const QString y = b.cellText(table, row, column);
                if (x != y) {
                    return QStringLiteral("table %1 row %2 column %3: [%4] | [%5]")
                        .arg(t)
                        .arg(row)
                        .arg(column)
                        .arg(x, y);
                }
            }
        }
    }
    return QStringLiteral("(no cell differs)");
}

tarvo::DocumentData readBytes(const QByteArray &bytes, QTextCodec *codec)
{
    tarvo::DocumentData document;
    tarvo::readProgram(bytes, codec, document);
    return document;
}

} // namespace fuzzsupport
