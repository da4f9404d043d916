// Turns the text of `tarvo-prg --help` into the manual page, so that both
// come from one text. The help text keeps to a few shapes, and each becomes
// its man(7) counterpart:
//
//   Usage: tarvo-prg ...        the synopsis
//   the lines after it          the description (its first line, the name)
//   Heading:                    a section
//     term  description         a tagged paragraph (two spaces apart)
//     term                      a tagged paragraph whose text is the more
//         text...               deeply indented lines below it
//   any other line              running text
//   Examples:                   lines shown as they stand
//
// In the synopsis and the terms, placeholders (NAME, FILE, KEY=VALUE, the N
// of param.N) are italic and the words to type bold; the encoding names keep
// their space unbroken. The page's date is that of the build:
// SOURCE_DATE_EPOCH where set, so that the same sources give the same page.
//
// Usage: helptoman HELP.txt OUT.1 VERSION

#include <cctype>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string escaped(const std::string &text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    // "ISO 8859-5" is one name: never broken across two lines.
    for (std::size_t at = out.find("ISO 8859"); at != std::string::npos; at = out.find("ISO 8859", at))
        out.replace(at + 3, 1, "\\ ");
    if (!out.empty() && (out[0] == '.' || out[0] == '\''))
        out = "\\&" + out;
    return out;
}

// A placeholder: a word of capitals (FILE, KEY, N), not a name such as
// SOURCE_DATE_EPOCH.
bool isPlaceholderStart(const std::string &text, std::size_t i)
{
    return std::isupper(static_cast<unsigned char>(text[i]))
           && (i == 0 || !std::isalnum(static_cast<unsigned char>(text[i - 1])));
}

// A synopsis or a term: placeholders italic, the rest bold, brackets,
// dots and spaces roman.
std::string synopsis(const std::string &text)
{
    if (text.find('_') != std::string::npos)
        return "\\fB" + escaped(text) + "\\fR";
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = i;
        std::string font;
        if (isPlaceholderStart(text, i)) {
            while (end < text.size() && std::isupper(static_cast<unsigned char>(text[end])))
                ++end;
            font = "\\fI";
        } else if (text[i] == '[' || text[i] == ']' || text[i] == ' ' || text[i] == '.' || text[i] == ','
                   || text[i] == '=') {
            ++end;
        } else {
            while (end < text.size() && std::string("[] .,=").find(text[end]) == std::string::npos
                   && !isPlaceholderStart(text, end))
                ++end;
            font = "\\fB";
        }
        const std::string piece = escaped(text.substr(i, end - i));
        out += font.empty() ? piece : font + piece + "\\fR";
        i = end;
    }
    return out;
}

// The date of the build, as the page's date: SOURCE_DATE_EPOCH when set.
std::string buildDate()
{
    std::time_t when = std::time(nullptr);
    if (const char *epoch = std::getenv("SOURCE_DATE_EPOCH")) {
        char *end = nullptr;
        const long long seconds = std::strtoll(epoch, &end, 10);
        if (end != epoch && *end == '\0' && seconds >= 0)
            when = std::time_t(seconds);
    }
    char date[32] = {};
    std::tm parts = {};
    gmtime_r(&when, &parts);
    std::strftime(date, sizeof date, "%Y-%m-%d", &parts);
    return date;
}

std::size_t indentOf(const std::string &line)
{
    std::size_t n = 0;
    while (n < line.size() && line[n] == ' ')
        ++n;
    return n;
}

bool isHeading(const std::string &line)
{
    return !line.empty() && line[0] != ' ' && line.back() == ':' && line.find(". ") == std::string::npos;
}

std::string sectionName(const std::string &heading)
{
    std::string name = heading.substr(0, heading.size() - 1);
    const std::size_t bracket = name.find(" (");
    if (bracket != std::string::npos)
        name = name.substr(0, bracket);
    for (char &c : name)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

std::string trimmed(const std::string &text)
{
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos)
        return std::string();
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::cerr << "usage: helptoman HELP.txt OUT.1 VERSION\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    if (!in.eof() || lines.size() < 2 || lines[0].rfind("Usage: ", 0) != 0) {
        std::cerr << "helptoman: " << argv[1] << " does not start with a usage line\n";
        return 1;
    }

    std::ostringstream man;
    const std::string version = argv[3];
    man << ".TH TARVO-PRG 1 \"" << buildDate() << "\" \"tarvo-prg " << version << "\" \"User Commands\"\n";
    man << ".nh\n"; // option names and JSON keys are not to be hyphenated
    std::string summary = lines[1];
    if (!summary.empty() && summary.back() == '.')
        summary.pop_back();
    if (!summary.empty())
        summary[0] = char(std::tolower(static_cast<unsigned char>(summary[0])));
    man << ".SH NAME\ntarvo-prg \\- " << escaped(summary) << "\n";
    man << ".SH SYNOPSIS\n" << synopsis(lines[0].substr(7)) << "\n";
    man << ".SH DESCRIPTION\n";

    std::string section = "DESCRIPTION";
    bool inItem = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string &line = lines[i];
        if (line.empty()) {
            inItem = false;
            continue;
        }
        if (isHeading(line)) {
            if (section == "EXAMPLES")
                man << ".fi\n";
            section = sectionName(line);
            man << ".SH " << section << "\n";
            if (section == "EXAMPLES")
                man << ".nf\n";
            inItem = false;
            continue;
        }
        if (section == "EXAMPLES") {
            man << escaped(trimmed(line)) << "\n";
            continue;
        }
        const std::size_t indent = indentOf(line);
        const std::string text = trimmed(line);
        const std::size_t gap = text.find("  ");
        const bool deeperNext = i + 1 < lines.size() && !lines[i + 1].empty()
                                && indentOf(lines[i + 1]) > indent;
        if (indent == 2 && (gap != std::string::npos || deeperNext)) {
            man << ".TP\n" << synopsis(text.substr(0, gap)) << "\n";
            if (gap != std::string::npos)
                man << escaped(trimmed(text.substr(gap))) << "\n";
            inItem = true;
            continue;
        }
        if (indent == 0 && inItem) {
            man << ".PP\n";
            inItem = false;
        } else if (indent == 0 && i > 1 && !lines[i - 1].empty() && isHeading(lines[i - 1]) == false
                   && indentOf(lines[i - 1]) > 0) {
            man << ".PP\n";
        }
        man << escaped(text) << "\n";
    }
    if (section == "EXAMPLES")
        man << ".fi\n";
    man << ".SH SEE ALSO\n.BR tarvo (1)\n";

    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << man.str();
    out.close();
    if (!out) {
        std::cerr << "helptoman: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
