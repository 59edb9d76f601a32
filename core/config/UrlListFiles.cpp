#include "UrlListFiles.h"

#include <algorithm>

#include "support/FileHelpers.h"
#include "support/FileIO.h"
#include "support/TextCodec.h"

namespace plintor {
namespace {

constexpr char CtrlZ = '\x1A';

template <typename Add>
void AddFileLines(const std::string& fileName, Add add, IConfigReport& report) {
    try {
        for (const std::string& line : ReadListFile(fileName)) {
            add(line);
        }
    } catch (const std::exception& error) {
        report.LoadFailed(error);
    }
}

}  // namespace

std::vector<std::string> SplitListFileLines(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find(CtrlZ));
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
