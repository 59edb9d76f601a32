#pragma once

#include <optional>
#include <string>

namespace plintor {

// Folders that only this user may reach, in a folder that others may write to (the temporary
// folder): made private, recognised as ours only when they are, and removed without ever
// following a link. Part of the core's contact with the system, like SystemFiles.h.

enum class FolderOwner {
    Missing,
    Ours,     // a folder (not a link to one) of this user, reachable by nobody else
    NotOurs,  // a link, a file, another user's folder, or one that others may reach
};
FolderOwner folderOwner(const std::string& folder);
// Why a folder is not ours, in a few words ("a symbolic link", "owned by another user"…).
std::string whyNotOurs(const std::string& folder);

// Makes the folder, reachable by this user only; false when it exists or cannot be made.
bool makePrivateFolder(const std::string& folder);
// A new private folder of a name of its own in `parent`, beginning with `prefix`.
std::optional<std::string> makeUniquePrivateFolder(const std::string& parent,
                                                   const std::string& prefix);
// Removes everything in the folder, links as links; false when anything stayed.
bool emptyFolder(const std::string& folder);
// Removes the folder with everything in it; a link in its place is removed, not followed.
bool removeFolderTree(const std::string& folder);

// A short text that tells this user's folders from other users' ("1000").
std::string userTag();

}  // namespace plintor
