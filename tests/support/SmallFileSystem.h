#pragma once

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include "tests/support/TempDir.h"

namespace plintor::test {

// A file system of 16 KiB (four pages of tmpfs) for tests of a full disk. Mounting needs root;
// elsewhere the test is skipped.
class SmallFileSystemTest : public ::testing::Test {
protected:
    static constexpr std::size_t PageSize = 4096;

    void SetUp() override {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "mounting a small file system needs root";
        }
        ASSERT_EQ(::mount("plintor-test", Dir.Root().c_str(), "tmpfs", 0, "size=16k"), 0);
        FMounted = true;
    }
    void TearDown() override {
        if (FMounted) {
            ::umount2(Dir.Root().c_str(), MNT_DETACH);
        }
    }

    TTempDir Dir;

private:
    bool FMounted = false;
};

}  // namespace plintor::test
