// The log under faults: links, kills, full and huge files, folders it cannot write.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "core/support/Log.h"
#include "core/support/LogFile.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/SmallFileSystem.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using test::inChild;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

// A log writer on this file; the stamps do not matter here.
LogWriter logAt(const std::string& fileName) {
    return LogWriter(fileName, systemClock());
}

std::string fullLog() {
    std::string log;
    for (int line = 0; log.size() < MaxLogSize - 50; ++line) {
        log += "old entry " + std::to_string(line) + "\r\n";
    }
    return log;
}

TEST(LogFaultTest, ALinkIsNeverFollowedAndStandardErrorSaysSoOnce) {
    TempDir dir;
    const std::string target = dir.path("precious.txt");
    const std::string precious(108000, 'p');
    writeBytes(target, precious);
    const std::string log = dir.path("plintor.log");
    ASSERT_EQ(::symlink(target.c_str(), log.c_str()), 0);
    const std::string err = dir.path("err");
    EXPECT_EQ(
        inChild([&] { return logAt(log).entry("one") || logAt(log).entry("two") ? 1 : 0; }, err),
        0);
    EXPECT_EQ(readBytes(target), precious);
    const std::string said = readBytes(err);
    EXPECT_NE(said.find("it is a symbolic link"), std::string::npos) << said;
    EXPECT_EQ(said.find("plintor:"), said.rfind("plintor:")) << "said more than once: " << said;
}

TEST(LogFaultTest, AFolderOrAFifoIsNoLog) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.path("fifo.log").c_str(), 0644), 0);
    EXPECT_EQ(inChild([&] { return logAt(dir.path("fifo.log")).plain("x") ? 1 : 0; }), 0);
    EXPECT_EQ(inChild([&] { return logAt(dir.root().string()).plain("x") ? 1 : 0; }), 0);
}

// Where no new file can be made beside the log, the trim writes the kept lines and the entry
// after the old log first, then over its front, and cuts the rest off.
TEST(LogFaultTest, AFolderThatTakesNoNewFileIsTrimmedInPlace) {
    TempDir dir;
    const std::string log = dir.path("plintor.log");
    writeBytes(log, "aaaa\r\nbbbb\r\ncccc\r\n");
    ::chmod(dir.root().c_str(), 0555);
    // Root writes into any folder, so the attempt is made as an ordinary user that owns the log.
    EXPECT_EQ(inChild([&] {
                  if (::geteuid() == 0 &&
                      (::chown(log.c_str(), 65534, 65534) != 0 || ::setuid(65534) != 0)) {
                      return 2;
                  }
                  return logAt(log).plain("dd", 20) ? 0 : 1;
              }),
              0);
    EXPECT_EQ(readBytes(log), "bbbb\r\ncccc\r\ndd\r\n");
}

TEST(LogFaultTest, AMissingFolderThatCannotBeMadeIsReported) {
    TempDir dir;
    writeBytes(dir.path("file"), "not a folder");
    const std::string err = dir.path("err");
    EXPECT_EQ(
        inChild([&] { return logAt(dir.path("file/sub/plintor.log")).entry("x") ? 1 : 0; }, err),
        0);
    EXPECT_NE(readBytes(err).find("cannot write the log"), std::string::npos);
}

