#include "core/config/UrlListFiles.h"

#include <algorithm>
#include <filesystem>

#include "core/config/IniFile.h"
#include "core/support/FileIO.h"
#include "core/support/TextCodec.h"

namespace plintor {
namespace {

constexpr char CtrlZ = '\x1A';

bool hasUtf16Mark(std::string_view bytes) {
    return bytes.starts_with(Utf16LeBom) || bytes.starts_with(Utf16BeBom);
}

// The file's text as bytes of UTF-8 or of the ANSI code page; a UTF-16 file's is decoded into
// `decoded`.
std::string_view listFileText(std::string_view bytes, std::string& decoded) {
    if (!hasUtf16Mark(bytes)) {
        return bytes;
    }
    decoded = decodeIniText(bytes, std::nullopt);
    return decoded;
}

// Each line in turn, without keeping them all: a deny list can have hundreds of thousands.
template <typename Visit>
void forEachListFileLine(std::string_view fileBytes, Visit visit) {
    std::string decoded;
    const std::string_view text = listFileText(fileBytes, decoded);
    const std::string_view bytes = text.substr(0, text.find(CtrlZ));
    std::string line;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        line.assign(bytes.substr(start, end - start));
        std::erase(line, '\r');
        visit(decodeAnsi(line));
        start = end + 1;
    }
}

// Whether the name is taken by anything, a link that leads nowhere and a name whose folder
// cannot be searched included: only a name that is surely free means "no list".
bool isNameTaken(const std::string& fileName) {
    std::error_code error;
    return std::filesystem::symlink_status(fileName, error).type() !=
           std::filesystem::file_type::not_found;
}

// Whether the whole file was read.
template <typename Add>
bool addFileLines(const std::string& fileName, Add add, ConfigReport& report) {
    try {
        const std::string bytes = readFileBytes(fileName);
        for (const std::string& warning : listFileWarnings(fileName, bytes)) {
            report.warn(warning);
        }
        forEachListFileLine(bytes, add);
        return true;
    } catch (const std::exception& error) {
        report.loadFailed(error);
        return false;
    }
}

}  // namespace

std::vector<std::string> listFileWarnings(const std::string& fileName, std::string_view bytes) {
    std::vector<std::string> warnings;
    std::string decoded;
    const std::string_view text = listFileText(bytes, decoded);
    if (text.starts_with(Utf8Bom)) {
        warnings.push_back(fileName +
                           " starts with a byte-order mark; its first entry never matches");
    }
    const std::string_view read = text.substr(0, text.find(CtrlZ));
    if (read.find('\r') != std::string_view::npos && read.find('\n') == std::string_view::npos) {
        warnings.push_back(
            fileName +
            " ends its lines with CR alone, so it is read as one single mask; save it with "
            "CR LF or LF line ends");
    }
    return warnings;
}

std::vector<std::string> splitListFileLines(std::string_view fileBytes) {
    std::vector<std::string> lines;
    forEachListFileLine(fileBytes,
                        [&lines](std::string line) { lines.push_back(std::move(line)); });
    return lines;
}

std::vector<std::string> readListFile(const std::string& fileName) {
    return splitListFileLines(readFileBytes(fileName));
}

void loadUrlLists(UrlLists& lists, const std::string& whitelistFile,
                  const std::string& blacklistFile, ConfigReport& report) {
    addFileLines(
        whitelistFile, [&](const std::string& line) { lists.whitelistAddUrl(line); }, report);
    // A deny list that is there but cannot be read fails closed: taken for an empty one it
    // would let through everything the allow list passes.
    if (isNameTaken(blacklistFile) &&
        !addFileLines(
            blacklistFile, [&](const std::string& line) { lists.blacklistAddUrl(line); }, report)) {
        lists.blacklistUnreadable();
        report.error(blacklistFile +
                     " cannot be read: every address but the kiosk's own pages is denied until "
                     "a reload of the lists can read it");
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
