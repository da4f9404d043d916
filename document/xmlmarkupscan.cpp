#include "xmlmarkupscan.h"

#include <cstring>

namespace tarvo {

namespace {

// A names file entry has two attributes; a hand-written file of any kind
// rarely more than a dozen.
constexpr int kMaxAttributesPerTag = 32;
// Attribute declarations of the document type, all lists together.
constexpr int kMaxDeclaredAttributes = 16;

class Scanner
{
public:
    explicit Scanner(const QByteArray &xml) : m_at(xml.constData()), m_end(xml.constData() + xml.size()) {}

    bool modest()
    {
        while (m_at < m_end) {
            const char *open = static_cast<const char *>(std::memchr(m_at, '<', size_t(m_end - m_at)));
            if (!open)
                return true;
            m_at = open;
            if (startsWith("<!--")) {
                skipPast("-->");
            } else if (startsWith("<![CDATA[")) {
                skipPast("]]>");
            } else if (startsWith("<?")) {
                skipPast("?>");
            } else if (startsWith("<!")) {
                if (!doctypeIsModest())
                    return false;
            } else if (!tagIsModest()) {
                return false;
            }
        }
        return true;
    }

private:
    bool startsWith(const char *text) const
    {
        const size_t length = std::strlen(text);
        return size_t(m_end - m_at) >= length && std::memcmp(m_at, text, length) == 0;
    }

    void skipPast(const char *text)
    {
        const size_t length = std::strlen(text);
        for (const char *p = m_at; p + length <= m_end; ++p) {
            if (std::memcmp(p, text, length) == 0) {
                m_at = p + length;
                return;
            }
        }
        m_at = m_end; // unterminated: the parser will say so
    }

    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    // A start or end tag: counts the attributes, quoted values passed over.
    bool tagIsModest()
    {
        int attributes = 0;
        char quote = 0;
        for (++m_at; m_at < m_end; ++m_at) {
            const char c = *m_at;
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '=') {
                if (++attributes > kMaxAttributesPerTag)
                    return false;
            } else if (c == '>' || c == '<') {
                if (c == '>')
                    ++m_at;
                return true;
            }
        }
        return true;
    }

    // A declaration, the document type with its internal subset included:
    // counts the words of its attribute lists, roughly three a declared
    // attribute (name, type, default).
    bool doctypeIsModest()
    {
        int depth = 0;      // declarations open, the document type itself being 1
        bool inSubset = false;
        bool inList = false; // inside an attribute-list declaration
        bool inWord = false;
        int words = 0;
        char quote = 0;
        while (m_at < m_end) {
            const char c = *m_at;
            if (quote) {
                if (c == quote)
                    quote = 0;
                ++m_at;
                continue;
            }
            if (inSubset && startsWith("<!--")) {
                skipPast("-->");
                continue;
            }
            if (inSubset && startsWith("<?")) {
                skipPast("?>");
                continue;
            }
            if (c == '<') {
                ++depth;
                if (startsWith("<!ATTLIST"))
                    inList = true;
            } else if (c == '>') {
                --depth;
                inList = false;
                if (depth <= 0 && !inSubset) {
                    ++m_at;
                    return true;
                }
            } else if (c == '[' && depth == 1) {
                inSubset = true;
            } else if (c == ']' && depth == 1) {
                inSubset = false;
            } else if (c == '"' || c == '\'') {
                quote = c;
            }
            const bool wordChar = !isSpace(c) && c != '<' && c != '>';
            if (inList && wordChar && !inWord && ++words > 3 * kMaxDeclaredAttributes + 8)
                return false;
            inWord = inList && wordChar;
            ++m_at;
        }
        return true;
    }

    const char *m_at;
    const char *m_end;
};

} // namespace

bool xmlMarkupIsModest(const QByteArray &xml)
{
    return Scanner(xml).modest();
}

} // namespace tarvo