// Measured, not assumed: a sanitizer's build, or a busy machine, trims several times slower,
// and a fixed kill window would then end before any trim does.
long long microsecondsForATrim(const std::string& log, const std::string& old,
                               const std::string& entry) {
    long long slowest = 0;
    for (int i = 0; i < 3; ++i) {
        writeBytes(log, old);
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = ::fork();
        if (child == 0) {
            ::_exit(logAt(log).plain(entry) ? 0 : 1);
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
    TempDir dir;
    const std::string log = dir.path("plintor.log");
    const std::string old = fullLog();
    const std::string entry = "new entry " + std::string(200, 'n');
    // Kills must land both before and after the end of the first trim.
    const long long window = std::max(3000LL, microsecondsForATrim(log, old, entry));
    std::mt19937 random(42);
    int interrupted = 0;
    for (int round = 0; round < 60; ++round) {
        writeBytes(log, old);
        const pid_t child = ::fork();
        if (child == 0) {
            for (;;) {
                logAt(log).plain(entry);  // each one trims
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % window));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = readBytes(log);
        ASSERT_FALSE(now.empty()) << "round " << round;
        ASSERT_TRUE(now == old || now.ends_with(entry + "\r\n")) << "round " << round;
        ASSERT_LE(now.size(), static_cast<std::size_t>(MaxLogSize)) << "round " << round;
        interrupted += now != old;
    }
    EXPECT_GT(interrupted, 0) << "no kill came after a trim";
}

TEST(LogFaultTest, AHugeLogIsTrimmedReadingOnlyItsTail) {
    TempDir dir;
    const std::string log = dir.path("plintor.log");
    {
        const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_EQ(::ftruncate(fd, 5LL << 30), 0);  // 5 GiB of holes
        const std::string last = "\r\nlast old line\r\n";
        ASSERT_EQ(::pwrite(fd, last.data(), last.size(), (5LL << 30) - 4000),
                  static_cast<ssize_t>(last.size()));
        ::close(fd);
    }
    EXPECT_EQ(inChild([&] {
                  test::limitAddressSpace(256u << 20);  // far less than the log
                  return logAt(log).plain("new") ? 0 : 1;
              }),
              0);
    const std::string now = readBytes(log);
    EXPECT_LE(now.size(), static_cast<std::size_t>(MaxLogSize));
    EXPECT_TRUE(now.ends_with("new\r\n"));
}

// Entries that do not fit are absent, never torn.
using FullDiskTest = test::SmallFileSystemTest;

TEST_F(FullDiskTest, AnEntryThatDoesNotFitIsCutOffAgain) {
    const std::string log = m_dir.path("plintor.log");
    ASSERT_TRUE(logAt(log).plain("first"));
    const std::string filler = m_dir.path("filler");
    writeBytes(filler, std::string(3 * PageSize, 'f'));  // the log keeps what is left of its page
    EXPECT_EQ(inChild([&] { return logAt(log).plain(std::string(6000, 'x')) ? 1 : 0; }), 0);
    EXPECT_EQ(readBytes(log), "first\r\n");
    ::unlink(filler.c_str());
    ASSERT_TRUE(logAt(log).plain("second"));
    EXPECT_EQ(readBytes(log), "first\r\nsecond\r\n");
}

// The log at its cap on a full disk: no new file can be made and the kept lines do not fit
// beside the old ones, so the old log stays whole, the entry is skipped and standard error says
// so once. Entries are written again once there is room.
TEST_F(FullDiskTest, ATrimThatDoesNotFitKeepsTheOldLogWhole) {
    constexpr std::int64_t Cap = 2 * PageSize;
    const std::string log = m_dir.path("plintor.log");
    std::string old;
    for (int line = 1000; old.size() < PageSize; ++line) {
        old += "old entry " + std::to_string(line) + "\r\n";  // 16 bytes: one page in all
    }
    writeBytes(log, old);
    const std::string filler = m_dir.path("filler");
    writeBytes(filler, std::string(3 * PageSize, 'f'));
    const std::string entry(MaxLogEntryText, 'n');  // with the old lines, over the cap
    const TempDir outside;                          // for standard error: not on the full disk
    const std::string err = outside.path("err");
    EXPECT_EQ(
        inChild(
            [&] { return logAt(log).plain(entry, Cap) || logAt(log).plain(entry, Cap) ? 1 : 0; },
            err),
        0);
    EXPECT_EQ(readBytes(log), old);
    const std::string said = readBytes(err);
    EXPECT_NE(said.find("No space left on device"), std::string::npos) << said;
    EXPECT_EQ(said.find("plintor:"), said.rfind("plintor:")) << "said more than once: " << said;

    ::unlink(filler.c_str());
    ASSERT_TRUE(logAt(log).plain(entry, Cap));
    const std::string now = readBytes(log);
    EXPECT_TRUE(now.ends_with(entry + "\r\n"));
    EXPECT_LE(now.size(), static_cast<std::size_t>(Cap));
    EXPECT_TRUE(old.ends_with(now.substr(0, now.size() - entry.size() - 2)));
}

}  // namespace
}  // namespace plintor
