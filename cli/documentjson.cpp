#include "documentjson.h"

#include "cellnames.h"
#include "jsonduplicatekeys.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>

namespace tarvo {

namespace {

// A table's shape in JSON: one string for a table of one cell, an array of
// strings for one column, an array of objects keyed by column name for more.
enum class Shape { Text, Texts, Records };

Shape shapeOf(const TableFormat &format)
{
    if (format.cellCount > 1)
        return Shape::Records;
    return format.rows == 1 ? Shape::Text : Shape::Texts;
}

// ---- Writing ----------------------------------------------------------------

void appendString(QByteArray &out, const QString &text)
{
    static const char hex[] = "0123456789abcdef";
    out += '"';
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            if (byte < 0x20) {
                out += "\\u00";
                out += hex[byte >> 4];
                out += hex[byte & 0xf];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void appendRecord(QByteArray &out, const DocumentCells &document, const TableFormat &format, int row)
{
    out += '{';
    for (int i = 0; i < format.cellCount; ++i) {
        if (i > 0)
            out += ", ";
        appendString(out, QString::fromLatin1(format.cells[i].name));
        out += ": ";
        appendString(out, document.cellText(format.table, row, format.cells[i].column));
    }
    out += '}';
}

// ---- Reading ----------------------------------------------------------------

QString kindOf(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null: return QStringLiteral("null");
    case QJsonValue::Bool: return QStringLiteral("a boolean");
    case QJsonValue::Double: return QStringLiteral("a number");
    case QJsonValue::String: return QStringLiteral("a string");
    case QJsonValue::Array: return QStringLiteral("an array");
    case QJsonValue::Object: return QStringLiteral("an object");
    case QJsonValue::Undefined: break;
    }
    return QStringLiteral("nothing");
}

QString misplaced(const QString &where, const QJsonValue &value, const char *wanted)
{
    return QStringLiteral("%1: %2 where %3 belongs").arg(where, kindOf(value), QLatin1String(wanted));
}

QString quotedKey(const QString &key)
{
    QByteArray quoted;
    appendString(quoted, key.left(64));
    return QString::fromUtf8(quoted);
}

class JsonReader
{
public:
    explicit JsonReader(DocumentData &document) : m_document(document) {}

    bool read(const QJsonObject &root)
    {
        for (auto it = root.begin(); it != root.end(); ++it) {
            const QString key = it.key();
            const TableFormat *format = tableWithKey(key);
            if (!format)
                return fail(QStringLiteral("document: unknown key %1").arg(quotedKey(key)));
            bool ok = false;
            switch (shapeOf(*format)) {
            case Shape::Text:
                ok = readText(cellName(format->table, 0, format->cells[0].column), it.value(), format->table, 0,
                              format->cells[0].column);
                break;
            case Shape::Texts: ok = readTexts(key, it.value(), *format); break;
            case Shape::Records: ok = readRecords(key, it.value(), *format); break;
            }
            if (!ok)
                return false;
        }
        return true;
    }

    QString error() const { return m_error; }

private:
    bool fail(const QString &message)
    {
        m_error = message;
        return false;
    }

    bool readText(const QString &where, const QJsonValue &value, DocTable table, int row, int column)
    {
        if (!value.isString())
            return fail(misplaced(where, value, "a string"));
        const QString text = value.toString();
        // An escaped lone surrogate is no character: no code page and no
        // JSON output could carry it, so the cell would change on its way out.
        if (!QStringView(text).isValidUtf16())
            return fail(QStringLiteral("%1: text with an unpaired surrogate").arg(where));
        m_document.setCellText(table, row, column, text);
        return true;
    }

    // An array of at most one entry a row; returns false when `value` is none.
    bool checkArray(const QString &where, const QJsonValue &value, DocTable table, const char *entries)
    {
        if (!value.isArray())
            return fail(misplaced(where, value, "an array"));
        const qsizetype size = value.toArray().size();
        if (size > rowCount(table)) {
            return fail(QStringLiteral("%1: %2 entries where at most %3 %4 belong")
                            .arg(where)
                            .arg(size)
                            .arg(rowCount(table))
                            .arg(QLatin1String(entries)));
        }
        return true;
    }

    static const TableFormat *tableWithKey(const QString &key)
    {
        for (int t = 0; t < kTableCount; ++t) {
            if (key == QLatin1String(tableFormat(tableAt(t)).jsonKey))
                return &tableFormat(tableAt(t));
        }
        return nullptr;
    }

    bool readTexts(const QString &where, const QJsonValue &value, const TableFormat &format)
    {
        if (!checkArray(where, value, format.table, "strings"))
            return false;
        const QJsonArray array = value.toArray();
        for (int row = 0; row < array.size(); ++row) {
            if (!readText(cellName(format.table, row, format.cells[0].column), array.at(row), format.table, row,
                          format.cells[0].column))
                return false;
        }
        return true;
    }

    bool readRecords(const QString &where, const QJsonValue &value, const TableFormat &format)
    {
        if (!checkArray(where, value, format.table, "objects"))
            return false;
        const QJsonArray array = value.toArray();
        for (int row = 0; row < array.size(); ++row) {
            const QString entry = rowName(format.table, row);
            const QJsonValue item = array.at(row);
            if (!item.isObject())
                return fail(misplaced(entry, item, "an object"));
            const QJsonObject object = item.toObject();
            for (auto it = object.begin(); it != object.end(); ++it) {
                const ColumnFormat *field = nullptr;
                for (int i = 0; i < format.cellCount && !field; ++i) {
                    if (it.key() == QLatin1String(format.cells[i].name))
                        field = &format.cells[i];
                }
                if (!field)
                    return fail(QStringLiteral("%1: unknown key %2").arg(entry, quotedKey(it.key())));
                if (!readText(cellName(format.table, row, field->column), it.value(), format.table, row, field->column))
                    return false;
            }
        }
        return true;
    }

    DocumentData &m_document;
    QString m_error;
};

// Line and column (both from 1) of a byte offset, for parse errors.
QString positionOf(const QByteArray &json, qsizetype offset)
{
    offset = qBound<qsizetype>(0, offset, json.size());
    int line = 1;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < offset; ++i) {
        if (json.at(i) == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    return QStringLiteral("line %1, column %2").arg(line).arg(offset - lineStart + 1);
}

// Where in the document an object is, as messages name it: "document",
// "department 4", or the JSON path where the shape is not the document's.
QString placeOf(const QVariantList &path)
{
    if (path.isEmpty())
        return QStringLiteral("document");
    for (int t = 0; t < kTableCount; ++t) {
        const TableFormat &format = tableFormat(tableAt(t));
        if (path.first().toString() != QLatin1String(format.jsonKey))
            continue;
        if (path.size() == 2 && path.at(1).typeId() == QMetaType::Int && path.at(1).toInt() < format.rows)
            return rowName(format.table, path.at(1).toInt());
    }
    QString json;
    for (const QVariant &step : path)
        json += step.typeId() == QMetaType::Int ? QStringLiteral("[%1]").arg(step.toInt())
                                                : (json.isEmpty() ? QString() : QStringLiteral(".")) + step.toString();
    return json;
}

} // namespace

bool documentFromJson(const QByteArray &json, DocumentData *document, QString *error)
{
    auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (json.size() > kMaxDocumentJsonBytes)
        return fail(QStringLiteral("input: larger than %1 bytes").arg(kMaxDocumentJsonBytes));

    if (json.trimmed().isEmpty())
        return fail(QStringLiteral("input: empty, where a JSON document belongs"));

    QJsonParseError parseError;
    const QJsonDocument parsed = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        return fail(QStringLiteral("input: not JSON: %1 at %2")
                        .arg(parseError.errorString(), positionOf(json, parseError.offset)));
    }
    if (!parsed.isObject()) {
        const QJsonValue root = parsed.isArray() ? QJsonValue(parsed.array()) : QJsonValue();
        return fail(misplaced(QStringLiteral("document"), root, "an object"));
    }

    DuplicateKey duplicate;
    if (findDuplicateKey(json, &duplicate))
        return fail(QStringLiteral("%1: key %2 given twice").arg(placeOf(duplicate.path), quotedKey(duplicate.key)));

    DocumentData filled;
    JsonReader reader(filled);
    if (!reader.read(parsed.object()))
        return fail(reader.error());
    if (document)
        *document = filled;
    return true;
}

QByteArray documentToJson(const DocumentCells &document)
{
    QByteArray out = "{";
    for (int t = 0; t < kTableCount; ++t) {
        const TableFormat &format = tableFormat(tableAt(t));
        out += t == 0 ? "\n  " : ",\n  ";
        appendString(out, QString::fromLatin1(format.jsonKey));
        out += ": ";
        const Shape shape = shapeOf(format);
        if (shape == Shape::Text) {
            appendString(out, document.cellText(format.table, 0, format.cells[0].column));
            continue;
        }
        out += '[';
        for (int row = 0; row < format.rows; ++row) {
            out += row == 0 ? "\n    " : ",\n    ";
            if (shape == Shape::Records)
                appendRecord(out, document, format, row);
            else
                appendString(out, document.cellText(format.table, row, format.cells[0].column));
        }
        out += "\n  ]";
    }
    out += "\n}\n";
    return out;
}

} // namespace tarvo
