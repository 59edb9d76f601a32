#include "core/lockdown/DesktopRecord.h"

#include "core/support/StringHelpers.h"

namespace plintor {
namespace {

constexpr std::string_view Heading = "Plintor desktop record 1";

std::string Escaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '%') {
            escaped += '%' + HexOf8(byte);
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::optional<std::string> Unescaped(std::string_view text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            plain += text[i];
            continue;
        }
        if (i + 2 >= text.size() || HexDigitValue(text[i + 1]) < 0 ||
            HexDigitValue(text[i + 2]) < 0) {
            return std::nullopt;
        }
        plain += static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
        i += 2;
    }
    return plain;
}

void AddLine(std::string& text, std::string_view item, std::string_view value) {
    text += item;
    text += ' ';
    text += Escaped(value);
    text += '\n';
}

}  // namespace

std::string FormatDesktopRecord(const TDesktopRecord& record) {
    std::string text = std::string(Heading) + "\n";
    for (const TShellCommand& command : record.StoppedShell) {
        text += "shell\n";
        for (const std::string& argument : command.Arguments) {
            AddLine(text, "argument", argument);
        }
        AddLine(text, "folder", command.WorkingFolder);
        for (const std::string& entry : command.Environment) {
            AddLine(text, "environment", entry);
        }
        AddLine(text, "program", command.Executable);
    }
    if (record.PowerSavingWasOn) {
        text += "power-saving-was-on\n";
    }
    return text + "end\n";
}

std::optional<TDesktopRecord> ParseDesktopRecord(std::string_view text) {
    TDesktopRecord record;
    bool headed = false;
    while (!text.empty()) {
        const std::size_t lineEnd = text.find('\n');
        if (lineEnd == std::string_view::npos) {
            return std::nullopt;  // cut short
        }
        const std::string_view line = text.substr(0, lineEnd);
        text.remove_prefix(lineEnd + 1);
        const std::size_t blank = line.find(' ');
        const std::string_view item = line.substr(0, blank);
        const std::optional<std::string> value = Unescaped(
            blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1));
        if (!headed) {
            if (line != Heading) {
                return std::nullopt;
            }
            headed = true;
        } else if (item == "end") {
            return text.empty() ? std::optional(record) : std::nullopt;
        } else if (item == "shell") {
            record.StoppedShell.emplace_back();
        } else if (item == "power-saving-was-on") {
            record.PowerSavingWasOn = true;
        } else if (!value || record.StoppedShell.empty()) {
            return std::nullopt;
        } else if (item == "argument") {
            record.StoppedShell.back().Arguments.push_back(*value);
        } else if (item == "folder") {
            record.StoppedShell.back().WorkingFolder = *value;
        } else if (item == "environment") {
            record.StoppedShell.back().Environment.push_back(*value);
        } else if (item == "program") {
            record.StoppedShell.back().Executable = *value;
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;  // no end line: cut short
}

}  // namespace plintor
