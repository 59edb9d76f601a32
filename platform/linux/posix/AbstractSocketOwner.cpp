#include "platform/linux/posix/AbstractSocketOwner.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <linux/sock_diag.h>
#include <linux/unix_diag.h>
#include <sys/socket.h>

#include <cstring>
#include <vector>

#include "platform/posix/UniqueFd.h"

namespace plintor {
namespace {

// Asks for every Unix socket of this network namespace with its name and its maker's user.
bool requestDump(int socket) {
    struct {
        nlmsghdr header;
        unix_diag_req request;
    } message{};
    message.header.nlmsg_len = sizeof message;
    message.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
    message.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    message.request.sdiag_family = AF_UNIX;
    message.request.udiag_states = ~0U;
    message.request.udiag_show = UDIAG_SHOW_NAME | UDIAG_SHOW_UID;
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    return ::sendto(socket, &message, sizeof message, 0, reinterpret_cast<sockaddr*>(&kernel),
                    sizeof kernel) == static_cast<ssize_t>(sizeof message);
}

// The maker of the socket one answer describes, when its name is `name` (abstract: a NUL
// and the name).
std::optional<uid_t> ownerIfNamed(const nlmsghdr* header, std::string_view name) {
    const auto* socket = static_cast<const unix_diag_msg*>(NLMSG_DATA(header));
    int length = static_cast<int>(header->nlmsg_len - NLMSG_LENGTH(sizeof *socket));
    bool named = false;
    std::optional<uid_t> owner;
    for (auto* attribute = reinterpret_cast<const rtattr*>(socket + 1); RTA_OK(attribute, length);
         attribute = RTA_NEXT(attribute, length)) {
        const std::string_view data(static_cast<const char*>(RTA_DATA(attribute)),
                                    RTA_PAYLOAD(attribute));
        if (attribute->rta_type == UNIX_DIAG_NAME) {
            named = data.size() == name.size() + 1 && data[0] == '\0' && data.substr(1) == name;
        } else if (attribute->rta_type == UNIX_DIAG_UID && data.size() >= sizeof(uid_t)) {
            uid_t uid = 0;
            std::memcpy(&uid, data.data(), sizeof uid);
            owner = uid;
        }
    }
    return named ? owner : std::nullopt;
}

}  // namespace

std::optional<uid_t> abstractSocketOwner(std::string_view name) {
    const UniqueFd socket(::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG));
    if (!socket.isOpen() || !requestDump(socket.get())) {
        return std::nullopt;
    }
    std::vector<char> buffer(1 << 16);
    std::optional<uid_t> found;
    for (;;) {
        const ssize_t received = ::recv(socket.get(), buffer.data(), buffer.size(), 0);
        if (received <= 0) {
            return found;
        }
        int length = static_cast<int>(received);
        for (auto* header = reinterpret_cast<const nlmsghdr*>(buffer.data());
             NLMSG_OK(header, length); header = NLMSG_NEXT(header, length)) {
            if (header->nlmsg_type == NLMSG_DONE || header->nlmsg_type == NLMSG_ERROR) {
                return found;
            }
            if (!found) {
                found = ownerIfNamed(header, name);
            }
        }
    }
}

}  // namespace plintor
