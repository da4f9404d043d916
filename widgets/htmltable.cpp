#include "htmltable.h"

namespace {

// The entity at `pos` ("&...;"), decoded; false where it is none known.
bool decodeEntity(const QString &html, qsizetype &pos, QString *out)
{
    const qsizetype end = html.indexOf(QLatin1Char(';'), pos);
    if (end < 0 || end - pos > 10)
        return false;
    const QString name = html.mid(pos + 1, end - pos - 1);
    char32_t code = 0;
    if (name.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const bool hex = name.size() > 1 && (name.at(1) == QLatin1Char('x') || name.at(1) == QLatin1Char('X'));
        code = hex ? name.mid(2).toUInt(&ok, 16) : name.mid(1).toUInt(&ok, 10);
        if (!ok || code == 0 || code > 0x10FFFF)
            return false;
    } else {
        static const QList<QPair<QLatin1String, char32_t>> named{
            {QLatin1String("amp"), U'&'},   {QLatin1String("lt"), U'<'},      {QLatin1String("gt"), U'>'},
            {QLatin1String("quot"), U'"'},  {QLatin1String("apos"), U'\''},   {QLatin1String("nbsp"), 0x00A0},
            {QLatin1String("euro"), 0x20AC},
        };
        for (const auto &[entity, value] : named)
            if (name == entity)
                code = value;
        if (code == 0)
            return false;
    }
    *out += QString::fromUcs4(&code, 1);
    pos = end + 1;
    return true;
}

// The tag's name at `pos` ("<td ...>" gives "td", "</tr>" gives "/tr"), in
// lower case; `pos` moves past the tag. `attributes` receives the rest.
QString readTag(const QString &html, qsizetype &pos, QString *attributes)
{
    const qsizetype end = html.indexOf(QLatin1Char('>'), pos);
    const QString tag = html.mid(pos + 1, (end < 0 ? html.size() : end) - pos - 1).trimmed();
    pos = end < 0 ? html.size() : end + 1;
    qsizetype nameEnd = 0;
    while (nameEnd < tag.size() && !tag.at(nameEnd).isSpace() && tag.at(nameEnd) != QLatin1Char('/'))
        ++nameEnd;
    if (nameEnd == 0 && tag.startsWith(QLatin1Char('/'))) {
        nameEnd = 1;
        while (nameEnd < tag.size() && !tag.at(nameEnd).isSpace())
            ++nameEnd;
    }
    *attributes = tag.mid(nameEnd).toLower();
    return tag.left(nameEnd).toLower();
}

bool spans(const QString &attributes)
{
    for (const char *span : {"colspan", "rowspan"}) {
        const qsizetype at = attributes.indexOf(QLatin1String(span));
        if (at < 0)
            continue;
        QString value = attributes.mid(at + qsizetype(qstrlen(span)));
        value.remove(QLatin1Char('=')).remove(QLatin1Char('"')).remove(QLatin1Char('\''));
        if (value.trimmed().toInt() != 1)
            return true;
    }
    return false;
}

} // namespace

QList<QStringList> htmlTableCells(const QString &html)
{
    const qsizetype start = html.indexOf(QLatin1String("<table"), 0, Qt::CaseInsensitive);
    if (start < 0)
        return {};
    QList<QStringList> rows;
    QString cell;
    bool inRow = false;
    bool inCell = false;
    auto endCell = [&] {
        if (inCell)
            rows.last().append(cell);
        inCell = false;
        cell.clear();
    };
    qsizetype pos = html.indexOf(QLatin1Char('>'), start) + 1;
    while (pos > 0 && pos < html.size()) {
        const QChar c = html.at(pos);
        if (c == QLatin1Char('<')) {
            if (html.mid(pos, 4) == QLatin1String("<!--")) {
                const qsizetype end = html.indexOf(QLatin1String("-->"), pos);
                pos = end < 0 ? html.size() : end + 3;
                continue;
            }
            QString attributes;
            const QString tag = readTag(html, pos, &attributes);
            if (tag == QLatin1String("table"))
                return {}; // a table inside a cell
            if (tag == QLatin1String("/table"))
                break;
            if (tag == QLatin1String("tr")) {
                endCell();
                rows.append(QStringList());
                inRow = true;
            } else if (tag == QLatin1String("/tr")) {
                endCell();
                inRow = false;
            } else if (tag == QLatin1String("td") || tag == QLatin1String("th")) {
                if (!inRow || spans(attributes))
                    return {};
                endCell();
                inCell = true;
            } else if (tag == QLatin1String("/td") || tag == QLatin1String("/th")) {
                endCell();
            } else if (tag == QLatin1String("br") && inCell) {
                cell += QLatin1Char('\n');
            }
            continue;
        }
        if (c == QLatin1Char('&') && inCell) {
            if (!decodeEntity(html, pos, &cell))
                return {};
            continue;
        }
        // The source's own line breaks only lay the text out.
        if (inCell && c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            cell += c;
        ++pos;
    }
    endCell();
    rows.removeIf([](const QStringList &row) { return row.isEmpty(); });
    return rows;
}
