// Two sockets per user's kiosk. Binding the abstract name "Plintor<uid>" is the single-instance
// claim: the kernel frees it when the kiosk ends, however it ends. But any user can bind any
// abstract name, so no message goes there: the messages are datagrams to a socket file in a
// folder that only this user can reach (PrivateChannelPath), which another user can neither
// take nor send to. The kernel stamps every datagram with the sender's credentials and its
// bound address, so an answer goes back to the socket that really asked, and an asker takes an
// answer only from this user's kiosk.
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <optional>

#include "platform/InstanceChannel.h"
#include "platform/linux/LinuxServices.h"
#include "platform/linux/posix/AbstractSocketOwner.h"
#include "platform/linux/posix/PrivateChannelPath.h"
#include "platform/posix/UniqueFd.h"

namespace plintor {
namespace {

constexpr std::size_t MaxDatagram = 1 << 20;
// An answer is a status report: far below this (see MaxStatusJson).
constexpr std::size_t MaxAnswerDatagram = 1 << 17;

// An address in the form the kernel reports a sender's: the bytes of the sockaddr_un it fills,
// as long as the address is.
std::string addressBytes(const sockaddr_un& address, socklen_t length) {
    return {reinterpret_cast<const char*>(&address), length};
}

std::string singleInstanceAddress() {
    const std::string name = kioskChannelName(::getuid());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());  // sun_path[0] = 0: abstract
    return addressBytes(address,
                        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size()));
}

// As the kernel reports a sender bound to `path`: the path and its terminating NUL.
std::string fileAddress(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    return addressBytes(address,
                        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + 1));
}

// Sends one message to an address of that form: 0, or the system's error number.
int sendDatagram(int socket, const std::string& to, const KioskMessage& message, std::size_t limit,
                 int flags) {
    const std::string datagram = encodeKioskMessage(message);
    if (datagram.size() > limit) {
        return EMSGSIZE;
    }
    if (to.size() <= offsetof(sockaddr_un, sun_path) || to.size() > sizeof(sockaddr_un)) {
        return EDESTADDRREQ;
    }
    sockaddr_un address{};
    std::memcpy(&address, to.data(), to.size());
    const ssize_t sent =
        ::sendto(socket, datagram.data(), datagram.size(), flags | MSG_NOSIGNAL,
                 reinterpret_cast<const sockaddr*>(&address), static_cast<socklen_t>(to.size()));
    return sent < 0 ? errno : 0;
}

int bindTo(int socket, const std::string& to) {
    sockaddr_un address{};
    std::memcpy(&address, to.data(), std::min(to.size(), sizeof address));
    return ::bind(socket, reinterpret_cast<const sockaddr*>(&address),
                  static_cast<socklen_t>(to.size())) == 0
               ? 0
               : errno;
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

struct Datagram {
    std::string_view bytes;
    std::string sender;  // empty when the sender's socket has no address
    bool trusted = false;
};

// The next datagram waiting on a socket with SO_PASSCRED; none when nothing waits. One from
// another user, or one cut short by the buffer, is not trusted.
std::optional<Datagram> receiveDatagram(int socket, std::vector<char>& buffer) {
    iovec data{buffer.data(), buffer.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))];
    sockaddr_un from{};
    msghdr header{};
    header.msg_name = &from;
    header.msg_namelen = sizeof from;
    header.msg_iov = &data;
    header.msg_iovlen = 1;
    header.msg_control = control;
    header.msg_controllen = sizeof control;
    const ssize_t received = ::recvmsg(socket, &header, MSG_DONTWAIT);
    if (received < 0) {
        return std::nullopt;
    }
    Datagram datagram;
    datagram.bytes = {buffer.data(), static_cast<std::size_t>(received)};
    if (header.msg_namelen > offsetof(sockaddr_un, sun_path)) {
        datagram.sender = addressBytes(from, header.msg_namelen);
    }
    datagram.trusted = fromTrustedSender(header) && (header.msg_flags & MSG_TRUNC) == 0;
    return datagram;
}

void passCredentials(int socket) {
    const int on = 1;
    ::setsockopt(socket, SOL_SOCKET, SO_PASSCRED, &on, sizeof on);
}

