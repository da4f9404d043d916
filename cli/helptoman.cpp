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
// Usage: helptoman HELP.txt OUT.1 VERSION

#include <cctype>
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
    if (!out.empty() && (out[0] == '.' || out[0] == '\''))
        out = "\\&" + out;
    return out;
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
    man << ".TH TARVO-PRG 1 \"\" \"tarvo-prg " << version << "\" \"User Commands\"\n";
    std::string summary = lines[1];
    if (!summary.empty() && summary.back() == '.')
        summary.pop_back();
    if (!summary.empty())
        summary[0] = char(std::tolower(static_cast<unsigned char>(summary[0])));
    man << ".SH NAME\ntarvo-prg \\- " << escaped(summary) << "\n";
    man << ".SH SYNOPSIS\n.B " << escaped(lines[0].substr(7)) << "\n";
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
            man << ".TP\n.B " << escaped(text.substr(0, gap)) << "\n";
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
