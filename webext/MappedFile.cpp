#include "webext/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace plintor {

MappedFile::MappedFile(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || status.st_size <= 0) {
        error = path + ": empty or unreadable";
    } else {
        void* data =
            ::mmap(nullptr, static_cast<std::size_t>(status.st_size), PROT_READ, MAP_SHARED, fd, 0);
        if (data == MAP_FAILED) {
            error = path + ": " + std::strerror(errno);
        } else {
            m_data = static_cast<const char*>(data);
            m_size = static_cast<std::size_t>(status.st_size);
        }
    }
    ::close(fd);  // the mapping keeps the file
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        unmap();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

MappedFile::~MappedFile() {
    unmap();
}

void MappedFile::unmap() {
    if (m_data != nullptr) {
        ::munmap(const_cast<char*>(m_data), m_size);
        m_data = nullptr;
        m_size = 0;
    }
}

}  // namespace plintor
