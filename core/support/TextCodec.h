#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Conversions between the byte encodings the program meets and its UTF-8 strings.
namespace plintor {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LeBom = "\xFF\xFE";
constexpr std::string_view Utf16BeBom = "\xFE\xFF";

// Reads the code point at `pos` and advances past it. A byte that does not start a valid
// UTF-8 sequence is returned as `InvalidUtf8` and `pos` moves one byte on.
constexpr char32_t InvalidUtf8 = 0xFFFFFFFF;
char32_t nextCodePoint(std::string_view text, std::size_t& pos);

void appendUtf8(std::string& out, char32_t codePoint);

// Text in the system's ANSI code page: UTF-8 here; a byte that is not part of valid UTF-8
// is read as Windows-1252, so files saved on Windows still load.
std::string decodeAnsi(std::string_view bytes);

std::string decodeUtf8(std::string_view bytes);  // invalid bytes become U+FFFD
std::string decodeUtf16(std::string_view bytes, bool bigEndian);

}  // namespace plintor
