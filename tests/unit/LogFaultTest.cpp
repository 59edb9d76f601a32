// The log under faults: links, kills, full and huge files, folders it cannot write.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "core/support/Log.h"
#include "core/support/LogFile.h"
#include "tests/support/SmallFileSystem.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using test::ReadBytes;
using test::TTempDir;
using test::WriteBytes;

// A log writer on this file; the stamps do not matter here.
TLogWriter LogAt(const std::string& fileName) {
    return TLogWriter(fileName, SystemClock());
}

// Runs `work` in a child process with standard error going to `errFile`; gives its exit code.
int InChild(const std::function<int()>& work, const std::string& errFile = "/dev/null") {
    const pid_t child = ::fork();
    if (child == 0) {
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(err, STDERR_FILENO);
        ::_exit(work());
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

std::string FullLog() {
    std::string log;
    for (int line = 0; log.size() < MaxLogSize - 50; ++line) {
        log += "old entry " + std::to_string(line) + "\r\n";
    }
    return log;
}

TEST(LogFaultTest, ALinkIsNeverFollowedAndStandardErrorSaysSoOnce) {
    TTempDir dir;
    const std::string target = dir.Path("precious.txt");
    const std::string precious(108000, 'p');
    WriteBytes(target, precious);
    const std::string log = dir.Path("plintor.log");
    ASSERT_EQ(::symlink(target.c_str(), log.c_str()), 0);
    const std::string err = dir.Path("err");
    EXPECT_EQ(
        InChild([&] { return LogAt(log).Entry("one") || LogAt(log).Entry("two") ? 1 : 0; }, err),
        0);
    EXPECT_EQ(ReadBytes(target), precious);
    const std::string said = ReadBytes(err);
    EXPECT_NE(said.find("it is a symbolic link"), std::string::npos) << said;
    EXPECT_EQ(said.find("plintor:"), said.rfind("plintor:")) << "said more than once: " << said;
}

TEST(LogFaultTest, AFolderOrAFifoIsNoLog) {
    TTempDir dir;
    ASSERT_EQ(::mkfifo(dir.Path("fifo.log").c_str(), 0644), 0);
    EXPECT_EQ(InChild([&] { return LogAt(dir.Path("fifo.log")).Plain("x") ? 1 : 0; }), 0);
    EXPECT_EQ(InChild([&] { return LogAt(dir.Root().string()).Plain("x") ? 1 : 0; }), 0);
}

TEST(LogFaultTest, AMissingFolderThatCannotBeMadeIsReported) {
    TTempDir dir;
    WriteBytes(dir.Path("file"), "not a folder");
    const std::string err = dir.Path("err");
    EXPECT_EQ(
        InChild([&] { return LogAt(dir.Path("file/sub/plintor.log")).Entry("x") ? 1 : 0; }, err),
        0);
    EXPECT_NE(ReadBytes(err).find("cannot write the log"), std::string::npos);
}

// Measured, not assumed: a sanitizer's build, or a busy machine, trims several times slower,
// and a fixed kill window would then end before any trim does.
long long MicrosecondsForATrim(const std::string& log, const std::string& old,
                               const std::string& entry) {
    long long slowest = 0;
    for (int i = 0; i < 3; ++i) {
        WriteBytes(log, old);
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = ::fork();
        if (child == 0) {
            ::_exit(LogAt(log).Plain(entry) ? 0 : 1);
        }
        ::waitpid(child, nullptr, 0);
        const auto took = std::chrono::steady_clock::now() - start;
        slowest = std::max<long long>(
            slowest, std::chrono::duration_cast<std::chrono::microseconds>(took).count());
    }
    return slowest;
}

// A kill at any moment of a trim leaves the old log or the trimmed one with the new entry,
// never an empty or a torn one.
TEST(LogFaultTest, AKilledTrimLeavesAWholeLog) {
    TTempDir dir;
    const std::string log = dir.Path("plintor.log");
    const std::string old = FullLog();
    const std::string entry = "new entry " + std::string(200, 'n');
    // Kills must land both before and after the end of the first trim.
    const long long window = std::max(3000LL, MicrosecondsForATrim(log, old, entry));
    std::mt19937 random(42);
    int interrupted = 0;
    for (int round = 0; round < 60; ++round) {
        WriteBytes(log, old);
        const pid_t child = ::fork();
        if (child == 0) {
            for (;;) {
                LogAt(log).Plain(entry);  // each one trims
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % window));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = ReadBytes(log);
        ASSERT_FALSE(now.empty()) << "round " << round;
        ASSERT_TRUE(now == old || now.ends_with(entry + "\r\n")) << "round " << round;
        ASSERT_LE(now.size(), static_cast<std::size_t>(MaxLogSize)) << "round " << round;
        interrupted += now != old;
    }
    EXPECT_GT(interrupted, 0) << "no kill came after a trim";
}

TEST(LogFaultTest, AHugeLogIsTrimmedReadingOnlyItsTail) {
    TTempDir dir;
    const std::string log = dir.Path("plintor.log");
    {
        const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_EQ(::ftruncate(fd, 5LL << 30), 0);  // 5 GiB of holes
        const std::string last = "\r\nlast old line\r\n";
        ASSERT_EQ(::pwrite(fd, last.data(), last.size(), (5LL << 30) - 4000),
                  static_cast<ssize_t>(last.size()));
        ::close(fd);
    }
    EXPECT_EQ(InChild([&] {
                  // 256 MiB of address space is far less than the log.
                  const rlimit limit{256u << 20, 256u << 20};
                  if (AddressSpaceCanBeLimited) {
                      ::setrlimit(RLIMIT_AS, &limit);
                  }
                  return LogAt(log).Plain("new") ? 0 : 1;
              }),
              0);
    const std::string now = ReadBytes(log);
    EXPECT_LE(now.size(), static_cast<std::size_t>(MaxLogSize));
    EXPECT_TRUE(now.ends_with("new\r\n"));
}

// Entries that do not fit are absent, never torn.
using FullDiskTest = test::SmallFileSystemTest;

TEST_F(FullDiskTest, AnEntryThatDoesNotFitIsCutOffAgain) {
    const std::string log = Dir.Path("plintor.log");
    ASSERT_TRUE(LogAt(log).Plain("first"));
    const std::string filler = Dir.Path("filler");
    WriteBytes(filler, std::string(3 * PageSize, 'f'));  // the log keeps what is left of its page
    EXPECT_EQ(InChild([&] { return LogAt(log).Plain(std::string(6000, 'x')) ? 1 : 0; }), 0);
    EXPECT_EQ(ReadBytes(log), "first\r\n");
    ::unlink(filler.c_str());
    ASSERT_TRUE(LogAt(log).Plain("second"));
    EXPECT_EQ(ReadBytes(log), "first\r\nsecond\r\n");
}

}  // namespace
}  // namespace plintor
