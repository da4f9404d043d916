#include "paramnamesfile.h"

#include <QDomDocument>
#include <QDomElement>
#include <QFile>
#include <QFileInfo>
#include <QTextCodec>
#include <QXmlStreamReader>

namespace tarvo {

namespace {

// A names file holds 26 short entries; anything near these limits is not one.
constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;
constexpr int kMaxDepth = 64;

QStringList emptyNames() { return QStringList(QVector<QString>(kParamCount)); }

// Refuses documents nested deeper than any names file is, before the DOM
// parser builds (and later tears down) a tree of that depth.
bool nestingIsSane(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    int depth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth > kMaxDepth)
                return false;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    return !reader.hasError();
}

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
    if (!nestingIsSane(xml))
        return false;
    QDomDocument document(QStringLiteral("TARVO_ML"));
    if (!document.setContent(xml))
        return false;
    const QDomElement root = document.documentElement();
    if (root.tagName() != QLatin1String("Tarvo_Root"))
        return false;
    const QDomElement list = root.firstChildElement(QStringLiteral("Tarvo_Names"));
    if (list.isNull())
        return false;

    QStringList found = emptyNames();
    for (QDomNode node = list.firstChild(); !node.isNull(); node = node.nextSibling()) {
        const QDomElement entry = node.toElement();
        if (entry.isNull() || entry.tagName() != QLatin1String("SYSPAR_NAME"))
            continue;
        // A 16-bit signed decimal number; anything else reads as 0.
        bool ok = false;
        const short number = entry.attribute(QStringLiteral("Number")).toShort(&ok, 10);
        if (!ok || number < 1 || number > kParamCount)
            continue;
        found[number - 1] = throughEncoding(entry.attribute(QStringLiteral("Name")), codec);
    }
    *names = found;
    return true;
}

NamesLoad loadParamNamesFile(const QString &path, QTextCodec *codec, QStringList *names)
{
    *names = emptyNames();
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize)
        return NamesLoad::CannotOpen;
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    file.close();
    if (bytes.size() > kMaxFileSize)
        return NamesLoad::CannotOpen;
    if (!hasNamesMarker(bytes))
        return NamesLoad::WrongEncoding;
    if (!parseParamNames(bytes, codec, names))
        return NamesLoad::BadFormat;
    return NamesLoad::Loaded;
}

} // namespace tarvo
