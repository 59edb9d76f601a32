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

socklen_t ChannelAddress(sockaddr_un& address) {
    const std::string name = KioskChannelName(::getuid());
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());  // sun_path[0] = 0: abstract
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
}

bool FromTrustedSender(msghdr& header) {
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

class TUnixInstanceChannel final : public IInstanceChannel {
public:
    explicit TUnixInstanceChannel(TUniqueFd socket)
        : FSocket(std::move(socket)), FBuffer(MaxDatagram) {}

    int Descriptor() const override { return FSocket.Get(); }

    std::vector<TKioskMessage> ReceiveAll() override {
        std::vector<TKioskMessage> messages;
        for (;;) {
            iovec data{FBuffer.data(), FBuffer.size()};
            alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))];
            msghdr header{};
            header.msg_iov = &data;
            header.msg_iovlen = 1;
            header.msg_control = control;
            header.msg_controllen = sizeof control;
            const ssize_t received = ::recvmsg(FSocket.Get(), &header, MSG_DONTWAIT);
            if (received < 0) {
                return messages;
            }
            if (!FromTrustedSender(header) || (header.msg_flags & MSG_TRUNC) != 0) {
                continue;
            }
            if (auto message =
                    DecodeKioskMessage({FBuffer.data(), static_cast<std::size_t>(received)})) {
                messages.push_back(std::move(*message));
            }
        }
    }

private:
    TUniqueFd FSocket;
    std::vector<char> FBuffer;
};

}  // namespace

std::unique_ptr<IInstanceChannel> ClaimUnixInstanceChannel() {
    TUniqueFd socket(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    sockaddr_un address{};
    const socklen_t length = ChannelAddress(address);
    if (!socket.IsOpen() ||
        ::bind(socket.Get(), reinterpret_cast<sockaddr*>(&address), length) != 0) {
        return nullptr;
    }
    const int on = 1;
    ::setsockopt(socket.Get(), SOL_SOCKET, SO_PASSCRED, &on, sizeof on);
    return std::make_unique<TUnixInstanceChannel>(std::move(socket));
}

bool SendToUnixInstance(const TKioskMessage& message, std::string& error) {
    const TUniqueFd socket(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    sockaddr_un address{};
    const socklen_t length = ChannelAddress(address);
    const std::string datagram = EncodeKioskMessage(message);
    if (datagram.size() > MaxDatagram) {
        error = "the message is too long";
        return false;
    }
    if (!socket.IsOpen() || ::sendto(socket.Get(), datagram.data(), datagram.size(), 0,
                                     reinterpret_cast<sockaddr*>(&address), length) < 0) {
        error = errno == ECONNREFUSED || errno == ENOENT ? "no kiosk is running for this user"
                                                         : std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace plintor
