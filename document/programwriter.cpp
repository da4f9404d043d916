#include "programwriter.h"

#include "encodablecharacters.h"

#include <QTextCodec>

namespace tarvo {

namespace {

const char kLineEnd[] = "\r\n";

// A field cannot hold the separators of the format: each TAB, CR or LF in
// a cell is written as one space so that the record keeps its fields. (The
// commands refuse such text before it gets here.)
void replaceSeparators(QString &field)
{
    for (QChar &c : field) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    }
}

// The code points of a text, each as a view (a surrogate pair is one).
QList<QStringView> codePoints(QStringView text)
{
    QList<QStringView> points;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
        points << text.mid(i, length);
        i += length;
    }
    return points;
}

bool allEncodable(QStringView text, const EncodableCharacters &encodable)
{
    for (const QStringView point : codePoints(text)) {
        if (!encodable.canEncode(point))
            return false;
    }
    return true;
}

// A character decomposed into characters the code page holds: its base
// letter composed with as many of its combining marks as the code page has
// a letter for, then the other marks. Canonically the same text. Empty when
// there is no such form.
QString decomposedForm(QStringView character, const EncodableCharacters &encodable)
{
    const QString decomposed = character.toString().normalized(QString::NormalizationForm_D);
    if (decomposed == character)
        return QString();
    const QList<QStringView> points = codePoints(decomposed);
    const int marks = int(points.size()) - 1;
    if (marks < 1 || marks > 6)
        return QString();
    QString best;
    for (unsigned composedMarks = 0; composedMarks < (1u << marks); ++composedMarks) {
        QString head = points.first().toString();
        QString rest;
        for (int m = 0; m < marks; ++m)
            ((composedMarks >> m) & 1u ? head : rest) += points.at(m + 1);
        const QString composed = head.normalized(QString::NormalizationForm_C);
        if (composedMarks != 0 && codePoints(composed).size() != 1)
            continue;
        const QString candidate = composed + rest;
        if ((best.isEmpty() || candidate.size() < best.size()) && allEncodable(candidate, encodable)
            && candidate.normalized(QString::NormalizationForm_D) == decomposed)
            best = candidate;
    }
    return best;
}

} // namespace

ProgramTextEncoder::ProgramTextEncoder(QTextCodec *codec)
    : m_codec(codec), m_encodable(&EncodableCharacters::of(codec))
{
}

QString ProgramTextEncoder::writable(DocTable table, int row, int column, const QString &text,
                                     QList<UnencodableCell> *unencodable) const
{
    QString field = text;
    replaceSeparators(field);
    if (allEncodable(field, *m_encodable))
        return field;
    QString out;
    QString missing;
    for (const QStringView point : codePoints(field)) {
        if (m_encodable->canEncode(point)) {
            out += point;
            continue;
        }
        const QString decomposed = decomposedForm(point, *m_encodable);
        if (!decomposed.isEmpty()) {
            out += decomposed;
            continue;
        }
        // The codec writes its own replacement character for this one;
        // some would write nothing at all for characters without a glyph.
        out += QChar(QChar::ReplacementCharacter);
        if (!missing.contains(point))
            missing += point;
    }
    if (unencodable && !missing.isEmpty())
        unencodable->append({table, row, column, missing});
    return out;
}

QByteArray ProgramTextEncoder::encode(const QString &text) const
{
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    return m_codec->fromUnicode(text.constData(), int(text.size()), &state);
}

bool rowIsWritten(const DocumentCells &cells, DocTable table, int row)
{
    const TableFormat &format = tableFormat(table);
    for (int i = 0; i < format.cellCount; ++i) {
        if (format.cells[i].required && cells.cellText(format.table, row, format.cells[i].column).isEmpty())
            return false;
    }
    return true;
}

bool rowIsLeftOut(const DocumentCells &cells, DocTable table, int row, LeftOutRow *left)
{
    const TableFormat &format = tableFormat(table);
    LeftOutRow found{table, row, {}};
    bool holdsText = false;
    for (int i = 0; i < format.cellCount; ++i) {
        const bool empty = cells.cellText(format.table, row, format.cells[i].column).isEmpty();
        holdsText = holdsText || !empty;
        if (empty && format.cells[i].required)
            found.missingColumns << format.cells[i].column;
    }
    const bool leftOut = holdsText && !found.missingColumns.isEmpty();
    if (leftOut && left)
        *left = found;
    return leftOut;
}

QList<LeftOutRow> rowsLeftOut(const DocumentCells &cells)
{
    QList<LeftOutRow> found;
    for (int t = 0; t < kTableCount; ++t) {
        const TableFormat &format = tableFormat(tableAt(t));
        for (int row = 0; row < format.rows; ++row) {
            LeftOutRow left;
            if (rowIsLeftOut(cells, format.table, row, &left))
                found << left;
        }
    }
    return found;
}

QString recordLine(const DocumentCells &cells, DocTable table, int row, const ProgramTextEncoder &encoder,
                   QList<UnencodableCell> *unencodable)
{
    if (!rowIsWritten(cells, table, row))
        return QString();
    const TableFormat &format = tableFormat(table);
    // The columns in the order of their fields.
    const ColumnFormat *byField[kMaxRecordFields] = {};
    for (int i = 0; i < format.cellCount; ++i)
        byField[format.cells[i].field] = &format.cells[i];
    const QChar tab = QLatin1Char('\t');
    QString line = QString(QChar::fromLatin1(format.letter)) + tab + QString::number(format.firstNumber + row);
    for (const ColumnFormat *cell : byField) {
        if (!cell)
            continue;
        const QString text = cells.cellText(format.table, row, cell->column);
        line += tab + encoder.writable(format.table, row, cell->column, text, unencodable);
    }
    return line;
}

QString sectionLine(DocTable table)
{
    const char *section = tableFormat(table).section;
    return section ? QStringLiteral("\";%1\"").arg(QLatin1String(section)) : QString();
}

QByteArray programFileBytes(const DocumentCells &cells, QTextCodec *codec, const QDateTime &stamp,
                            QList<UnencodableCell> *unencodable)
{
    const ProgramTextEncoder encoder(codec);
    const QString separator = QStringLiteral("\";\"");
    QString text;
    text.reserve(4096);
    auto put = [&](const QString &line) {
        text += line;
        text += QLatin1String(kLineEnd);
    };
    // The time stamp, then each table's records under its section title, and
    // a closing separator.
    put(QStringLiteral("\";%1\"").arg(stamp.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))));
    for (int t = 0; t < kTableCount; ++t) {
        const TableFormat &format = tableFormat(tableAt(t));
        if (format.section) {
            put(separator);
            put(sectionLine(format.table));
        }
        for (int row = 0; row < format.rows; ++row) {
            const QString line = recordLine(cells, format.table, row, encoder, unencodable);
            if (!line.isEmpty())
                put(line);
        }
    }
    put(separator);
    // The whole file at once: the code page's converter is opened once a
    // file, not once a line.
    return encoder.encode(text);
}

qsizetype firstCharacterNoCellHolds(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text.at(i).unicode() < 0x20)
            return i;
    return -1;
}

} // namespace tarvo
