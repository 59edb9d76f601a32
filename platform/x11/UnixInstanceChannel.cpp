// One abstract datagram socket per user: binding it is the single-instance claim, and its
// datagrams are the messages. The kernel stamps every datagram with the sender's credentials.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

#include "platform/InstanceChannel.h"
#include "platform/posix/UniqueFd.h"
#include "platform/x11/LinuxServices.h"

namespace plintor {
namespace {

constexpr std::size_t MaxDatagram = 1 << 20;

socklen_t channelAddress(sockaddr_un& address) {
    const std::string name = kioskChannelName(::getuid());
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());  // sun_path[0] = 0: abstract
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
}

bool fromTrustedSender(msghdr& header) {
    for (cmsghdr* control = CMSG_FIRSTHDR(&header); control != nullptr;
         control = CMSG_NXTHDR(&header, control)) {
        if (control->cmsg_level == SOL_SOCKET && control->cmsg_type == SCM_CREDENTIALS) {
            ucred credentials{};
            std::memcpy(&credentials, CMSG_DATA(control), sizeof credentials);
            return credentials.uid == ::getuid() || credentials.uid == 0;
        }
    }
    return false;
}

class UnixInstanceChannel final : public InstanceChannel {
public:
    explicit UnixInstanceChannel(UniqueFd socket)
        : m_socket(std::move(socket)), m_buffer(MaxDatagram) {}

    int descriptor() const override { return m_socket.get(); }

    std::vector<KioskMessage> receiveAll() override {
        std::vector<KioskMessage> messages;
        for (;;) {
            iovec data{m_buffer.data(), m_buffer.size()};
            alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))];
            msghdr header{};
            header.msg_iov = &data;
            header.msg_iovlen = 1;
            header.msg_control = control;
            header.msg_controllen = sizeof control;
            const ssize_t received = ::recvmsg(m_socket.get(), &header, MSG_DONTWAIT);
            if (received < 0) {
                return messages;
            }
            if (!fromTrustedSender(header) || (header.msg_flags & MSG_TRUNC) != 0) {
                continue;
            }
            if (auto message =
                    decodeKioskMessage({m_buffer.data(), static_cast<std::size_t>(received)})) {
                messages.push_back(std::move(*message));
            }
        }
    }

private:
    UniqueFd m_socket;
    std::vector<char> m_buffer;
};

}  // namespace

std::unique_ptr<InstanceChannel> claimUnixInstanceChannel() {
    UniqueFd socket(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    sockaddr_un address{};
    const socklen_t length = channelAddress(address);
    if (!socket.isOpen() ||
        ::bind(socket.get(), reinterpret_cast<sockaddr*>(&address), length) != 0) {
        return nullptr;
    }
    const int on = 1;
    ::setsockopt(socket.get(), SOL_SOCKET, SO_PASSCRED, &on, sizeof on);
    return std::make_unique<UnixInstanceChannel>(std::move(socket));
}

bool sendToUnixInstance(const KioskMessage& message, std::string& error) {
    const UniqueFd socket(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    sockaddr_un address{};
    const socklen_t length = channelAddress(address);
    const std::string datagram = encodeKioskMessage(message);
    if (datagram.size() > MaxDatagram) {
        error = "the message is too long";
        return false;
    }
    if (!socket.isOpen() || ::sendto(socket.get(), datagram.data(), datagram.size(), 0,
                                     reinterpret_cast<sockaddr*>(&address), length) < 0) {
        error = errno == ECONNREFUSED || errno == ENOENT ? "no kiosk is running for this user"
                                                         : std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace plintor