// Why a message did not reach the kiosk.
std::string deliveryError(int error) {
    switch (error) {
        case ECONNREFUSED:
        case ENOENT:
            return "no kiosk is running for this user";
        case EMSGSIZE:
            return "the message is too long";
        default:
            return std::strerror(error);
    }
}

class UnixInstanceChannel final : public InstanceChannel {
public:
    UnixInstanceChannel(UniqueFd claim, UniqueFd socket, std::string path)
        : m_claim(std::move(claim)),
          m_socket(std::move(socket)),
          m_path(std::move(path)),
          m_buffer(MaxDatagram) {}
    UnixInstanceChannel(const UnixInstanceChannel&) = delete;
    UnixInstanceChannel& operator=(const UnixInstanceChannel&) = delete;
    // The file goes while the claim is still held: no other kiosk of this user can have bound
    // a file of its own there in the meantime.
    ~UnixInstanceChannel() override { ::unlink(m_path.c_str()); }

    int descriptor() const override { return m_socket.get(); }

    std::vector<ReceivedMessage> receiveAll() override {
        std::vector<ReceivedMessage> messages;
        while (const std::optional<Datagram> datagram = receiveDatagram(m_socket.get(), m_buffer)) {
            if (!datagram->trusted) {
                continue;
            }
            if (auto message = decodeKioskMessage(datagram->bytes)) {
                messages.push_back({std::move(*message), datagram->sender});
            }
        }
        return messages;
    }

    // Never waits: an asker that stopped reading must not stall the kiosk.
    bool answer(const std::string& sender, const KioskMessage& answer,
                std::string& error) override {
        const int failure =
            sendDatagram(m_socket.get(), sender, answer, MaxAnswerDatagram, MSG_DONTWAIT);
        if (failure == 0) {
            return true;
        }
        error = failure == ECONNREFUSED   ? "the asking program is gone"
                : failure == EDESTADDRREQ ? "the asking program has no address to answer to"
                                          : std::strerror(failure);
        return false;
    }

private:
    UniqueFd m_claim;
    UniqueFd m_socket;
    std::string m_path;
    std::vector<char> m_buffer;
};

std::string durationText(std::chrono::milliseconds duration) {
    return duration.count() % 1000 == 0 ? std::to_string(duration.count() / 1000) + " s"
                                        : std::to_string(duration.count()) + " ms";
}

// An answer from anyone but this user's kiosk is dropped: in the abstract namespace any user
// could send to the asker's address.
std::optional<KioskMessage> awaitAnswer(int socket, const std::string& kiosk,
                                        std::chrono::milliseconds limit, std::string& error) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::vector<char> buffer(MaxAnswerDatagram);
    for (;;) {
        while (const std::optional<Datagram> datagram = receiveDatagram(socket, buffer)) {
            if (datagram->trusted && datagram->sender == kiosk) {
                if (auto answer = decodeKioskMessage(datagram->bytes)) {
                    return answer;
                }
            }
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            error = "the kiosk did not answer within " + durationText(limit);
            return std::nullopt;
        }
        pollfd readable{socket, POLLIN, 0};
        ::poll(&readable, 1, static_cast<int>(left.count()));
    }
}

