#include "programwriter.h"

#include "filereplace.h"

#include <QIODevice>
#include <QTextCodec>

namespace tarvo {

namespace {

const char kLineEnd[] = "\r\n";

// A field cannot hold the separators of the format: each TAB, CR or LF in
// a cell is written as one space so that the record keeps its fields.
QString fieldText(const QString &text)
{
    QString field = text;
    for (QChar &c : field) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    }
    return field;
}

class LineEncoder
{
public:
    LineEncoder(QTextCodec *codec, QList<UnencodableCell> *unencodable)
        : m_codec(codec), m_unencodable(unencodable)
    {
    }

    // Notes the characters of one cell that the code page cannot hold.
    void noteCell(DocTable table, int row, int column, const QString &text)
    {
        if (!m_unencodable || text.isEmpty())
            return;
        QString missing;
        for (int i = 0; i < text.size(); ++i) {
            // Keep surrogate pairs together.
            int length = 1;
            if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                length = 2;
            const QString character = text.mid(i, length);
            if (!m_codec->canEncode(character) && !missing.contains(character))
                missing += character;
            i += length - 1;
        }
        if (!missing.isEmpty())
            m_unencodable->append({table, row, column, missing});
    }

    QByteArray encode(const QString &line) const
    {
        QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
        return m_codec->fromUnicode(line.constData(), line.size(), &state) + kLineEnd;
    }

private:
    QTextCodec *m_codec;
    QList<UnencodableCell> *m_unencodable;
};

// Produces the lines of the file one at a time, so a device can take them
// as they come.
template <typename Emit>
void layOut(const DocumentCells &cells, const QDateTime &stamp, LineEncoder &encoder, Emit put)
{
    const QChar tab = QLatin1Char('\t');
    auto cell = [&](DocTable table, int row, int column) { return cells.cellText(table, row, column); };
    auto field = [&](DocTable table, int row, int column) {
        const QString text = cell(table, row, column);
        encoder.noteCell(table, row, column, text);
        return fieldText(text);
    };
    auto section = [&](const char *title) {
        put(QStringLiteral("\";\""));
        put(QStringLiteral("\";%1\"").arg(QLatin1String(title)));
    };

    put(QStringLiteral("\";%1\"").arg(stamp.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))));

    section("System Parameters");
    for (int r = 0; r < rowCount(DocTable::Params); ++r) {
        if (cell(DocTable::Params, r, col::ParamValue).isEmpty())
            continue;
        put(QStringLiteral("S") + tab + QString::number(r + 1) + tab
             + field(DocTable::Params, r, col::ParamValue));
    }

    section("Departments");
    for (int r = 0; r < rowCount(DocTable::Depts); ++r) {
        if (cell(DocTable::Depts, r, col::DeptName).isEmpty())
            continue;
        // The tax comes before the price in the record.
        put(QStringLiteral("D") + tab + QString::number(r + 1) + tab
             + field(DocTable::Depts, r, col::DeptName) + tab + field(DocTable::Depts, r, col::DeptTax)
             + tab + field(DocTable::Depts, r, col::DeptPrice) + tab
             + field(DocTable::Depts, r, col::DeptDigits));
    }

    section("Header Lines");
    for (int r = 0; r < rowCount(DocTable::Lines); ++r)
        put(QStringLiteral("H") + tab + QString::number(r + 1) + tab + field(DocTable::Lines, r, col::LineText));

    // The comment line goes with the header lines as a C record numbered 0,
    // the only number the reader takes for it; an empty one is left out.
    if (!cell(DocTable::Comments, 0, col::CommentText).isEmpty())
        put(QStringLiteral("C") + tab + QStringLiteral("0") + tab
             + field(DocTable::Comments, 0, col::CommentText));

    section("Payments");
    for (int r = 0; r < rowCount(DocTable::Payments); ++r) {
        if (cell(DocTable::Payments, r, col::PaymentName).isEmpty()
            || cell(DocTable::Payments, r, col::PaymentValue).isEmpty())
            continue;
        put(QStringLiteral("Y") + tab + QString::number(r + 1) + tab
             + field(DocTable::Payments, r, col::PaymentName) + tab
             + field(DocTable::Payments, r, col::PaymentValue) + tab
             + field(DocTable::Payments, r, col::PaymentIndex));
    }

    put(QStringLiteral("\";\""));
}

} // namespace

QByteArray programFileBytes(const DocumentCells &cells, QTextCodec *codec, const QDateTime &stamp,
                            QList<UnencodableCell> *unencodable)
{
    LineEncoder encoder(codec, unencodable);
    QByteArray bytes;
    layOut(cells, stamp, encoder, [&](const QString &line) { bytes += encoder.encode(line); });
    return bytes;
}

bool writeProgram(QIODevice &device, const DocumentCells &cells, QTextCodec *codec,
                  const QDateTime &stamp, QList<UnencodableCell> *unencodable)
{
    LineEncoder encoder(codec, unencodable);
    bool ok = true;
    layOut(cells, stamp, encoder, [&](const QString &line) {
        if (!ok)
            return;
        const QByteArray bytes = encoder.encode(line);
        ok = device.write(bytes) == bytes.size();
    });
    return ok;
}

WriteResult writeProgramFile(const QString &path, const DocumentCells &cells, QTextCodec *codec,
                             const QDateTime &stamp, const FileCalls &calls)
{
    WriteResult result;
    QList<UnencodableCell> unencodable;
    const QByteArray bytes = programFileBytes(cells, codec, stamp, &unencodable);
    result.ok = replaceFileContents(path, bytes, &result.error, calls);
    if (result.ok)
        result.unencodable = unencodable;
    return result;
}

} // namespace tarvo
