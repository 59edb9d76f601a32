#pragma once

#include <string>
#include <vector>

namespace plintor {

// The private folder in the user's temporary folder that documents are fetched into, with
// whatever the engine and the converter leave beside them (a transfer cut off by a kill leaves
// its partial file). Made by the kiosk, reachable by this user only, and emptied whole at start
// and for every new visitor, so that nothing a visitor fetched stays for the next one or fills
// the disk. A folder of its name that is not ours (another user's, a link planted in its
// place) is never used nor followed: a fresh one of a name of its own is made instead.
class DocumentFolder {
public:
    DocumentFolder() = default;
    // The folder of the fixed name in `tempFolder`.
    explicit DocumentFolder(const std::string& tempFolder);

    const std::string& path() const { return m_path; }

    // At start, once no other kiosk of this user runs: removes what earlier runs left (also the
    // fresh folders they had to make) and makes the folder afresh. Returns lines for the log.
    std::vector<std::string> prepare();
    // A new visitor: everything in it goes. Returns lines for the log.
    std::vector<std::string> clear() const;
    // Empty when a download may go into it now (it is made again when it went, for instance by
    // a cleaner of the temporary folder); else why not.
    std::string whyNotReady() const;

private:
    std::string freshPrefix() const;
    void removeEarlierFreshFolders() const;

    std::string m_tempFolder;
    std::string m_fixedPath;
    std::string m_path;
};

}  // namespace plintor
