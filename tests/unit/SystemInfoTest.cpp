#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "tests/support/RealPlatform.h"
#include "tests/support/TempDir.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace plintor {
namespace {

TEST(SystemInfoTest, ProgramVersionIsStampedByTheBuild) {
    const std::string program = test::realPlatform().systemInfo().programPath();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(test::realPlatform().systemInfo().fileVersion(program), PLINTOR_VERSION);
    EXPECT_EQ(test::realPlatform().systemInfo().fileVersion("/bin/sh"), "");
    EXPECT_EQ(test::realPlatform().systemInfo().fileVersion("/no/such/program"), "");
}

TEST(SystemInfoTest, TempFolderFollowsTmpdirAndEndsWithADelimiter) {
    const char* saved = std::getenv("TMPDIR");
    const std::string previous = saved != nullptr ? saved : "";
    ::setenv("TMPDIR", "/var/tmp", 1);
    EXPECT_EQ(test::realPlatform().systemInfo().tempFolder(), "/var/tmp/");
    ::setenv("TMPDIR", "/var/tmp/", 1);
    EXPECT_EQ(test::realPlatform().systemInfo().tempFolder(), "/var/tmp/");
    ::unsetenv("TMPDIR");
    EXPECT_EQ(test::realPlatform().systemInfo().tempFolder(), "/tmp/");
    ::setenv("TMPDIR", "/no/such/folder", 1);
    EXPECT_EQ(test::realPlatform().systemInfo().tempFolder(), "/tmp/")
        << "a missing folder is not made";
    EXPECT_FALSE(std::filesystem::exists("/no/such/folder"));
    if (saved != nullptr) {
        ::setenv("TMPDIR", previous.c_str(), 1);
    } else {
        ::unsetenv("TMPDIR");
    }
}

// Touches `kib` of memory of its own, tells the test its process id, and waits to be killed (or
// for the test to end).
[[noreturn]] void holdMemory(std::size_t kib, int report) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    std::vector<char> memory(kib * 1024);
    std::memset(memory.data(), 1, memory.size());
    const pid_t self = ::getpid();
    [[maybe_unused]] const ssize_t written = ::write(report, &self, sizeof self);
    for (;;) {
        ::pause();
    }
}

// The browser engine's helpers are the kiosk's children and grandchildren: both count.
TEST(SystemInfoTest, MemoryCountsChildrenAndGrandchildren) {
    const std::int64_t alone = test::realPlatform().systemInfo().processTreeMemoryKiB();
    ASSERT_GT(alone, 0);
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::fork() == 0) {
            holdMemory(32 * 1024, pipe[1]);
        }
        holdMemory(64 * 1024, pipe[1]);
    }
    std::vector<pid_t> held;
    pid_t processId = 0;
    pollfd readable{pipe[0], POLLIN, 0};
    while (held.size() < 2 && ::poll(&readable, 1, 10000) == 1 &&
           ::read(pipe[0], &processId, sizeof processId) == sizeof processId) {
        held.push_back(processId);
    }
    const std::int64_t withHelpers = test::realPlatform().systemInfo().processTreeMemoryKiB();
    for (const pid_t helper : held) {
        ::kill(helper, SIGKILL);
    }
    ::waitpid(child, nullptr, 0);
    ::close(pipe[0]);
    ::close(pipe[1]);
    ASSERT_EQ(held.size(), 2u) << "the helpers did not start";
    EXPECT_GE(withHelpers, alone + 90 * 1024) << "alone " << alone << " KiB";
}

// A package update writes the new library beside the old one and renames it over it: the
// running program still maps the old file, which is gone from the folder.
TEST(SystemInfoTest, LibraryReplacedOnDisk) {
    const test::TempDir folder;
    const std::filesystem::path library = folder.path("libplintorprobe.so.1");
    std::filesystem::copy_file(PLINTOR_PROBE_LIBRARY, library,
                               std::filesystem::copy_options::overwrite_existing);
    void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << ::dlerror();
    const SystemInfo& system = test::realPlatform().systemInfo();
    EXPECT_FALSE(system.libraryReplaced("libplintorprobe"));
    std::filesystem::copy_file(PLINTOR_PROBE_LIBRARY, folder.path("update.tmp"));
    std::filesystem::rename(folder.path("update.tmp"), library);
    EXPECT_TRUE(system.libraryReplaced("libplintorprobe"));
    EXPECT_FALSE(system.libraryReplaced("libplintorother"));
    ::dlclose(handle);
}

}  // namespace
}  // namespace plintor
