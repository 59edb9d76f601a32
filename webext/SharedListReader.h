#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/browser/DenyListView.h"
#include "webext/MappedFile.h"

namespace plintor {

// The web process's side of the shared deny list (SharedDenyList): before each decision it
// reads the program's generation number, and maps the image of a new one before it answers.
// So a request judged after the program published a list is judged by that list, in this
// process whatever its age, with no message in between. Closed by default: when the folder,
// the number or the image cannot be read, every address is denied.
class SharedListReader {
public:
    explicit SharedListReader(std::string folder);

    bool denies(std::string_view url);

private:
    std::uint64_t publishedGeneration() const;
    void follow(std::uint64_t generation);

    std::string m_folder;
    MappedFile m_generationFile;
    std::uint64_t m_generation = 0;  // of the image mapped now (0: none, nothing is denied)
    MappedFile m_image;
    std::unique_ptr<DenyListView> m_list;  // null while the generation's image is unreadable
};

}  // namespace plintor
