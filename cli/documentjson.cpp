#include "documentjson.h"

#include "cellnames.h"
#include "messages.h"

#include <QRegularExpression>

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

// The parser's events, turned into a tree by nlohmann's own builder, with
// every key checked as it comes: a key given twice in one object is a fault
// (parsers otherwise keep one of the values without a word), and so is
// nesting far deeper than any document goes.
class StrictTreeBuilder
{
public:
    using Builder = nlohmann::detail::json_sax_dom_parser<Json>;

    StrictTreeBuilder(const QByteArray &json, Json &root) : m_json(json), m_builder(root, false) {}

    QString error() const { return m_error; }

    bool null() { return value() && m_builder.null(); }
    bool boolean(bool v) { return value() && m_builder.boolean(v); }
    bool number_integer(Json::number_integer_t v) { return value() && m_builder.number_integer(v); }
    bool number_unsigned(Json::number_unsigned_t v) { return value() && m_builder.number_unsigned(v); }
    bool number_float(Json::number_float_t v, const std::string &s) { return value() && m_builder.number_float(v, s); }
    bool string(std::string &v) { return value() && m_builder.string(v); }
    bool binary(Json::binary_t &v) { return value() && m_builder.binary(v); }
    bool start_object(std::size_t n) { return open(false) && m_builder.start_object(n); }
    bool start_array(std::size_t n) { return open(true) && m_builder.start_array(n); }
    bool end_object() { return close() && m_builder.end_object(); }
    bool end_array() { return close() && m_builder.end_array(); }

    bool key(std::string &key)
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
        return m_builder.key(key);
    }

    bool parse_error(std::size_t position, const std::string &lastRead, const nlohmann::detail::exception &fault)
    {
        // "[json.exception.parse_error.101] parse error at line 2, column 14: syntax
        // error while parsing value - invalid literal; last read: '[x'": the reason,
        // with a long last token left out, and our own position.
        QString reason = QString::fromUtf8(fault.what());
        reason.remove(QRegularExpression(QStringLiteral("^\\[json\\.exception\\.[^]]*\\] (parse error[^:]*: )?")));
        if (lastRead.size() > 40)
            reason.remove(QStringLiteral("; last read: '") + fromJson(lastRead) + QLatin1Char('\''));
        // The parser's reason is English: a translated message gives only
        // the place.
        const char *const withReason = QT_TRANSLATE_NOOP("TarvoPrg", "input: not JSON: %1 at %2");
        const QString where = positionOf(m_json, qsizetype(position) - 1);
        m_error = Messages::tr(withReason) == QLatin1String(withReason)
                      ? QString::fromLatin1(withReason).arg(reason, where)
                      : Messages::tr("input: not JSON at %1").arg(where);
        return false;
    }

private:
    static constexpr std::size_t kMaxDepth = 512;

    // An array or object being read, and where in it the parser is.
    struct Open
    {
        bool array = false;
        PathStep step;
        std::set<std::string> keys;
    };

    bool value()
    {
        if (!m_open.empty() && m_open.back().array)
            ++m_open.back().step.index;
        return true;
    }

    bool open(bool array)
    {
        value();
        if (m_open.size() >= kMaxDepth) {
            m_error = Messages::tr("input: arrays and objects nested deeper than %1 levels").arg(kMaxDepth);
            return false;
        }
        Open entry;
        entry.array = array;
        m_open.push_back(std::move(entry));
        return true;
    }

    bool close()
    {
        m_open.pop_back();
        return true;
    }

    const QByteArray &m_json;
    Builder m_builder;
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