// True while some socket holds the single-instance name.
bool singleInstanceNameHeld() {
    const UniqueFd probe(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    return probe.isOpen() && bindTo(probe.get(), singleInstanceAddress()) == EADDRINUSE;
}

// The holder of the name is asked of the kernel; where it cannot tell, a socket bound in this
// user's private channel folder shows this user's kiosk (no one else can bind there).
bool heldByThisUser() {
    if (const std::optional<uid_t> owner = abstractSocketOwner(kioskChannelName(::getuid()))) {
        return *owner == ::getuid();
    }
    std::string error;
    const std::optional<std::string> path = privateChannelPath(false, error);
    const UniqueFd probe(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!path || !probe.isOpen()) {
        return false;
    }
    const std::string address = fileAddress(*path);
    return ::connect(probe.get(), reinterpret_cast<const sockaddr*>(address.data()),
                     static_cast<socklen_t>(address.size())) == 0;
}

std::string heldByAnother() {
    return "Another program, not a kiosk of this user, holds the name " +
           kioskChannelName(::getuid()) + "; this kiosk does not start";
}

// The claim reads nothing: a datagram sent to it fails at once (EPIPE) instead of waiting in
// a queue nobody reads.
std::optional<UniqueFd> claimSingleInstance(std::string& refusal) {
    UniqueFd claim(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!claim.isOpen()) {
        refusal = std::string("The single-instance socket cannot be made: ") + std::strerror(errno);
        return std::nullopt;
    }
    if (const int failure = bindTo(claim.get(), singleInstanceAddress())) {
        if (failure != EADDRINUSE) {
            refusal =
                std::string("The single-instance name cannot be taken: ") + std::strerror(failure);
        } else if (!heldByThisUser()) {
            refusal = heldByAnother();
        }
        return std::nullopt;
    }
    ::shutdown(claim.get(), SHUT_RD);
    return claim;
}

// What a sender says when no kiosk of this user took the message.
std::string noKioskError(int failure) {
    if ((failure == ECONNREFUSED || failure == ENOENT) && singleInstanceNameHeld()) {
        if (abstractSocketOwner(kioskChannelName(::getuid())) == ::getuid()) {
            return "a kiosk of this user runs, but its channel is not in this program's "
                   "runtime folder (XDG_RUNTIME_DIR)";
        }
        return "no kiosk of this user is running, and another program holds the name " +
               kioskChannelName(::getuid()) + "; nothing was sent to it";
    }
    return deliveryError(failure);
}

}  // namespace

// Only the kiosk holding the claim binds the file, so a file left by a kiosk that was killed
// is stale and goes.
std::unique_ptr<InstanceChannel> claimUnixInstanceChannel(std::string& refusal) {
    std::optional<UniqueFd> claim = claimSingleInstance(refusal);
    if (!claim) {
        return nullptr;
    }
    std::string error;
    const std::optional<std::string> path = privateChannelPath(true, error);
    if (!path) {
        refusal = "The kiosk's message channel cannot be made: " + error;
        return nullptr;
    }
    ::unlink(path->c_str());
    UniqueFd socket(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!socket.isOpen() || bindTo(socket.get(), fileAddress(*path)) != 0 ||
        ::chmod(path->c_str(), 0600) != 0) {
        refusal =
            "The kiosk's message channel " + *path + " cannot be made: " + std::strerror(errno);
        return nullptr;
    }
    passCredentials(socket.get());
    return std::make_unique<UnixInstanceChannel>(std::move(*claim), std::move(socket), *path);
}

bool sendToUnixInstance(const KioskMessage& message, std::string& error) {
    const std::optional<std::string> path = privateChannelPath(false, error);
    if (!path) {
        error = "no kiosk of this user can be reached: " + error;
        return false;
    }
    const UniqueFd socket(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!socket.isOpen()) {
        error = std::strerror(errno);
        return false;
    }
    if (const int failure =
            sendDatagram(socket.get(), fileAddress(*path), message, MaxDatagram, 0)) {
        error = noKioskError(failure);
        return false;
    }
    return true;
}

// The asking socket binds an address the kernel picks (an abstract one of its own), which is
// where the kiosk's answer comes back to; it goes with the socket.
std::optional<KioskMessage> askUnixInstance(const KioskMessage& question,
                                            std::chrono::milliseconds limit, std::string& error) {
    const std::optional<std::string> path = privateChannelPath(false, error);
    if (!path) {
        error = "no kiosk of this user can be reached: " + error;
        return std::nullopt;
    }
    const UniqueFd socket(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    const sa_family_t family = AF_UNIX;
    const std::string autobind(reinterpret_cast<const char*>(&family), sizeof family);
    if (!socket.isOpen() || bindTo(socket.get(), autobind) != 0) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    passCredentials(socket.get());
    const std::string kiosk = fileAddress(*path);
    if (const int failure = sendDatagram(socket.get(), kiosk, question, MaxDatagram, 0)) {
        error = noKioskError(failure);
        return std::nullopt;
    }
    return awaitAnswer(socket.get(), kiosk, limit, error);
}

}  // namespace plintor
