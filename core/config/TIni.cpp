#include "core/config/TIni.h"

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

std::string_view ByteOrderMark(TTextEncoding encoding) {
    switch (encoding) {
        case TTextEncoding::Utf8:
            return Utf8Bom;
        case TTextEncoding::Utf16Le:
            return Utf16LeBom;
        case TTextEncoding::Utf16Be:
            return Utf16BeBom;
        case TTextEncoding::Ansi:
            break;
    }
    return {};
}

TTextEncoding EncodingByMark(std::string_view bytes) {
    for (const TTextEncoding encoding :
         {TTextEncoding::Utf8, TTextEncoding::Utf16Le, TTextEncoding::Utf16Be}) {
        if (bytes.starts_with(ByteOrderMark(encoding))) {
            return encoding;
        }
    }
    return TTextEncoding::Ansi;
}

std::string Decode(std::string_view bytes, TTextEncoding encoding) {
    switch (encoding) {
        case TTextEncoding::Utf8:
            return DecodeUtf8(bytes);
        case TTextEncoding::Utf16Le:
            return DecodeUtf16(bytes, false);
        case TTextEncoding::Utf16Be:
            return DecodeUtf16(bytes, true);
        case TTextEncoding::Ansi:
            break;
    }
    return DecodeAnsi(bytes);
}

std::string Encode(std::string_view text, TTextEncoding encoding) {
    switch (encoding) {
        case TTextEncoding::Utf16Le:
            return EncodeUtf16(text, false);
        case TTextEncoding::Utf16Be:
            return EncodeUtf16(text, true);
        case TTextEncoding::Utf8:
        case TTextEncoding::Ansi:
            break;
    }
    return std::string(text);
}

std::vector<std::string> SplitLines(std::string_view text) {
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

void CreateEmptyFileIfMissing(const std::string& fileName) {
    std::error_code ignored;
    const std::filesystem::path parent = std::filesystem::path(fileName).parent_path();
    if (!parent.empty()) {
        std::filesystem::create_directories(parent, ignored);
    }
    TSystemFile::Open(fileName, TSystemFile::TOpen::CreateNew);
}

}  // namespace

std::string NormaliseIniKey(std::string_view key) {
    return AsciiUpper(Trim(key));
}

TIniLine SplitIniLine(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return {"", std::string(Trim(line))};
    }
    return {NormaliseIniKey(line.substr(0, equals)), std::string(Trim(line.substr(equals + 1)))};
}

std::string DecodeIniText(std::string_view bytes, std::optional<TTextEncoding> encoding) {
    const TTextEncoding chosen = encoding.value_or(EncodingByMark(bytes));
    const std::string_view mark = ByteOrderMark(chosen);
    if (!mark.empty() && bytes.starts_with(mark)) {
        bytes.remove_prefix(mark.size());
    }
    return Decode(bytes, chosen);
}

std::vector<std::string> DecodeIniLines(std::string_view bytes,
                                        std::optional<TTextEncoding> encoding) {
    return SplitLines(DecodeIniText(bytes, encoding));
}

TIni::TIni(const std::string& fileName, bool canCreate, std::optional<TTextEncoding> encoding)
    : FFileName(fileName) {
    if (canCreate) {
        CreateEmptyFileIfMissing(fileName);
    }
    FBuffer = DecodeIniLines(ReadFileBytes(fileName), encoding);
}

TIni::TIni(std::string_view text) : FBuffer(SplitLines(text)) {}

std::optional<std::string> TIni::FindValue(std::string_view key) const {
    const std::string wanted = NormaliseIniKey(key);
    for (const std::string& line : FBuffer) {
        TIniLine split = SplitIniLine(line);
        if (split.Key == wanted) {
            return std::move(split.Value);
        }
    }
    return std::nullopt;
}

bool TIni::HasKey(std::string_view key) const {
    return FindValue(key).has_value();
}

std::string TIni::ReadString(std::string_view key, std::string_view defaultValue) const {
    return FindValue(key).value_or(std::string(defaultValue));
}

bool TIni::ReadBoolean(std::string_view key, bool defaultValue) const {
    const std::string value = AsciiUpper(FindValue(key).value_or(""));
    if (value == "TRUE") {
        return true;
    }
    return value == "FALSE" ? false : defaultValue;
}

