#include "webext/SharedListReader.h"

#include <glib.h>

#include <utility>

#include "core/browser/SharedDenyList.h"

namespace plintor {
namespace {

// A newer list may replace the one just read before it is opened; then the newest is tried.
constexpr int OpenAttempts = 3;

}  // namespace

SharedListReader::SharedListReader(std::string folder) : m_folder(std::move(folder)) {
    std::string error;
    m_generationFile = MappedFile(m_folder + "/" + SharedDenyList::GenerationFile, error);
    if (m_generationFile.bytes().size() < sizeof(std::uint64_t)) {
        g_warning("The deny list cannot be followed, every request is refused: %s",
                  error.empty() ? "the generation file is too short" : error.c_str());
        m_generationFile = {};
    }
}

// The program stores the number after the image is whole (a release store); this acquire
// load makes the image's bytes visible with it.
std::uint64_t SharedListReader::publishedGeneration() const {
    const auto* word = reinterpret_cast<const std::uint64_t*>(m_generationFile.bytes().data());
    return __atomic_load_n(word, __ATOMIC_ACQUIRE);
}

void SharedListReader::follow(std::uint64_t generation) {
    m_list.reset();
    m_image = {};
    std::string error;
    for (int attempt = 0; attempt < OpenAttempts; ++attempt) {
        m_generation = generation;
        error.clear();
        MappedFile image(m_folder + "/" + SharedDenyList::imageFile(generation), error);
        if (image.isMapped()) {
            m_list = DenyListView::open(image.bytes(), error);
            m_image = std::move(image);
            break;
        }
        generation = publishedGeneration();
        if (generation == m_generation) {
            break;
        }
    }
    if (!m_list) {
        g_warning("Deny list %llu cannot be read, every request is refused: %s",
                  static_cast<unsigned long long>(m_generation), error.c_str());
    }
}

bool SharedListReader::denies(std::string_view url) {
    if (!m_generationFile.isMapped()) {
        return true;
    }
    const std::uint64_t generation = publishedGeneration();
    if (generation == 0) {
        return false;
    }
    if (generation != m_generation) {
        follow(generation);
    }
    return !m_list || m_list->isUrlDenied(url);
}

}  // namespace plintor
