#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/posix/UniqueFd.h"

namespace plintor {

// The program's side of SharedDenyList: a folder of its own under the user's runtime folder
// (a memory file system on most systems), locked while the program runs. Folders whose lock
// is free were left by a program that ended without removing its own; each start removes
// them. The images' pages are shared by every web process that maps them.
class SharedListFolder {
public:
    SharedListFolder();
    SharedListFolder(const SharedListFolder&) = delete;
    SharedListFolder& operator=(const SharedListFolder&) = delete;
    ~SharedListFolder();

    // "" when the folder could not be made (the reason is logged).
    const std::string& path() const { return m_path; }

    // Writes the image as the next generation, then publishes its number. An image that
    // cannot be written whole is published all the same, missing: every web process then
    // refuses every request rather than judge by an older list.
    void publish(std::string_view image);

private:
    void make();
    void removeImage(std::uint64_t generation) const;

    std::string m_path;
    UniqueFd m_folder;                      // holds the lock
    std::uint64_t* m_generation = nullptr;  // the first word of the shared generation file
    std::uint64_t m_published = 0;
};

}  // namespace plintor
