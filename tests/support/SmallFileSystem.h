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
        ASSERT_EQ(::mount("plintor-test", m_dir.root().c_str(), "tmpfs", 0, "size=16k"), 0);
        m_mounted = true;
    }
    void TearDown() override {
        if (m_mounted) {
            ::umount2(m_dir.root().c_str(), MNT_DETACH);
        }
    }

    TempDir m_dir;

private:
    bool m_mounted = false;
};

}  // namespace plintor::test
