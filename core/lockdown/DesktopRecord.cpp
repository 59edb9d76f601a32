#include "core/lockdown/DesktopRecord.h"

#include "core/support/StringHelpers.h"
#include "core/support/SystemFiles.h"

namespace plintor {
namespace {

constexpr std::string_view Heading = "Plintor desktop record 1";

std::string escaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '%') {
            escaped += '%' + hexOf8(byte);
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::optional<std::string> unescaped(std::string_view text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            plain += text[i];
            continue;
        }
        if (i + 2 >= text.size() || hexDigitValue(text[i + 1]) < 0 ||
            hexDigitValue(text[i + 2]) < 0) {
            return std::nullopt;
        }
        plain += static_cast<char>(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2]));
        i += 2;
    }
    return plain;
}

void addLine(std::string& text, std::string_view item, std::string_view value) {
    text += item;
    text += ' ';
    text += escaped(value);
    text += '\n';
}

}  // namespace

std::string formatDesktopRecord(const DesktopRecord& record) {
    std::string text = std::string(Heading) + "\n";
    for (const ShellCommand& command : record.stoppedShell) {
        text += "shell\n";
        for (const std::string& argument : command.arguments) {
            addLine(text, "argument", argument);
        }
        addLine(text, "folder", command.workingFolder);
        for (const std::string& entry : command.environment) {
            addLine(text, "environment", entry);
        }
        addLine(text, "program", command.executable);
    }
    if (record.powerSavingWasOn) {
        text += "power-saving-was-on\n";
    }
    return text + "end\n";
}

std::optional<DesktopRecord> parseDesktopRecord(std::string_view text) {
    if (text.size() > MaxDesktopRecordSize) {
        return std::nullopt;
    }
    DesktopRecord record;
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
        const std::optional<std::string> value = unescaped(
            blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1));
        if (!headed) {
            if (line != Heading) {
                return std::nullopt;
            }
            headed = true;
        } else if (item == "end") {
            return text.empty() ? std::optional(record) : std::nullopt;
        } else if (item == "shell") {
            record.stoppedShell.emplace_back();
        } else if (item == "power-saving-was-on") {
            record.powerSavingWasOn = true;
        } else if (!value || record.stoppedShell.empty()) {
            return std::nullopt;
        } else if (item == "argument") {
            record.stoppedShell.back().arguments.push_back(*value);
        } else if (item == "folder") {
            record.stoppedShell.back().workingFolder = *value;
        } else if (item == "environment") {
            record.stoppedShell.back().environment.push_back(*value);
        } else if (item == "program") {
            record.stoppedShell.back().executable = *value;
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;  // no end line: cut short
}

// Only the size is asked of a larger file: a record is never worth gigabytes of memory.
std::optional<DesktopRecord> readDesktopRecord(const std::string& fileName) {
    SystemFile file = SystemFile::open(fileName, SystemFile::OpenMode::Read);
    const std::int64_t size = file.isOpen() ? file.size() : -1;
    if (size < 0 || size > static_cast<std::int64_t>(MaxDesktopRecordSize)) {
        return std::nullopt;
    }
    std::string text(static_cast<std::size_t>(size), '\0');
    return file.readAt(0, text) ? parseDesktopRecord(text) : std::nullopt;
}

}  // namespace plintor
