#include "paramnamesfile.h"

#include "xmlmarkupscan.h"

#include <QTextCodec>
#include <QXmlStreamReader>

namespace tarvo {

namespace {

// A names file holds 26 short entries; anything near these limits is not one.
constexpr int kMaxDepth = 64;
constexpr int kMaxElements = 10000;

QStringList emptyNames() { return QStringList(QVector<QString>(kParamCount)); }

// The names of one file, read in one pass over the XML without building a
// tree: the root must be Tarvo_Root; its first child element Tarvo_Names
// holds the entries, and only its own SYSPAR_NAME children count. Names are
// compared as written, case and prefix included, as a parser without
// namespace processing sees them. The whole document must be well-formed.
class NamesReader
{
public:
    NamesReader(const QByteArray &xml, QTextCodec *codec) : m_reader(xml), m_codec(codec)
    {
        m_reader.setNamespaceProcessing(false);
    }

    bool read(QStringList *names)
    {
        QStringList found = emptyNames();
        bool rootChecked = false;
        bool listSeen = false;   // the first Tarvo_Names has begun
        bool inList = false;     // inside it, at its own level
        int depth = 0;
        int elements = 0;
        while (!m_reader.atEnd()) {
            switch (m_reader.readNext()) {
            case QXmlStreamReader::StartElement: {
                if (++depth > kMaxDepth || ++elements > kMaxElements)
                    return false;
                const QStringView name = m_reader.qualifiedName();
                if (depth == 1) {
                    if (name != QLatin1String("Tarvo_Root"))
                        return false;
                    rootChecked = true;
                } else if (depth == 2 && !listSeen && name == QLatin1String("Tarvo_Names")) {
                    listSeen = true;
                    inList = true;
                } else if (depth == 3 && inList && name == QLatin1String("SYSPAR_NAME")) {
                    readEntry(&found);
                }
                break;
            }
            case QXmlStreamReader::EndElement:
                if (depth == 2)
                    inList = false;
                --depth;
                break;
            default:
                break;
            }
        }
        if (m_reader.hasError() || !rootChecked || !listSeen)
            return false;
        *names = found;
        return true;
    }

private:
    void readEntry(QStringList *found)
    {
        const QXmlStreamAttributes attributes = m_reader.attributes();
        // A 16-bit signed decimal number; anything else reads as 0.
        bool ok = false;
        const short number = attributes.value(QLatin1String("Number")).toShort(&ok, 10);
        if (!ok || number < 1 || number > kParamCount)
            return;
        (*found)[number - 1] = throughEncoding(attributes.value(QLatin1String("Name")).toString(), m_codec);
    }

    QXmlStreamReader m_reader;
    QTextCodec *m_codec;
};

} // namespace

bool hasNamesMarker(const QByteArray &bytes)
{
    static const QByteArray marker = QStringLiteral("Кворвел Лабс").toUtf8();
    return bytes.contains(marker);
}

QString throughEncoding(const QString &name, QTextCodec *codec)
{
    QTextCodec::ConverterState toBytes(QTextCodec::IgnoreHeader);
    QByteArray bytes = codec->fromUnicode(name.constData(), int(name.size()), &toBytes);
    const int zero = int(bytes.indexOf('\0'));
    if (zero >= 0)
        bytes.truncate(zero);
    QTextCodec::ConverterState toText(QTextCodec::IgnoreHeader);
    return codec->toUnicode(bytes.constData(), int(bytes.size()), &toText);
}

bool parseParamNames(const QByteArray &xml, QTextCodec *codec, QStringList *names)
{
    if (!xmlMarkupIsModest(xml))
        return false;
    return NamesReader(xml, codec).read(names);
}

} // namespace tarvo
