#include "core/documents/DocumentFolder.h"

#include <filesystem>
#include <optional>

#include "core/support/FileHelpers.h"
#include "core/support/PrivateFolder.h"

namespace plintor {
namespace {

constexpr std::string_view NamePrefix = "plintor-documents-";

std::string notOursText(const std::string& folder) {
    return "Documents folder " + folder + " is not used: " + whyNotOurs(folder);
}

}  // namespace

DocumentFolder::DocumentFolder(const std::string& tempFolder)
    : m_tempFolder(tempFolder),
      m_fixedPath(withTrailingDelimiter(tempFolder) + std::string(NamePrefix) + userTag()),
      m_path(m_fixedPath) {}

std::string DocumentFolder::freshPrefix() const {
    return std::filesystem::path(m_fixedPath).filename().string() + ".";
}

// Only folders that are ours: a name like theirs that another user made is theirs.
void DocumentFolder::removeEarlierFreshFolders() const {
    std::error_code error;
    const std::string prefix = freshPrefix();
    for (const auto& entry : std::filesystem::directory_iterator(m_tempFolder, error)) {
        const std::string folder = entry.path().string();
        if (entry.path().filename().string().starts_with(prefix) &&
            folderOwner(folder) == FolderOwner::Ours) {
            removeFolderTree(folder);
        }
    }
}

std::vector<std::string> DocumentFolder::prepare() {
    removeEarlierFreshFolders();
    m_path = m_fixedPath;
    std::vector<std::string> log;
    if (folderOwner(m_path) == FolderOwner::Ours && !removeFolderTree(m_path)) {
        log.push_back("Documents folder " + m_path + " cannot be removed whole");
    }
    if (folderOwner(m_path) == FolderOwner::Missing) {
        makePrivateFolder(m_path);
    }
    if (folderOwner(m_path) == FolderOwner::Ours) {
        return log;
    }
    log.push_back(folderOwner(m_path) == FolderOwner::Missing
                      ? "Documents folder " + m_path + " cannot be made"
                      : notOursText(m_path));
    if (const std::optional<std::string> fresh =
            makeUniquePrivateFolder(m_tempFolder, freshPrefix())) {
        m_path = *fresh;
        log.push_back("Documents go to " + m_path);
    } else {
        log.push_back("No documents folder can be made in " + m_tempFolder +
                      ": downloads are refused");
    }
    return log;
}

std::vector<std::string> DocumentFolder::clear() const {
    if (folderOwner(m_path) != FolderOwner::Ours) {
        return {};  // nothing of ours is there; the next download says why it cannot go there
    }
    if (!emptyFolder(m_path)) {
        return {"Documents folder " + m_path + " cannot be emptied"};
    }
    return {};
}

std::string DocumentFolder::whyNotReady() const {
    if (m_path.empty()) {
        return "there is no documents folder";
    }
    if (folderOwner(m_path) == FolderOwner::Missing && !makePrivateFolder(m_path) &&
        folderOwner(m_path) == FolderOwner::Missing) {
        return "Documents folder " + m_path + " is missing and cannot be made";
    }
    if (folderOwner(m_path) != FolderOwner::Ours) {
        return notOursText(m_path);
    }
    return canWriteIn(m_path) ? "" : "Documents folder " + m_path + " takes no file";
}

}  // namespace plintor
