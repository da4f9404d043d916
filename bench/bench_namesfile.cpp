// Loading hostile parameter names files: every shape that once made an XML
// parser take time out of proportion to the file, each just under the
// 4 MiB size cap (or as large as its shape gets). Start-up waits for this
// load, so each must be loaded or refused within a fraction of a second.
// Prints the median of three loads per shape and what the load said.

#include "paramnamesfile.h"
#include "programfiles.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCodec>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr qsizetype kCap = 4 * 1024 * 1024 - 4096;

const QByteArray kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- Кворвел Лабс -->\n";
const QByteArray kOpen = "<Tarvo_Root><Tarvo_Names>";
const QByteArray kClose = "</Tarvo_Names></Tarvo_Root>\n";

QByteArray fill(const QByteArray &before, const std::function<QByteArray(int)> &piece, const QByteArray &after)
{
    QByteArray xml = before;
    for (int i = 0; xml.size() + after.size() < kCap; ++i)
        xml += piece(i);
    return xml + after;
}

QByteArray n(int i) { return QByteArray::number(i); }

struct Shape
{
    const char *name;
    QByteArray xml;
};

std::vector<Shape> shapes()
{
    std::vector<Shape> s;
    s.push_back({"150,000 attributes on one entry",
                 [] {
                     QByteArray x = kHead + kOpen + "<SYSPAR_NAME Number=\"1\" Name=\"x\"";
                     for (int i = 0; i < 150000; ++i)
                         x += " a" + n(i) + "=\"1\"";
                     return x + "/>" + kClose;
                 }()});
    s.push_back({"32 attributes a tag, many tags",
                 fill(kHead + kOpen,
                      [](int) {
                          QByteArray t = "<e";
                          for (int a = 0; a < 32; ++a)
                              t += " a" + n(a) + "=\"\"";
                          return t + "/>";
                      },
                      kClose)});
    s.push_back({"1,000,000 empty elements", fill(kHead + kOpen, [](int) { return QByteArray("<a/>"); }, kClose)});
    s.push_back({"declared default attributes",
                 [] {
                     QByteArray x = kHead + "<!DOCTYPE Tarvo_Root [<!ATTLIST a";
                     for (int i = 0; i < 16; ++i)
                         x += " d" + n(i) + " CDATA \"v\"";
                     x += ">]>" + kOpen;
                     return fill(x, [](int) { return QByteArray("<a/>"); }, kClose);
                 }()});
    s.push_back({"20,000 declared attributes",
                 [] {
                     QByteArray x = kHead + "<!DOCTYPE Tarvo_Root [<!ATTLIST SYSPAR_NAME";
                     for (int i = 0; i < 20000; ++i)
                         x += " d" + n(i) + " CDATA \"v\"";
                     return x + ">]>" + kOpen + "<SYSPAR_NAME Number=\"1\" Name=\"n\"/>" + kClose;
                 }()});
    s.push_back({"attribute list in a parameter entity",
                 [] {
                     QByteArray list = "<!ATTLIST a";
                     for (int i = 0; i < 2000; ++i)
                         list += " d" + n(i) + " CDATA 'v'";
                     QByteArray x = kHead + "<!DOCTYPE Tarvo_Root [<!ENTITY % p \"" + list + ">\"> %p;]>" + kOpen;
                     return fill(x, [](int) { return QByteArray("<a/>"); }, kClose);
                 }()});
    s.push_back({"50,000 entities, each used",
                 [] {
                     QByteArray x = kHead + "<!DOCTYPE Tarvo_Root [";
                     for (int i = 0; i < 50000; ++i)
                         x += "<!ENTITY e" + n(i) + " \"v\">";
                     x += "]>" + kOpen + "<SYSPAR_NAME Number=\"1\" Name=\"";
                     for (int i = 0; i < 50000; ++i)
                         x += "&e" + n(i) + ";";
                     return x + "\"/>" + kClose;
                 }()});
    s.push_back({"nested entity expansion",
                 [] {
                     QByteArray x = kHead + "<!DOCTYPE Tarvo_Root [<!ENTITY a \"xxxxxxxxxx\">";
                     const char *names = "abcdefgh";
                     for (int i = 1; i < 8; ++i) {
                         x += "<!ENTITY " + QByteArray(1, names[i]) + " \"";
                         for (int k = 0; k < 10; ++k)
                             x += "&" + QByteArray(1, names[i - 1]) + ";";
                         x += "\">";
                     }
                     return x + "]>" + kOpen + "<SYSPAR_NAME Number=\"1\" Name=\"&h;\"/>" + kClose;
                 }()});
    s.push_back({"20,000 nested prefixed elements",
                 [] {
                     QByteArray x = kHead + kOpen;
                     for (int i = 0; i < 20000; ++i)
                         x += "<n" + n(i) + ":a xmlns:n" + n(i) + "=\"u\">";
                     for (int i = 19999; i >= 0; --i)
                         x += "</n" + n(i) + ":a>";
                     return x + kClose;
                 }()});
    s.push_back({"one name of character references",
                 fill(kHead + kOpen + "<SYSPAR_NAME Number=\"1\" Name=\"", [](int) { return QByteArray("&#1050;"); },
                      "\"/>" + kClose)});
    s.push_back({"comments", fill(kHead + kOpen, [](int) { return QByteArray("<!-- c -->"); }, kClose)});
    return s;
}

const char *said(tarvo::NamesLoad result)
{
    switch (result) {
    case tarvo::NamesLoad::Loaded: return "loaded";
    case tarvo::NamesLoad::CannotOpen: return "cannot open";
    case tarvo::NamesLoad::WrongEncoding: return "wrong encoding";
    case tarvo::NamesLoad::BadFormat: return "bad format";
    }
    return "?";
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("names_bulgarian.xml"));
    QTextCodec *codec = QTextCodec::codecForName("windows-1251");
    std::printf("%-40s %10s %10s  %s\n", "names file shape", "bytes", "median ms", "result");
    for (const Shape &shape : shapes()) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(shape.xml) != shape.xml.size())
            return 1;
        file.close();
        std::vector<double> times;
        tarvo::NamesLoad result = tarvo::NamesLoad::Loaded;
        for (int run = 0; run < 3; ++run) {
            QStringList names;
            QElapsedTimer timer;
            timer.start();
            result = tarvo::loadParamNamesFile(path, codec, &names);
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        std::sort(times.begin(), times.end());
        std::printf("%-40s %10lld %10.1f  %s\n", shape.name, static_cast<long long>(shape.xml.size()), times[1],
                    said(result));
    }
    return 0;
}
