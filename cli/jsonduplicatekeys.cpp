#include "jsonduplicatekeys.h"

#include <QSet>

namespace tarvo {

namespace {

// Walks a JSON text that a parser has already accepted, so that it need not
// check its grammar, only follow it.
class KeyScanner
{
public:
    explicit KeyScanner(const QByteArray &json) : m_json(json) {}

    bool scan(DuplicateKey *found)
    {
        m_found = found;
        return value(0);
    }

private:
    static constexpr int kMaxDepth = 4096;

    char at() const { return m_pos < m_json.size() ? m_json.at(m_pos) : '\0'; }

    void skipSpace()
    {
        while (m_pos < m_json.size() && (at() == ' ' || at() == '\t' || at() == '\n' || at() == '\r'))
            ++m_pos;
    }

    // The string at the current position, decoded; the position moves past it.
    QString string()
    {
        QString text;
        ++m_pos; // the opening quote
        qsizetype runStart = m_pos;
        auto flushRun = [&] { text += QString::fromUtf8(m_json.constData() + runStart, m_pos - runStart); };
        while (m_pos < m_json.size() && at() != '"') {
            if (at() != '\\') {
                ++m_pos;
                continue;
            }
            flushRun();
            const char escaped = m_pos + 1 < m_json.size() ? m_json.at(m_pos + 1) : '\0';
            m_pos += 2;
            switch (escaped) {
            case 'b': text += QLatin1Char('\b'); break;
            case 'f': text += QLatin1Char('\f'); break;
            case 'n': text += QLatin1Char('\n'); break;
            case 'r': text += QLatin1Char('\r'); break;
            case 't': text += QLatin1Char('\t'); break;
            case 'u':
                text += QChar(char16_t(QByteArray(m_json.constData() + m_pos, 4).toUShort(nullptr, 16)));
                m_pos += 4;
                break;
            default: text += QLatin1Char(escaped); break;
            }
            runStart = m_pos;
        }
        flushRun();
        ++m_pos; // the closing quote
        return text;
    }

    bool value(int depth)
    {
        if (depth > kMaxDepth)
            return false;
        skipSpace();
        const char c = at();
        if (c == '{')
            return object(depth);
        if (c == '[')
            return array(depth);
        if (c == '"') {
            string();
            return false;
        }
        while (m_pos < m_json.size() && at() != ',' && at() != ']' && at() != '}' && at() != ' '
               && at() != '\t' && at() != '\n' && at() != '\r')
            ++m_pos;
        return false;
    }

    bool object(int depth)
    {
        ++m_pos;
        QSet<QString> keys;
        skipSpace();
        while (m_pos < m_json.size() && at() != '}') {
            if (at() == ',') {
                ++m_pos;
                skipSpace();
            }
            const QString key = string();
            if (keys.contains(key)) {
                m_found->key = key;
                return true;
            }
            keys.insert(key);
            skipSpace();
            ++m_pos; // the colon
            if (value(depth + 1)) {
                m_found->path.prepend(key);
                return true;
            }
            skipSpace();
        }
        ++m_pos;
        return false;
    }

    bool array(int depth)
    {
        ++m_pos;
        int index = 0;
        skipSpace();
        while (m_pos < m_json.size() && at() != ']') {
            if (at() == ',') {
                ++m_pos;
                ++index;
            }
            if (value(depth + 1)) {
                m_found->path.prepend(index);
                return true;
            }
            skipSpace();
        }
        ++m_pos;
        return false;
    }

    const QByteArray &m_json;
    qsizetype m_pos = 0;
    DuplicateKey *m_found = nullptr;
};

} // namespace

bool findDuplicateKey(const QByteArray &json, DuplicateKey *found)
{
    DuplicateKey result;
    if (!KeyScanner(json).scan(&result))
        return false;
    if (found)
        *found = result;
    return true;
}

} // namespace tarvo
