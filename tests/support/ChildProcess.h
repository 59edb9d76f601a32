#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <functional>
#include <string>

namespace plintor::test {

// Runs `work` in a child process with standard error going to `errFile`; gives its exit code,
// 255 when it raised, -1 when it did not exit (a signal). Faults that end or limit a
// process (kills, address-space limits) stay out of the test's own process.
inline int inChild(const std::function<int()>& work, const std::string& errFile = "/dev/null") {
    const pid_t child = ::fork();
    if (child == 0) {
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(err, STDERR_FILENO);
        int code = 255;  // an exception must not run the rest of the tests in the child
        try {
            code = work();
        } catch (...) {
        }
        ::_exit(code);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// AddressSanitizer reserves terabytes of address space for its shadow memory and dies when a
// limit stops it from mapping more; under it only the results are checked, not the bound.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool AddressSpaceCanBeLimited = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool AddressSpaceCanBeLimited = false;
#else
constexpr bool AddressSpaceCanBeLimited = true;
#endif
#else
constexpr bool AddressSpaceCanBeLimited = true;
#endif

// For a child process: no more than `bytes` of address space from now on.
inline void limitAddressSpace(std::size_t bytes) {
    const rlimit limit{bytes, bytes};
    if (AddressSpaceCanBeLimited) {
        ::setrlimit(RLIMIT_AS, &limit);
    }
}

}  // namespace plintor::test
