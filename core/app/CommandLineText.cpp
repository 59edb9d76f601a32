#include "core/app/CommandLineText.h"

namespace plintor {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::size_t skipBlanks(const std::string& text, std::size_t pos) {
    while (pos < text.size() && isBlank(text[pos])) {
        ++pos;
    }
    return pos;
}

std::string readProgramName(const std::string& text, std::size_t& pos) {
    std::string name;
    bool quoted = false;
    while (pos < text.size() && (quoted || !isBlank(text[pos]))) {
        if (text[pos] == '"') {
            quoted = !quoted;
        } else {
            name += text[pos];
        }
        ++pos;
    }
    return name;
}

std::string readArgument(const std::string& text, std::size_t& pos) {
    std::string argument;
    bool quoted = false;
    while (pos < text.size() && (quoted || !isBlank(text[pos]))) {
        std::size_t backslashes = 0;
        while (pos < text.size() && text[pos] == '\\') {
            ++backslashes;
            ++pos;
        }
        if (pos < text.size() && text[pos] == '"') {
            argument.append(backslashes / 2, '\\');
            if (backslashes % 2 == 1) {
                argument += '"';
            } else if (quoted && pos + 1 < text.size() && text[pos + 1] == '"') {
                argument += '"';
                ++pos;
            } else {
                quoted = !quoted;
            }
            ++pos;
        } else {
            argument.append(backslashes, '\\');
            if (pos < text.size() && (quoted || !isBlank(text[pos]))) {
                argument += text[pos++];
            }
        }
    }
    return argument;
}

}  // namespace

std::string programCommandLine(const std::string& programFile, const std::string& parameters) {
    return "\"" + programFile + "\" " + parameters;
}

std::vector<std::string> splitCommandLine(const std::string& commandLine) {
    std::vector<std::string> arguments;
    std::size_t pos = skipBlanks(commandLine, 0);
    if (pos >= commandLine.size()) {
        return arguments;
    }
    arguments.push_back(readProgramName(commandLine, pos));
    for (pos = skipBlanks(commandLine, pos); pos < commandLine.size();
         pos = skipBlanks(commandLine, pos)) {
        arguments.push_back(readArgument(commandLine, pos));
    }
    return arguments;
}

}  // namespace plintor
