#include "core/config/IniReader.h"

#include "core/config/IniFormat.h"
#include "core/support/FileIO.h"
#include "core/support/NumberText.h"
#include "core/support/TextCase.h"
#include "core/support/TextCodec.h"

namespace plintor {
namespace {

std::string_view byteOrderMark(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8:
            return Utf8Bom;
        case TextEncoding::Utf16Le:
            return Utf16LeBom;
        case TextEncoding::Utf16Be:
            return Utf16BeBom;
        case TextEncoding::Ansi:
            break;
    }
    return {};
}

TextEncoding encodingByMark(std::string_view bytes) {
    for (const TextEncoding encoding :
         {TextEncoding::Utf8, TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        if (bytes.starts_with(byteOrderMark(encoding))) {
            return encoding;
        }
    }
    return TextEncoding::Ansi;
}

std::string decode(std::string_view bytes, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8:
            return decodeUtf8(bytes);
        case TextEncoding::Utf16Le:
            return decodeUtf16(bytes, false);
        case TextEncoding::Utf16Be:
            return decodeUtf16(bytes, true);
        case TextEncoding::Ansi:
            break;
    }
    return decodeAnsi(bytes);
}

std::vector<std::string> splitLines(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

}  // namespace

std::string normaliseIniKey(std::string_view key) {
    return asciiUpper(trim(key));
}

IniLine splitIniLine(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return {"", std::string(trim(line))};
    }
    return {normaliseIniKey(line.substr(0, equals)), std::string(trim(line.substr(equals + 1)))};
}

std::string decodeIniText(std::string_view bytes, std::optional<TextEncoding> encoding) {
    const TextEncoding chosen = encoding.value_or(encodingByMark(bytes));
    const std::string_view mark = byteOrderMark(chosen);
    if (!mark.empty() && bytes.starts_with(mark)) {
        bytes.remove_prefix(mark.size());
    }
    return decode(bytes, chosen);
}

std::vector<std::string> decodeIniLines(std::string_view bytes,
                                        std::optional<TextEncoding> encoding) {
    return splitLines(decodeIniText(bytes, encoding));
}

IniReader IniReader::fromFile(const std::string& fileName) {
    return IniReader(decodeIniText(readFileBytes(fileName), std::nullopt));
}

IniReader::IniReader(std::string_view text) : m_lines(splitLines(text)) {}

std::optional<std::string> IniReader::findValue(std::string_view key) const {
    const std::string wanted = normaliseIniKey(key);
    for (const std::string& line : m_lines) {
        IniLine split = splitIniLine(line);
        if (split.key == wanted) {
            return std::move(split.value);
        }
    }
    return std::nullopt;
}

bool IniReader::hasKey(std::string_view key) const {
    return findValue(key).has_value();
}

std::string IniReader::readString(std::string_view key, std::string_view defaultValue) const {
    return findValue(key).value_or(std::string(defaultValue));
}

bool IniReader::readBoolean(std::string_view key, bool defaultValue) const {
    const std::string value = asciiUpper(findValue(key).value_or(""));
    if (value == "TRUE") {
        return true;
    }
    return value == "FALSE" ? false : defaultValue;
}

std::int32_t IniReader::readInteger(std::string_view key, std::int32_t defaultValue) const {
    const std::optional<std::string> value = findValue(key);
    return value ? parseInteger(*value).value_or(defaultValue) : defaultValue;
}

std::optional<TimeOfDay> IniReader::readTime(std::string_view key) const {
    const std::optional<std::string> value = findValue(key);
    return value ? parseIniTime(*value) : std::nullopt;
}

}  // namespace plintor
