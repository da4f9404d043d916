#include "programwriter.h"

#include "encodablecharacters.h"

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
        : m_codec(codec), m_encodable(unencodable ? &EncodableCharacters::of(codec) : nullptr),
          m_unencodable(unencodable)
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
            const QStringView character = QStringView(text).mid(i, length);
            if (!m_encodable->canEncode(character) && !missing.contains(character))
                missing += character;
            i += length - 1;
        }
        if (!missing.isEmpty())
            m_unencodable->append({table, row, column, missing});
    }

    // The whole file at once: the code page's converter is opened once a
    // file, not once a line.
    QByteArray encode(const QString &text) const
    {
        QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
        return m_codec->fromUnicode(text.constData(), text.size(), &state);
    }

private:
    QTextCodec *m_codec;
    const EncodableCharacters *m_encodable;
    QList<UnencodableCell> *m_unencodable;
};

// Whether the writer carries a row: only when every required cell holds text.
bool rowIsWritten(const DocumentCells &cells, const TableFormat &format, int row)
{
    for (int i = 0; i < format.cellCount; ++i) {
        if (format.cells[i].required && cells.cellText(format.table, row, format.cells[i].column).isEmpty())
            return false;
    }
    return true;
}

} // namespace

QList<LeftOutRow> rowsLeftOut(const DocumentCells &cells)
{
    QList<LeftOutRow> found;
    for (int t = 0; t < kTableCount; ++t) {
        const TableFormat &format = tableFormat(tableAt(t));
        for (int row = 0; row < format.rows; ++row) {
            LeftOutRow left{format.table, row, {}};
            bool holdsText = false;
            for (int i = 0; i < format.cellCount; ++i) {
                const bool empty = cells.cellText(format.table, row, format.cells[i].column).isEmpty();
                holdsText = holdsText || !empty;
                if (empty && format.cells[i].required)
                    left.missingColumns << format.cells[i].column;
            }
            if (holdsText && !left.missingColumns.isEmpty())
                found << left;
        }
    }
    return found;
}

namespace {

// Produces the lines of the file one at a time, so a device can take them
// as they come: the time stamp, then each table's records under its section
// title, the fields in record order, and a closing separator.
template <typename Emit>
void layOut(const DocumentCells &cells, const QDateTime &stamp, LineEncoder &encoder, Emit put)
{
    const QChar tab = QLatin1Char('\t');
    const QString separator = QStringLiteral("\";\"");
    put(QStringLiteral("\";%1\"").arg(stamp.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))));

    for (int t = 0; t < kTableCount; ++t) {
        const TableFormat &format = tableFormat(tableAt(t));
        if (format.section) {
            put(separator);
            put(QStringLiteral("\";%1\"").arg(QLatin1String(format.section)));
        }
        // The columns in the order of their fields.
        const ColumnFormat *byField[kMaxRecordFields] = {};
        for (int i = 0; i < format.cellCount; ++i)
            byField[format.cells[i].field] = &format.cells[i];

        for (int row = 0; row < format.rows; ++row) {
            if (!rowIsWritten(cells, format, row))
                continue;
            QString line = QString(QChar::fromLatin1(format.letter)) + tab + QString::number(format.firstNumber + row);
            for (const ColumnFormat *cell : byField) {
                if (!cell)
                    continue;
                const QString text = cells.cellText(format.table, row, cell->column);
                encoder.noteCell(format.table, row, cell->column, text);
                line += tab + fieldText(text);
            }
            put(line);
        }
    }
    put(separator);
}

} // namespace

QByteArray programFileBytes(const DocumentCells &cells, QTextCodec *codec, const QDateTime &stamp,
                            QList<UnencodableCell> *unencodable)
{
    LineEncoder encoder(codec, unencodable);
    QString text;
    text.reserve(4096);
    layOut(cells, stamp, encoder, [&](const QString &line) {
        text += line;
        text += QLatin1String(kLineEnd);
    });
    return encoder.encode(text);
}

} // namespace tarvo
