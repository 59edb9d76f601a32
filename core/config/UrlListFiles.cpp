#include "core/config/UrlListFiles.h"

#include <algorithm>

#include "core/config/TIni.h"
#include "core/support/FileHelpers.h"
#include "core/support/FileIO.h"
#include "core/support/TextCodec.h"

namespace plintor {
namespace {

constexpr char CtrlZ = '\x1A';

template <typename Add>
void AddFileLines(const std::string& fileName, Add add, IConfigReport& report) {
    try {
        const std::string bytes = ReadFileBytes(fileName);
        for (const std::string& warning : ListFileWarnings(fileName, bytes)) {
            report.Warn(warning);
        }
        for (const std::string& line : SplitListFileLines(bytes)) {
            add(line);
        }
    } catch (const std::exception& error) {
        report.LoadFailed(error);
    }
}

bool HasUtf16Mark(std::string_view bytes) {
    return bytes.starts_with(Utf16LeBom) || bytes.starts_with(Utf16BeBom);
}

// The file's text as bytes of UTF-8 or of the ANSI code page.
std::string ListFileText(std::string_view bytes) {
    return HasUtf16Mark(bytes) ? DecodeIniText(bytes, std::nullopt) : std::string(bytes);
}

}  // namespace

std::vector<std::string> ListFileWarnings(const std::string& fileName, std::string_view bytes) {
    std::vector<std::string> warnings;
    const std::string text = ListFileText(bytes);
    if (text.starts_with(Utf8Bom)) {
        warnings.push_back(fileName +
                           " starts with a byte-order mark; its first entry never matches");
    }
    const std::string_view read = std::string_view(text).substr(0, text.find(CtrlZ));
    if (read.find('\r') != std::string_view::npos && read.find('\n') == std::string_view::npos) {
        warnings.push_back(
            fileName +
            " ends its lines with CR alone, so it is read as one single mask; save it with "
            "CR LF or LF line ends");
    }
    return warnings;
}

std::vector<std::string> SplitListFileLines(std::string_view fileBytes) {
    const std::string text = ListFileText(fileBytes);
    std::string_view bytes = std::string_view(text).substr(0, text.find(CtrlZ));
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        std::string line;
        for (const char c : bytes.substr(start, end - start)) {
            if (c != '\r') {
                line += c;
            }
        }
        lines.push_back(DecodeAnsi(line));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> ReadListFile(const std::string& fileName) {
    return SplitListFileLines(ReadFileBytes(fileName));
}

void LoadURLLists(TUrlLists& lists, const std::string& whitelistFile,
                  const std::string& blacklistFile, IConfigReport& report) {
    AddFileLines(
        whitelistFile, [&](const std::string& line) { lists.WhitelistAddURL(line); }, report);
    if (FileExists(blacklistFile)) {
        AddFileLines(
            blacklistFile, [&](const std::string& line) { lists.BlacklistAddURL(line); }, report);
    }
    lists.WhitelistAddURL("about:blank");
    lists.WhitelistAddURL("javascript:*");
}

void AllowNavButtonAddresses(TUrlLists& lists, const std::vector<TNavButton>& buttons) {
    for (const TNavButton& button : buttons) {
        lists.WhitelistAddURL(button.URL);
    }
}

}  // namespace plintor
