#include "core/config/UrlListFiles.h"

#include <algorithm>

#include "core/config/IniFile.h"
#include "core/support/FileHelpers.h"
#include "core/support/FileIO.h"
#include "core/support/TextCodec.h"

namespace plintor {
namespace {

constexpr char CtrlZ = '\x1A';

template <typename Add>
void addFileLines(const std::string& fileName, Add add, ConfigReport& report) {
    try {
        const std::string bytes = readFileBytes(fileName);
        for (const std::string& warning : listFileWarnings(fileName, bytes)) {
            report.warn(warning);
        }
        for (const std::string& line : splitListFileLines(bytes)) {
            add(line);
        }
    } catch (const std::exception& error) {
        report.loadFailed(error);
    }
}

bool hasUtf16Mark(std::string_view bytes) {
    return bytes.starts_with(Utf16LeBom) || bytes.starts_with(Utf16BeBom);
}

// The file's text as bytes of UTF-8 or of the ANSI code page.
std::string listFileText(std::string_view bytes) {
    return hasUtf16Mark(bytes) ? decodeIniText(bytes, std::nullopt) : std::string(bytes);
}

}  // namespace

std::vector<std::string> listFileWarnings(const std::string& fileName, std::string_view bytes) {
    std::vector<std::string> warnings;
    const std::string text = listFileText(bytes);
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

std::vector<std::string> splitListFileLines(std::string_view fileBytes) {
    const std::string text = listFileText(fileBytes);
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
        lines.push_back(decodeAnsi(line));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> readListFile(const std::string& fileName) {
    return splitListFileLines(readFileBytes(fileName));
}

void loadUrlLists(UrlLists& lists, const std::string& whitelistFile,
                  const std::string& blacklistFile, ConfigReport& report) {
    addFileLines(
        whitelistFile, [&](const std::string& line) { lists.whitelistAddUrl(line); }, report);
    if (fileExists(blacklistFile)) {
        addFileLines(
            blacklistFile, [&](const std::string& line) { lists.blacklistAddUrl(line); }, report);
    }
    lists.whitelistAddUrl("about:blank");
    lists.whitelistAddUrl("javascript:*");
}

void allowNavButtonAddresses(UrlLists& lists, const std::vector<NavButton>& buttons) {
    for (const NavButton& button : buttons) {
        lists.whitelistAddUrl(button.url);
    }
}

}  // namespace plintor
