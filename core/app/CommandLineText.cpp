#include "core/app/CommandLineText.h"

namespace plintor {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::size_t SkipBlanks(const std::string& text, std::size_t pos) {
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    return pos;
}

std::string ReadProgramName(const std::string& text, std::size_t& pos) {
    std::string name;
    bool quoted = false;
    while (pos < text.size() && (quoted || !IsBlank(text[pos]))) {
        if (text[pos] == '"') {
            quoted = !quoted;
        } else {
            name += text[pos];
        }
        ++pos;
    }
    return name;
}

std::string ReadArgument(const std::string& text, std::size_t& pos) {
    std::string argument;
    bool quoted = false;
    while (pos < text.size() && (quoted || !IsBlank(text[pos]))) {
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
            if (pos < text.size() && (quoted || !IsBlank(text[pos]))) {
                argument += text[pos++];
            }
        }
    }
    return argument;
}

}  // namespace

std::string ProgramCommandLine(const std::string& programFile, const std::string& parameters) {
    return "\"" + programFile + "\" " + parameters;
}

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> arguments;
    std::size_t pos = SkipBlanks(commandLine, 0);
    if (pos >= commandLine.size()) {
        return arguments;
    }
    arguments.push_back(ReadProgramName(commandLine, pos));
    for (pos = SkipBlanks(commandLine, pos); pos < commandLine.size();
         pos = SkipBlanks(commandLine, pos)) {
        arguments.push_back(ReadArgument(commandLine, pos));
    }
    return arguments;
}

}  // namespace plintor
