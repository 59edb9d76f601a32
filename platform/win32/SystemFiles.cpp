// The core's files and clock on Windows. Error numbers are the C library's (errno values), as
// on POSIX, so that the core's messages read the same on both systems.
#include "core/support/SystemFiles.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

#include "platform/win32/WideText.h"

namespace plintor {
namespace {

HANDLE handleOf(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

int errnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return EACCES;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EBUSY;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_INVALID_NAME:
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        default:
            return EIO;
    }
}

int lastErrno() {
    return errnoOf(GetLastError());
}

DWORD disposition(SystemFile::OpenMode how) {
    switch (how) {
        case SystemFile::OpenMode::Read:
            return OPEN_EXISTING;
        case SystemFile::OpenMode::ReadWrite:
            return OPEN_ALWAYS;
        case SystemFile::OpenMode::CreateNew:
            return CREATE_NEW;
        case SystemFile::OpenMode::CreateEmpty:
            break;
    }
    return CREATE_ALWAYS;
}

DWORD access(SystemFile::OpenMode how) {
    switch (how) {
        case SystemFile::OpenMode::Read:
            return GENERIC_READ;
        case SystemFile::OpenMode::ReadWrite:
            return GENERIC_READ | GENERIC_WRITE;
        default:
            return GENERIC_WRITE;
    }
}

bool isLinkName(const std::wstring& name) {
    const DWORD attributes = GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool isRegularFile(HANDLE file, bool noLinks) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info)) {
        return false;
    }
    const DWORD notRegular = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE |
                             (noLinks ? FILE_ATTRIBUTE_REPARSE_POINT : 0);
    return (info.dwFileAttributes & notRegular) == 0;
}

bool seek(HANDLE file, std::int64_t offset) {
    LARGE_INTEGER position{};
    position.QuadPart = offset;
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) != 0;
}

std::int64_t currentPosition(HANDLE file) {
    LARGE_INTEGER none{};
    LARGE_INTEGER position{};
    return SetFilePointerEx(file, none, &position, FILE_CURRENT) ? position.QuadPart : -1;
}

OVERLAPPED at(std::int64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
    where.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
    return where;
}

DWORD chunk(std::size_t bytes) {
    return static_cast<DWORD>(bytes < (1u << 30) ? bytes : (1u << 30));
}

}  // namespace

// Shared for reading, writing and deleting, so that another program may read the log
// meanwhile and a finished copy can take the name of a file that is open elsewhere. A read-only
// `mode` (no owner write bit) makes a new file read-only, as it would on POSIX.
SystemFile SystemFile::open(const std::string& fileName, OpenMode how, bool noLinks,
                            unsigned int mode) {
    const std::wstring name = toWide(fileName);
    if (noLinks && isLinkName(name)) {
        return SystemFile(-1, ELOOP, true);
    }
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return SystemFile(-1, EINVAL, false);
    }
    const DWORD created = (mode & 0200) ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
    HANDLE file = CreateFileW(
        name.c_str(), access(how), FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        disposition(how), created | (noLinks ? FILE_FLAG_OPEN_REPARSE_POINT : 0), nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return SystemFile(-1, lastErrno(), false);
    }
    if (!isRegularFile(file, noLinks)) {
        CloseHandle(file);
        return SystemFile(-1, EINVAL, false);
    }
    return SystemFile(reinterpret_cast<std::intptr_t>(file), 0, false);
}

SystemFile::SystemFile(SystemFile&& other) noexcept
    : m_handle(other.m_handle), m_error(other.m_error), m_link(other.m_link) {
    other.m_handle = -1;
}

SystemFile& SystemFile::operator=(SystemFile&& other) noexcept {
    if (this != &other) {
        close();
        m_handle = other.m_handle;
        m_error = other.m_error;
        m_link = other.m_link;
        other.m_handle = -1;
    }
    return *this;
}

SystemFile::~SystemFile() {
    close();
}

std::int64_t SystemFile::size() {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handleOf(m_handle), &size)) {
        m_error = lastErrno();
        return -1;
    }
    return size.QuadPart;
}

unsigned int SystemFile::mode() {
    BY_HANDLE_FILE_INFORMATION info{};
    const bool readOnly = GetFileInformationByHandle(handleOf(m_handle), &info) &&
                          (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
    return readOnly ? 0444 : 0644;
}

bool SystemFile::readAll(std::string& bytes) {
    bytes.clear();
    char buffer[65536];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(handleOf(m_handle), buffer, sizeof buffer, &read, nullptr)) {
            m_error = lastErrno();
            return false;
        }
        if (read == 0) {
            return true;
        }
        bytes.append(buffer, read);
    }
}

// Positioned reads and writes move the file pointer on Windows; the POSIX calls they stand
// for do not, so the position is put back.
bool SystemFile::readAt(std::int64_t offset, std::string& bytes) {
    const std::int64_t position = currentPosition(handleOf(m_handle));
    std::size_t done = 0;
    while (done < bytes.size()) {
        OVERLAPPED where = at(offset + static_cast<std::int64_t>(done));
        DWORD read = 0;
        if (!ReadFile(handleOf(m_handle), bytes.data() + done, chunk(bytes.size() - done), &read,
                      &where) ||
            read == 0) {
            m_error = read == 0 ? EIO : lastErrno();
            seek(handleOf(m_handle), position);
            return false;
        }
        done += read;
    }
    return seek(handleOf(m_handle), position);
}

