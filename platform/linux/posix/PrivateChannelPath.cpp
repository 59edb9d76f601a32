#include "platform/linux/posix/PrivateChannelPath.h"

#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace plintor {
namespace {

constexpr const char* SocketName = "/plintor.socket";

// Where the channel's folder is, and whether the kiosk makes it when it is missing: the
// session's runtime folder is the session's to make.
std::pair<std::string, bool> channelFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        return {runtime, false};
    }
    return {"/tmp/plintor-" + std::to_string(::getuid()), true};
}

// Checked without following a link: a link could lead anywhere another user chose. A folder
// that is not there yet is no danger to a sender: nothing listens in it.
bool isPrivateFolder(const std::string& folder, bool create, std::string& error) {
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0) {
        if (errno == ENOENT && !create) {
            return true;
        }
        error = folder + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(status.st_mode) || status.st_uid != ::getuid() || (status.st_mode & 077) != 0) {
        error = folder + " is not a folder that this user alone can reach";
        return false;
    }
    return true;
}

}  // namespace

std::optional<std::string> privateChannelPath(bool create, std::string& error) {
    const auto [folder, ours] = channelFolder();
    if (create && ours && ::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = folder + ": " + std::strerror(errno);
        return std::nullopt;
    }
    if (!isPrivateFolder(folder, create, error)) {
        return std::nullopt;
    }
    const std::string path = folder + SocketName;
    if (path.size() >= sizeof(sockaddr_un::sun_path)) {
        error = path + " is too long for a socket's address";
        return std::nullopt;
    }
    return path;
}

}  // namespace plintor
