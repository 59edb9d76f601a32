#include "core/config/IniFile.h"

#include <algorithm>
#include <filesystem>

#include "core/config/IniFormat.h"
#include "core/support/Clock.h"
#include "core/support/Exceptions.h"
#include "core/support/FileIO.h"
#include "core/support/NumberText.h"
#include "core/support/SystemFiles.h"
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

std::string encode(std::string_view text, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf16Le:
            return encodeUtf16(text, false);
        case TextEncoding::Utf16Be:
            return encodeUtf16(text, true);
        case TextEncoding::Utf8:
        case TextEncoding::Ansi:
            break;
    }
    return std::string(text);
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

void createEmptyFileIfMissing(const std::string& fileName) {
    std::error_code ignored;
    const std::filesystem::path parent = std::filesystem::path(fileName).parent_path();
    if (!parent.empty()) {
        std::filesystem::create_directories(parent, ignored);
    }
    SystemFile::open(fileName, SystemFile::OpenMode::CreateNew);
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

IniFile::IniFile(const std::string& fileName, bool canCreate, std::optional<TextEncoding> encoding)
    : m_fileName(fileName) {
    if (canCreate) {
        createEmptyFileIfMissing(fileName);
    }
    m_buffer = decodeIniLines(readFileBytes(fileName), encoding);
}

IniFile::IniFile(std::string_view text) : m_buffer(splitLines(text)) {}

std::optional<std::string> IniFile::findValue(std::string_view key) const {
    const std::string wanted = normaliseIniKey(key);
    for (const std::string& line : m_buffer) {
        IniLine split = splitIniLine(line);
        if (split.key == wanted) {
            return std::move(split.value);
        }
    }
    return std::nullopt;
}

bool IniFile::hasKey(std::string_view key) const {
    return findValue(key).has_value();
}

std::string IniFile::readString(std::string_view key, std::string_view defaultValue) const {
    return findValue(key).value_or(std::string(defaultValue));
}

bool IniFile::readBoolean(std::string_view key, bool defaultValue) const {
    const std::string value = asciiUpper(findValue(key).value_or(""));
    if (value == "TRUE") {
        return true;
    }
    return value == "FALSE" ? false : defaultValue;
}

std::int32_t IniFile::readInteger(std::string_view key, std::int32_t defaultValue) const {
    const std::optional<std::string> value = findValue(key);
    return value ? parseInteger(*value).value_or(defaultValue) : defaultValue;
}

double IniFile::readFloat(std::string_view key, double defaultValue) const {
    const std::optional<std::string> value = findValue(key);
    return value ? parseIniFloat(*value).value_or(defaultValue) : defaultValue;
}

std::int64_t IniFile::readCurrency(std::string_view key, std::int64_t defaultValue) const {
    const std::optional<std::string> value = findValue(key);
    return value ? parseIniCurrency(*value).value_or(defaultValue) : defaultValue;
}

DateTime IniFile::readDate(std::string_view key, DateTime defaultValue) const {
    const std::optional<std::string> value = findValue(key);
    return value ? parseIniDate(*value, decodeDateTime(m_clock->now()).year).value_or(defaultValue)
                 : defaultValue;
}

DateTime IniFile::readTime(std::string_view key, DateTime defaultValue) const {
    const std::optional<std::string> value = findValue(key);
    return value ? parseIniTime(*value).value_or(defaultValue) : defaultValue;
}

DateTime IniFile::readDateTime(std::string_view key, DateTime defaultValue) const {
    const std::optional<std::string> value = findValue(key);
    return value ? parseIniDateTime(*value, decodeDateTime(m_clock->now()).year)
                       .value_or(defaultValue)
                 : defaultValue;
}

void IniFile::writeString(std::string_view key, std::string_view value) {
    const std::string wanted = normaliseIniKey(key);
    std::string line = std::string(trim(key)) + "=" + std::string(trim(value));
    const auto found = std::find_if(
        m_buffer.begin(), m_buffer.end(),
        [&](const std::string& existing) { return splitIniLine(existing).key == wanted; });
    if (found != m_buffer.end()) {
        *found = std::move(line);
    } else {
        m_buffer.push_back(std::move(line));
    }
}

void IniFile::writeBoolean(std::string_view key, bool value) {
    writeString(key, value ? "True" : "False");
}

void IniFile::writeInteger(std::string_view key, std::int32_t value) {
    writeString(key, std::to_string(value));
}

void IniFile::writeFloat(std::string_view key, double value) {
    writeString(key, formatIniFloat(value));
}

void IniFile::writeCurrency(std::string_view key, std::int64_t tenThousandths) {
    writeString(key, formatIniCurrency(tenThousandths));
}

void IniFile::writeDate(std::string_view key, DateTime value) {
    writeString(key, formatIniDate(value));
}

void IniFile::writeTime(std::string_view key, DateTime value) {
    writeString(key, formatIniTime(value));
}

void IniFile::writeDateTime(std::string_view key, DateTime value) {
    writeString(key, formatIniDateTime(value));
}

void IniFile::deleteKey(std::string_view key) {
    const std::string wanted = normaliseIniKey(key);
    std::erase_if(m_buffer,
                  [&](const std::string& line) { return splitIniLine(line).key == wanted; });
}

void IniFile::clear() {
    m_buffer.clear();
}

void IniFile::saveIniFile(std::optional<TextEncoding> encoding) const {
    if (m_fileName.empty()) {
        return;
    }
    const TextEncoding chosen = encoding.value_or(TextEncoding::Ansi);
    std::string text;
    for (const std::string& line : m_buffer) {
        text += line;
        text += "\r\n";
    }
    const std::string bytes = std::string(byteOrderMark(chosen)) + encode(text, chosen);
    SystemFile file = SystemFile::open(m_fileName, SystemFile::OpenMode::CreateEmpty);
    if (!file.isOpen()) {
        throw EFCreateError(m_fileName, file.error());
    }
    if (!file.writeAll(bytes) || !file.close()) {
        throw EWriteError(m_fileName, file.error());
    }
}

}  // namespace plintor
