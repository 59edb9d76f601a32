#include "core/config/UrlListFiles.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include "core/config/IniReader.h"
#include "core/support/Exceptions.h"
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

// What shows that a file changed: its size and its time of writing.
struct FileStamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type written;
    bool known = false;

    bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const std::string& fileName) {
    std::error_code sizeError;
    std::error_code timeError;
    FileStamp stamp{std::filesystem::file_size(fileName, sizeError),
                    std::filesystem::last_write_time(fileName, timeError), false};
    stamp.known = !sizeError && !timeError;
    return stamp;
}

void allowKioskPages(UrlLists& lists) {
    lists.whitelistAddUrl("about:blank");
    lists.whitelistAddUrl("javascript:*");
}

constexpr int SettleAttempts = 5;
constexpr std::chrono::milliseconds SettlePause{100};

// Whether the whole file was read.
template <typename Add>
bool addFileLines(const std::string& fileName, Add add, ConfigReport& report) {
    try {
        const std::string bytes = readSettledListFile(fileName);
        for (const std::string& warning : listFileWarnings(fileName, bytes)) {
            report.warn(warning);
        }
        std::size_t tooLong = 0;
        forEachListFileLine(bytes, [&](const std::string& line) {
            if (line.size() > MaskLimitBytes) {
                ++tooLong;
            } else {
                add(line);
            }
        });
        if (tooLong > 0) {
            report.warn(fileName + ": " + std::to_string(tooLong) + " line(s) longer than " +
                        std::to_string(MaskLimitBytes) + " bytes are not used");
        }
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

std::string readSettledListFile(const std::string& fileName) {
    for (int attempt = 0; attempt < SettleAttempts; ++attempt) {
        if (attempt > 0) {
            std::this_thread::sleep_for(SettlePause);  // the writer's next step
        }
        const FileStamp before = stampOf(fileName);
        if (before.known && before.size > ListFileLimitBytes) {
            throw FileError(FileError::Kind::Read, fileName, EFBIG);
        }
        std::string bytes = readFileBytes(fileName);
        if (bytes.size() > ListFileLimitBytes) {
            throw FileError(FileError::Kind::Read, fileName, EFBIG);
        }
        // Written a moment ago, the file may be in the middle of its rewrite (emptied, say)
        // although it did not change during the read.
        const bool settled =
            before.written + SettlePause < std::filesystem::file_time_type::clock::now();
        if (before.known && settled && before == stampOf(fileName) && bytes.size() == before.size) {
            return bytes;
        }
    }
    throw FileError(FileError::Kind::Read, fileName, EAGAIN);
}

std::vector<std::string> readListFile(const std::string& fileName) {
    return splitListFileLines(readSettledListFile(fileName));
}

void loadUrlLists(UrlLists& lists, const std::string& whitelistFile,
                  const std::string& blacklistFile, ConfigReport& report,
                  const std::string& blacklistDefault) {
    addFileLines(
        whitelistFile, [&](const std::string& line) { lists.whitelistAddUrl(line); }, report);
    const auto addDenied = [&](const std::string& line) { lists.blacklistAddUrl(line); };
    // A deny list that is there but cannot be read fails closed: taken for an empty one it
    // would let through everything the allow list passes. The operator's default copy is the
    // next best list.
    if (!isNameTaken(blacklistFile) || addFileLines(blacklistFile, addDenied, report)) {
        if (isNameTaken(blacklistFile) && lists.blacklistSize() == 0) {
            report.warn(blacklistFile + " holds no mask: nothing is denied");
        }
        allowKioskPages(lists);
        return;
    }
    if (!blacklistDefault.empty() && blacklistDefault != blacklistFile &&
        isNameTaken(blacklistDefault) && addFileLines(blacklistDefault, addDenied, report)) {
        report.warn(blacklistFile + " cannot be read: its default copy " + blacklistDefault +
                    " is in force");
    } else {
        lists.blacklistUnreadable();
        report.error(blacklistFile +
                     " cannot be read: every address but the kiosk's own pages is denied until "
                     "a reload of the lists can read it");
    }
    allowKioskPages(lists);
}

void allowNavButtonAddresses(UrlLists& lists, const std::vector<NavButton>& buttons) {
    for (const NavButton& button : buttons) {
        lists.whitelistAddUrl(button.url);
    }
}

}  // namespace plintor
