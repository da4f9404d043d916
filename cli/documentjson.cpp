#include "documentjson.h"

#include "cellnames.h"
#include "messages.h"


#include <nlohmann/json.hpp>

#include <set>
#include <string>
#include <vector>

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

using Json = nlohmann::json;

QString kindOf(const Json &value)
{
    switch (value.type()) {
    case Json::value_t::null: return QStringLiteral("null");
    case Json::value_t::boolean: return Messages::tr("a boolean");
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float: return Messages::tr("a number");
    case Json::value_t::string: return Messages::tr("a string");
    case Json::value_t::array: return Messages::tr("an array");
    case Json::value_t::object: return Messages::tr("an object");
    case Json::value_t::binary:
    case Json::value_t::discarded: break;
    }
    return Messages::tr("nothing");
}

QString misplaced(const QString &where, const Json &value, const char *wanted)
{
    return Messages::tr("%1: %2 where %3 belongs").arg(where, kindOf(value), Messages::tr(wanted));
}

QString fromJson(const std::string &text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString quotedKey(const std::string &key)
{
    QByteArray quoted;
    appendString(quoted, fromJson(key).left(64));
    return QString::fromUtf8(quoted);
}

class JsonReader
{
public:
    explicit JsonReader(DocumentData &document) : m_document(document) {}

    bool read(const Json &root)
    {
        for (const auto &[key, value] : root.items()) {
            const TableFormat *format = tableWithKey(key);
            if (!format)
                return fail(Messages::tr("document: unknown key %1").arg(quotedKey(key)));
            const QString where = QString::fromLatin1(format->jsonKey);
            bool ok = false;
            switch (shapeOf(*format)) {
            case Shape::Text:
                ok = readText(cellName(format->table, 0, format->cells[0].column), value, format->table, 0,
                              format->cells[0].column);
                break;
            case Shape::Texts: ok = readTexts(where, value, *format); break;
            case Shape::Records: ok = readRecords(where, value, *format); break;
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

    bool readText(const QString &where, const Json &value, DocTable table, int row, int column)
    {
        if (!value.is_string())
            return fail(misplaced(where, value, QT_TRANSLATE_NOOP("TarvoPrg", "a string")));
        // The parser takes only well-formed UTF-8 and paired surrogates, so
        // every text is one that a code page or the JSON output can carry.
        m_document.setCellText(table, row, column, fromJson(value.get_ref<const std::string &>()));
        return true;
    }

    // An array of at most one entry a row; returns false when `value` is none.
    bool checkArray(const QString &where, const Json &value, DocTable table, const char *entries)
    {
        if (!value.is_array())
            return fail(misplaced(where, value, QT_TRANSLATE_NOOP("TarvoPrg", "an array")));
        if (value.size() > std::size_t(rowCount(table))) {
            return fail(Messages::tr("%1: %2 entries where at most %3 %4 belong")
                            .arg(where)
                            .arg(value.size())
                            .arg(rowCount(table))
                            .arg(Messages::tr(entries)));
        }
        return true;
    }

    static const TableFormat *tableWithKey(const std::string &key)
    {
        for (int t = 0; t < kTableCount; ++t) {
            if (key == tableFormat(tableAt(t)).jsonKey)
                return &tableFormat(tableAt(t));
        }
        return nullptr;
    }

    bool readTexts(const QString &where, const Json &value, const TableFormat &format)
    {
        if (!checkArray(where, value, format.table, QT_TRANSLATE_NOOP("TarvoPrg", "strings")))
            return false;
        for (int row = 0; row < int(value.size()); ++row) {
            if (!readText(cellName(format.table, row, format.cells[0].column), value[std::size_t(row)], format.table,
                          row, format.cells[0].column))
                return false;
        }
        return true;
    }

    bool readRecords(const QString &where, const Json &value, const TableFormat &format)
    {
        if (!checkArray(where, value, format.table, QT_TRANSLATE_NOOP("TarvoPrg", "objects")))
            return false;
        for (int row = 0; row < int(value.size()); ++row) {
            const QString entry = rowName(format.table, row);
            const Json &item = value[std::size_t(row)];
            if (!item.is_object())
                return fail(misplaced(entry, item, QT_TRANSLATE_NOOP("TarvoPrg", "an object")));
            for (const auto &[key, cell] : item.items()) {
                const ColumnFormat *field = nullptr;
                for (int i = 0; i < format.cellCount && !field; ++i) {
                    if (key == format.cells[i].name)
                        field = &format.cells[i];
                }
                if (!field)
                    return fail(Messages::tr("%1: unknown key %2").arg(entry, quotedKey(key)));
                if (!readText(cellName(format.table, row, field->column), cell, format.table, row, field->column))
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
    return Messages::tr("line %1, column %2").arg(line).arg(offset - lineStart + 1);
}

// One step of the way from the root to a value: a key or an array index.
struct PathStep
{
    std::string key;
    long index = -1; // an array entry when >= 0
};

// Where in the document an object is, as messages name it: "document",
// "department 4", or the JSON path where the shape is not the document's.
QString placeOf(const std::vector<PathStep> &path)
{
    if (path.empty())
        return Messages::tr("document");
    for (int t = 0; t < kTableCount; ++t) {
        const TableFormat &format = tableFormat(tableAt(t));
        if (path.front().index >= 0 || path.front().key != format.jsonKey)
            continue;
        if (path.size() == 2 && path[1].index >= 0 && path[1].index < format.rows)
            return rowName(format.table, int(path[1].index));
    }
    QString json;
    for (const PathStep &step : path)
        json += step.index >= 0 ? QStringLiteral("[%1]").arg(step.index)
                                : (json.isEmpty() ? QString() : QStringLiteral(".")) + fromJson(step.key);
    return json;
}

// Where in the input a fault is: within a string (from `stringStart`, its
// opening quote) or between values.
struct FaultPlace
{
    bool inString = false;
    qsizetype stringStart = -1;
};

FaultPlace placeOfFault(const QByteArray &json, qsizetype offset)
{
    FaultPlace place;
    const qsizetype end = qMin(offset, json.size());
    for (qsizetype i = 0; i < end; ++i) {
        const char c = json.at(i);
        if (!place.inString) {
            if (c == '"') {
                place.inString = true;
                place.stringStart = i;
            }
        } else if (c == '\\') {
            ++i;
        } else if (c == '"') {
            place.inString = false;
        }
    }
    return place;
}

// The \uXXXX escape of a surrogate that ends the string read up to
// `offset`, if any.
QString loneSurrogate(const QByteArray &json, const FaultPlace &place, qsizetype offset)
{
    if (!place.inString)
        return QString();
    const qsizetype escape = json.lastIndexOf("\\u", qMin(offset, json.size() - 1));
    if (escape <= place.stringStart || escape + 6 > json.size())
        return QString();
    bool ok = false;
    const uint unit = QString::fromLatin1(json.mid(escape + 2, 4)).toUInt(&ok, 16);
    if (!ok || unit < 0xD800 || unit > 0xDFFF)
        return QString();
    return QString::fromLatin1(json.mid(escape, 6));
}

// Why the parser stopped at byte `offset`, in our words.
QString syntaxFault(const QByteArray &json, const FaultPlace &place, qsizetype offset)
{
    if (offset >= json.size())
        return Messages::tr("the input ends before the document does");
    const auto byte = static_cast<unsigned char>(json.at(offset));
    if (place.inString && byte == '"') {
        // A whole string, where none may stand.
        QByteArray shown;
        appendString(shown, QString::fromUtf8(json.mid(place.stringStart + 1, offset - place.stringStart - 1)).left(40));
        return Messages::tr("%1 where it cannot stand").arg(QString::fromUtf8(shown));
    }
    if (place.inString) {
        if (byte >= 0x80)
            return Messages::tr("bytes that are no UTF-8 in a string");
        if (byte < 0x20)
            return Messages::tr("the control character U+%1 in a string, where it must be escaped")
                .arg(uint(byte), 4, 16, QLatin1Char('0'));
        if (offset > 0 && json.at(offset - 1) == '\\')
            return Messages::tr("an escape \\%1 that JSON does not have").arg(QLatin1Char(char(byte)));
        return Messages::tr("a string that is not well-formed");
    }
    // The word or sign that stands where no value or sign may (a word cut
    // short is shown from its start).
    auto isWordByte = [](char c) { return QChar::isLetterOrNumber(uchar(c)) || c == '-' || c == '+' || c == '.'; };
    while (offset > 0 && isWordByte(json.at(offset - 1)) && !place.inString)
        --offset;
    qsizetype end = offset + 1;
    while (end < json.size() && end - offset < 40 && !QByteArrayView(" \t\r\n,:[]{}\"").contains(json.at(end)))
        ++end;
    QByteArray shown;
    appendString(shown, QString::fromUtf8(json.mid(offset, end - offset)));
    return Messages::tr("%1 where it cannot stand").arg(QString::fromUtf8(shown));
}

// The parser's events, turned into a tree, with every key checked as it
// comes: a key given twice in one object is a fault (parsers otherwise keep
// one of the values without a word), and so is nesting far deeper than any
// document goes.
class StrictTreeBuilder : public nlohmann::json_sax<Json>
{
public:
    StrictTreeBuilder(const QByteArray &json, Json &root) : m_json(json), m_root(root) {}

    QString error() const { return m_error; }

    bool null() override { return put(Json(nullptr)) != nullptr; }
    bool boolean(bool v) override { return put(Json(v)) != nullptr; }
    bool number_integer(number_integer_t v) override { return put(Json(v)) != nullptr; }
    bool number_unsigned(number_unsigned_t v) override { return put(Json(v)) != nullptr; }
    bool number_float(number_float_t v, const string_t &) override { return put(Json(v)) != nullptr; }
    bool string(string_t &v) override { return put(Json(std::move(v))) != nullptr; }
    bool binary(binary_t &v) override { return put(Json::binary(std::move(v))) != nullptr; }
    bool start_object(std::size_t) override { return open(Json::value_t::object); }
    bool start_array(std::size_t) override { return open(Json::value_t::array); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }

    bool key(string_t &key) override
    {
        Open &object = m_open.back();
        if (!object.keys.insert(key).second) {
            std::vector<PathStep> path;
            for (std::size_t i = 0; i + 1 < m_open.size(); ++i)
                path.push_back(m_open[i].step);
            m_error = Messages::tr("%1: key %2 given twice").arg(placeOf(path), quotedKey(key));
            return false;
        }
        object.step.key = key;
        return true;
    }

    bool parse_error(std::size_t position, const std::string &, const nlohmann::detail::exception &fault) override
    {
        const qsizetype offset = qsizetype(position) - 1;
        const QString where = positionOf(m_json, offset);
        const FaultPlace place = placeOfFault(m_json, offset);
        // Well-formed JSON that no document can hold: said for what it is.
        constexpr int kNumberOverflow = 406;
        if (fault.id == kNumberOverflow) {
            m_error = Messages::tr("input: a number too large at %1").arg(where);
            return false;
        }
        const QString surrogate = loneSurrogate(m_json, place, offset);
        if (!surrogate.isEmpty()) {
            m_error = Messages::tr("input: a lone surrogate %1 in a string at %2").arg(surrogate, where);
            return false;
        }
        m_error = Messages::tr("input: not JSON: %1 at %2").arg(syntaxFault(m_json, place, offset), where);
        return false;
    }

private:
    static constexpr std::size_t kMaxDepth = 512;

    // An array or object being read, and where in it the parser is.
    struct Open
    {
        Json *value = nullptr;
        bool array = false;
        PathStep step;
        std::set<std::string> keys;
    };

    // Puts a value where the parser is: the root, the next entry of an
    // array, or under the last key of an object.
    Json *put(Json value)
    {
        if (m_open.empty()) {
            m_root = std::move(value);
            return &m_root;
        }
        Open &parent = m_open.back();
        if (parent.array) {
            ++parent.step.index;
            parent.value->push_back(std::move(value));
            return &parent.value->back();
        }
        Json &slot = (*parent.value)[parent.step.key];
        slot = std::move(value);
        return &slot;
    }

    bool open(Json::value_t type)
    {
        if (m_open.size() >= kMaxDepth) {
            m_error = Messages::tr("input: arrays and objects nested deeper than %1 levels").arg(kMaxDepth);
            return false;
        }
        Open entry;
        entry.value = put(Json(type));
        entry.array = type == Json::value_t::array;
        m_open.push_back(std::move(entry));
        return true;
    }

    bool close()
    {
        m_open.pop_back();
        return true;
    }

    const QByteArray &m_json;
    Json &m_root;
    std::vector<Open> m_open;
    QString m_error;
};

} // namespace

bool documentFromJson(const QByteArray &json, DocumentData *document, QString *error)
{
    auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (json.size() > kMaxDocumentJsonBytes)
        return fail(Messages::tr("input: larger than %1 bytes").arg(kMaxDocumentJsonBytes));

    if (json.trimmed().isEmpty())
        return fail(Messages::tr("input: empty, where a JSON document belongs"));

    // One parse: a UTF-8 byte order mark at the start is passed over, every
    // key is checked as it comes.
    Json root;
    StrictTreeBuilder builder(json, root);
    if (!Json::sax_parse(json.constBegin(), json.constEnd(), &builder))
        return fail(builder.error());
    if (!root.is_object())
        return fail(misplaced(Messages::tr("document"), root, QT_TRANSLATE_NOOP("TarvoPrg", "an object")));

    DocumentData filled;
    JsonReader reader(filled);
    if (!reader.read(root))
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