std::int32_t TIni::ReadInteger(std::string_view key, std::int32_t defaultValue) const {
    const std::optional<std::string> value = FindValue(key);
    return value ? ParseInteger(*value).value_or(defaultValue) : defaultValue;
}

double TIni::ReadFloat(std::string_view key, double defaultValue) const {
    const std::optional<std::string> value = FindValue(key);
    return value ? ParseIniFloat(*value).value_or(defaultValue) : defaultValue;
}

std::int64_t TIni::ReadCurrency(std::string_view key, std::int64_t defaultValue) const {
    const std::optional<std::string> value = FindValue(key);
    return value ? ParseIniCurrency(*value).value_or(defaultValue) : defaultValue;
}

TDateTime TIni::ReadDate(std::string_view key, TDateTime defaultValue) const {
    const std::optional<std::string> value = FindValue(key);
    return value ? ParseIniDate(*value, DecodeDateTime(FClock->Now()).Year).value_or(defaultValue)
                 : defaultValue;
}

TDateTime TIni::ReadTime(std::string_view key, TDateTime defaultValue) const {
    const std::optional<std::string> value = FindValue(key);
    return value ? ParseIniTime(*value).value_or(defaultValue) : defaultValue;
}

TDateTime TIni::ReadDateTime(std::string_view key, TDateTime defaultValue) const {
    const std::optional<std::string> value = FindValue(key);
    return value
               ? ParseIniDateTime(*value, DecodeDateTime(FClock->Now()).Year).value_or(defaultValue)
               : defaultValue;
}

void TIni::WriteString(std::string_view key, std::string_view value) {
    const std::string wanted = NormaliseIniKey(key);
    std::string line = std::string(Trim(key)) + "=" + std::string(Trim(value));
    const auto found = std::find_if(
        FBuffer.begin(), FBuffer.end(),
        [&](const std::string& existing) { return SplitIniLine(existing).Key == wanted; });
    if (found != FBuffer.end()) {
        *found = std::move(line);
    } else {
        FBuffer.push_back(std::move(line));
    }
}

void TIni::WriteBoolean(std::string_view key, bool value) {
    WriteString(key, value ? "True" : "False");
}

void TIni::WriteInteger(std::string_view key, std::int32_t value) {
    WriteString(key, std::to_string(value));
}

void TIni::WriteFloat(std::string_view key, double value) {
    WriteString(key, FormatIniFloat(value));
}

void TIni::WriteCurrency(std::string_view key, std::int64_t tenThousandths) {
    WriteString(key, FormatIniCurrency(tenThousandths));
}

void TIni::WriteDate(std::string_view key, TDateTime value) {
    WriteString(key, FormatIniDate(value));
}

void TIni::WriteTime(std::string_view key, TDateTime value) {
    WriteString(key, FormatIniTime(value));
}

void TIni::WriteDateTime(std::string_view key, TDateTime value) {
    WriteString(key, FormatIniDateTime(value));
}

void TIni::DeleteKey(std::string_view key) {
    const std::string wanted = NormaliseIniKey(key);
    std::erase_if(FBuffer,
                  [&](const std::string& line) { return SplitIniLine(line).Key == wanted; });
}

void TIni::Clear() {
    FBuffer.clear();
}

void TIni::SaveIniFile(std::optional<TTextEncoding> encoding) const {
    if (FFileName.empty()) {
        return;
    }
    const TTextEncoding chosen = encoding.value_or(TTextEncoding::Ansi);
    std::string text;
    for (const std::string& line : FBuffer) {
        text += line;
        text += "\r\n";
    }
    const std::string bytes = std::string(ByteOrderMark(chosen)) + Encode(text, chosen);
    TSystemFile file = TSystemFile::Open(FFileName, TSystemFile::TOpen::CreateEmpty);
    if (!file.IsOpen()) {
        throw EFCreateError(FFileName, file.Error());
    }
    if (!file.WriteAll(bytes) || !file.Close()) {
        throw EWriteError(FFileName, file.Error());
    }
}

}  // namespace plintor
