#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/support/LocalTime.h"

namespace plintor {

// The operating system's files and clock, where the portable core needs more than the standard
// library gives: a file that is never opened through a symbolic link, one write per entry and a
// cut back after a failed one, a copy that never replaces a file. This header is the whole of
// the core's contact with the system; each system implements it once (platform/posix now,
// platform/win32 for Windows).
class SystemFile {
public:
    enum class OpenMode {
        Read,         // an existing file
        ReadWrite,    // created empty when missing
        CreateNew,    // fails when the file exists
        CreateEmpty,  // created, or emptied when it exists
    };

    // `noLinks`: fails when the name is a symbolic link. Only regular files are opened.
    static SystemFile open(const std::string& fileName, OpenMode how, bool noLinks = false,
                           unsigned int mode = 0644);

    SystemFile(SystemFile&& other) noexcept;
    SystemFile& operator=(SystemFile&& other) noexcept;
    SystemFile(const SystemFile&) = delete;
    SystemFile& operator=(const SystemFile&) = delete;
    ~SystemFile();

    bool isOpen() const { return m_handle >= 0; }
    // The system's error number of the last failure (of open, or of a call below).
    int error() const { return m_error; }
    bool isLink() const { return m_link; }  // open failed because the name is a link

    std::int64_t size();  // -1 on failure
    unsigned int mode();  // the permission bits
    bool readAll(std::string& bytes);
    bool readAt(std::int64_t offset, std::string& bytes);  // fills `bytes` whole
    // One call of the system; when it writes less, what it wrote past the file's old end is cut
    // off again (never the file's old content).
    bool writeWholeAt(std::int64_t offset, std::string_view bytes);
    bool writeAll(std::string_view bytes);  // from the current position, resuming
    bool truncate(std::int64_t size);
    bool sync();
    bool close();

private:
    explicit SystemFile(std::intptr_t handle, int error, bool link)
        : m_handle(handle), m_error(error), m_link(link) {}

    std::intptr_t m_handle = -1;
    int m_error = 0;
    bool m_link = false;
};

// Gives the file its new name, replacing a file of that name.
bool renameFile(const std::string& from, const std::string& to);
// Gives the file a second name; fails when that name exists.
bool linkFileNoReplace(const std::string& from, const std::string& to);
// Removes the name, also of a read-only file, and changes no other file: a link is removed
// itself, never followed, and no mode is changed where the system removes without. Failures
// are silent.
void removeFileForced(const std::string& fileName);
bool fileExists(const std::string& fileName);
// A new empty file of a name of its own in the folder; none when the folder takes no file.
std::optional<std::string> createUniqueFile(const std::string& folder, const std::string& prefix);
// The system's text for an error number.
std::string systemErrorText(int error);

// The simple upper-case form of a character of the Basic Multilingual Plane, the same in every
// environment (not the user's locale); the character itself when it has none.
char32_t upperCaseCharacter(char32_t c);

// The local date and time, milliseconds included.
DateTimeParts localNow();

}  // namespace plintor
