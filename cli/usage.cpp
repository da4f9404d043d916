#include "usage.h"

#include "tarvoversion.h"

#include <encodings.h>

QString versionText() { return QStringLiteral("tarvo-prg v " TARVO_VERSION); }

QString usageText()
{
    QString text = QStringLiteral(
        "Usage: tarvo-prg COMMAND [OPTIONS] FILE...\n"
        "Reads, writes and checks TARVO VODI program files (.prg) as the editor does.\n"
        "\n"
        "Commands:\n"
        "  dump [--encoding NAME] FILE\n"
        "      Read FILE as the editor's Open does and print the document as JSON:\n"
        "      {\"params\": [26 strings], \"departments\": [50 x {\"name\", \"price\", \"tax\",\n"
        "      \"digits\"}], \"headerLines\": [8 strings], \"comment\": \"string\",\n"
        "      \"payments\": [4 x {\"name\", \"value\", \"index\"}]}\n"
        "  build [--encoding NAME] OUT\n"
        "      Read a JSON document of that shape from standard input and write OUT as\n"
        "      the editor's Save does. Missing keys and short arrays are empty cells.\n"
        "  check [--encoding NAME] FILE...\n"
        "      Report, as FILE:LINE: message, every line the reader skips although it\n"
        "      is no comment, and every price, payment value or digits value that the\n"
        "      editor's cell editors would refuse.\n"
        "  convert [--from NAME] [--to NAME] IN OUT\n"
        "      Read IN in one encoding and write OUT in the other. Characters that the\n"
        "      target code page cannot hold are reported by the line of IN they came\n"
        "      from and written as the code page's replacement character.\n"
        "\n"
        "Options:\n"
        "  --encoding NAME  encoding of the program file (default \"System\");\n"
        "                   for convert, the default of --from and --to\n"
        "  --from NAME      encoding of IN (convert)\n"
        "  --to NAME        encoding of OUT (convert)\n"
        "  --help           print this text and exit\n"
        "  --version        print the version and exit\n"
        "  --               end of options; later words are file names\n"
        "\n"
        "Encodings (spelled exactly so, in quotes where they hold a space):\n");
    const QStringList names = tarvo::encodingNames();
    QString row = QStringLiteral(" ");
    for (const QString &name : names) {
        const QString entry = QLatin1Char(' ') + (name.contains(QLatin1Char(' ')) ? QLatin1Char('"') + name + QLatin1Char('"') : name);
        if (row.size() + entry.size() > 78) {
            text += row + QLatin1Char('\n');
            row = QStringLiteral(" ");
        }
        row += entry;
    }
    text += row + QLatin1Char('\n');
    text += QStringLiteral(
        "\n"
        "Files are written whole or not at all: a failed write leaves the old file.\n"
        "\n"
        "Exit status:\n"
        "  0  success; for check, no findings\n"
        "  1  check found something; build or convert had characters the code page\n"
        "     cannot hold (the file is written); a write failed (nothing is changed)\n"
        "  2  bad command line, unreadable input file or unusable JSON\n"
        "Any lost standard output makes the status non-zero.\n"
        "\n"
        "Example:\n"
        "  tarvo-prg dump --encoding CP1251 shop.prg > shop.json\n"
        "  tarvo-prg build --encoding CP1251 shop.prg < shop.json\n");
    return text;
}
