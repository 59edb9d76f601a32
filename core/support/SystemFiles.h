#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/support/DateTime.h"

namespace plintor {

// The operating system's files and clock, where the portable core needs more than the standard
// library gives: a file that is never opened through a symbolic link, one write per entry and a
// cut back after a failed one, a copy that never replaces a file. This header is the whole of
// the core's contact with the system; each system implements it once (platform/posix now,
// platform/win32 for Windows).
class TSystemFile {
public:
    enum class TOpen {
        Read,         // an existing file
        ReadWrite,    // created empty when missing
        CreateNew,    // fails when the file exists
        CreateEmpty,  // created, or emptied when it exists
    };

    // `noLinks`: fails when the name is a symbolic link. Only regular files are opened.
    static TSystemFile Open(const std::string& fileName, TOpen how, bool noLinks = false,
                            unsigned int mode = 0644);

    TSystemFile(TSystemFile&& other) noexcept;
    TSystemFile& operator=(TSystemFile&& other) noexcept;
    TSystemFile(const TSystemFile&) = delete;
    TSystemFile& operator=(const TSystemFile&) = delete;
    ~TSystemFile();

    bool IsOpen() const { return FHandle >= 0; }
    // The system's error number of the last failure (of Open, or of a call below).
    int Error() const { return FError; }
    bool IsLink() const { return FLink; }  // Open failed because the name is a link

    std::int64_t Size();  // -1 on failure
    unsigned int Mode();  // the permission bits
    bool ReadAll(std::string& bytes);
    bool ReadAt(std::int64_t offset, std::string& bytes);  // fills `bytes` whole
    // One call of the system; when it writes less, what it wrote is cut off again.
    bool WriteWholeAt(std::int64_t offset, std::string_view bytes);
    bool WriteAll(std::string_view bytes);  // from the current position, resuming
    bool Truncate(std::int64_t size);
    bool Sync();
    bool Close();

private:
    explicit TSystemFile(std::intptr_t handle, int error, bool link)
        : FHandle(handle), FError(error), FLink(link) {}

    std::intptr_t FHandle = -1;
    int FError = 0;
    bool FLink = false;
};

// Gives the file its new name, replacing a file of that name.
bool RenameFile(const std::string& from, const std::string& to);
// Gives the file a second name; fails when that name exists.
bool LinkFileNoReplace(const std::string& from, const std::string& to);
// Removes the file, also when it is read-only; failures are silent.
void RemoveFileForced(const std::string& fileName);
bool FileExists(const std::string& fileName);
// A new empty file of a name of its own in the folder; none when the folder takes no file.
std::optional<std::string> CreateUniqueFile(const std::string& folder, const std::string& prefix);
// The system's text for an error number.
std::string SystemErrorText(int error);

// The local date and time, milliseconds included.
TDateTimeParts LocalNow();

}  // namespace plintor