bool SystemFile::writeWholeAt(std::int64_t offset, std::string_view bytes) {
    const std::int64_t position = currentPosition(handleOf(m_handle));
    const std::int64_t sizeBefore = size();
    OVERLAPPED where = at(offset);
    DWORD written = 0;
    const bool whole =
        bytes.size() < (1u << 30) &&
        WriteFile(handleOf(m_handle), bytes.data(), chunk(bytes.size()), &written, &where) &&
        written == bytes.size();
    if (!whole) {
        m_error = written == 0 && GetLastError() != ERROR_SUCCESS ? lastErrno() : ENOSPC;
        if (sizeBefore >= 0 && seek(handleOf(m_handle), std::max(offset, sizeBefore))) {
            SetEndOfFile(handleOf(m_handle));
        }
    }
    seek(handleOf(m_handle), position);
    return whole;
}

bool SystemFile::writeAll(std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(handleOf(m_handle), bytes.data(), chunk(bytes.size()), &written, nullptr) ||
            written == 0) {
            m_error = written == 0 ? ENOSPC : lastErrno();
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

bool SystemFile::truncate(std::int64_t size) {
    const std::int64_t position = currentPosition(handleOf(m_handle));
    const bool cut = seek(handleOf(m_handle), size) && SetEndOfFile(handleOf(m_handle));
    if (!cut) {
        m_error = lastErrno();
    }
    seek(handleOf(m_handle), position);
    return cut;
}

// Windows flushes only through a handle with write access, where fsync takes any descriptor:
// a file opened for reading is flushed through a second, writing handle.
bool SystemFile::sync() {
    if (FlushFileBuffers(handleOf(m_handle))) {
        return true;
    }
    if (GetLastError() == ERROR_ACCESS_DENIED) {
        HANDLE writing = ReOpenFile(handleOf(m_handle), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0);
        if (writing != INVALID_HANDLE_VALUE) {
            const bool flushed = FlushFileBuffers(writing) != 0;
            const int error = lastErrno();
            CloseHandle(writing);
            if (flushed) {
                return true;
            }
            m_error = error;
            return false;
        }
    }
    m_error = lastErrno();
    return false;
}

bool SystemFile::close() {
    if (m_handle < 0) {
        return true;
    }
    const bool closed = CloseHandle(handleOf(m_handle)) != 0;
    if (!closed) {
        m_error = lastErrno();
    }
    m_handle = -1;
    return closed;
}

bool renameFile(const std::string& from, const std::string& to) {
    return MoveFileExW(toWide(from).c_str(), toWide(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// File systems without hard links (FAT on a stick) still get the name: a move without
// replacing is just as safe for the callers, which drop the first name afterwards.
bool linkFileNoReplace(const std::string& from, const std::string& to) {
    const std::wstring source = toWide(from);
    const std::wstring target = toWide(to);
    if (CreateHardLinkW(target.c_str(), source.c_str(), nullptr)) {
        return true;
    }
    const DWORD error = GetLastError();
    return error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS &&
           MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

// Windows deletes no read-only file, so that attribute is cleared first: of the name itself (a
// link is opened as itself, never followed), through the handle that then deletes it. It is put
// back when the deletion is refused, and when other names (hard links) share the file.
void removeFileForced(const std::string& fileName) {
    const std::wstring name = toWide(fileName);
    if (DeleteFileW(name.c_str()) || GetLastError() != ERROR_ACCESS_DENIED) {
        return;
    }
    HANDLE file = CreateFileW(name.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(file, &info) &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY)) {
        const DWORD writable = info.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY;
        FILE_BASIC_INFO basic{};  // times of 0 stay as they are
        basic.FileAttributes = writable != 0 ? writable : FILE_ATTRIBUTE_NORMAL;
        FILE_DISPOSITION_INFO deletion{TRUE};
        if (SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic)) {
            const bool deleted =
                SetFileInformationByHandle(file, FileDispositionInfo, &deletion, sizeof deletion);
            if (!deleted || info.nNumberOfLinks > 1) {
                basic.FileAttributes = info.dwFileAttributes;
                SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
            }
        }
    }
    CloseHandle(file);
}

bool fileExists(const std::string& fileName) {
    return GetFileAttributesW(toWide(fileName).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> createUniqueFile(const std::string& folder, const std::string& prefix) {
    std::random_device seed;
    std::mt19937 random(seed());
    const bool delimited = folder.empty() || folder.back() == '/' || folder.back() == '\\';
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name =
            folder + (delimited ? "" : "\\") + prefix + std::to_string(random() % 100000000u);
        HANDLE file = CreateFileW(toWide(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return name;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::string systemErrorText(int error) {
    return std::strerror(error);
}

// The invariant locale's simple mapping, one UTF-16 unit in and out.
char32_t upperCaseCharacter(char32_t c) {
    if (c > 0xFFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return c;
    }
    const wchar_t in = static_cast<wchar_t>(c);
    wchar_t out = in;
    return LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, &in, 1, &out, 1, nullptr, nullptr,
                         0) == 1
               ? static_cast<char32_t>(out)
               : c;
}

DateTimeParts localNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear,   now.wMonth,  now.wDay,         now.wHour,
            now.wMinute, now.wSecond, now.wMilliseconds};
}

}  // namespace plintor
