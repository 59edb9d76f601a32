#pragma once

#include <unistd.h>

namespace plintor {

// Owns a POSIX file descriptor; `Close` reports the result that the destructor would drop.
class TUniqueFd {
public:
    explicit TUniqueFd(int fd = -1) : FFd(fd) {}
    ~TUniqueFd() { Close(); }
    TUniqueFd(TUniqueFd&& other) noexcept : FFd(other.FFd) { other.FFd = -1; }
    TUniqueFd& operator=(TUniqueFd&& other) noexcept {
        if (this != &other) {
            Close();
            FFd = other.FFd;
            other.FFd = -1;
        }
        return *this;
    }
    TUniqueFd(const TUniqueFd&) = delete;
    TUniqueFd& operator=(const TUniqueFd&) = delete;

    int Get() const { return FFd; }
    bool IsOpen() const { return FFd >= 0; }

    bool Close() {
        if (FFd < 0) {
            return true;
        }
        const bool closed = ::close(FFd) == 0;
        FFd = -1;
        return closed;
    }

private:
    int FFd;
};

}  // namespace plintor
