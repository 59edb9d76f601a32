#include "core/support/MappedFiles.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

constexpr const char* Library = "libwebkitgtk-6.0.so";

struct MapsCase {
    const char* name;
    const char* maps;
    bool replaced;
};

const MapsCase Cases[] = {
    {"UnchangedLibrary",
     "7f00-7f10 r-xp 00000000 08:01 123 /usr/lib/x86_64-linux-gnu/libwebkitgtk-6.0.so.4.8.6\n",
     false},
    {"ReplacedLibrary",
     "7f00-7f10 r-xp 00000000 08:01 123 "
     "/usr/lib/x86_64-linux-gnu/libwebkitgtk-6.0.so.4.8.6 (deleted)\n",
     true},
    {"AnotherLibraryReplaced",
     "7f00-7f10 r-xp 00000000 08:01 7 /usr/lib/libgtk-4.so.1 (deleted)\n"
     "7f20-7f30 r-xp 00000000 08:01 8 /usr/lib/libwebkitgtk-6.0.so.4\n",
     false},
    {"ReplacedAmongOthersWithoutNewline",
     "00400000-00452000 r-xp 00000000 08:02 173521 /usr/bin/plintor\n"
     "7f20-7f30 rw-p 00000000 00:00 0 [heap]\n"
     "7f40-7f50 r--p 00000000 08:01 8 /usr/lib/libwebkitgtk-6.0.so.4 (deleted)",
     true},
    {"AFolderOfThatNameIsNoLibrary",
     "7f00-7f10 r--p 00000000 08:01 9 /tmp/libwebkitgtk-6.0.so/data (deleted)\n", false},
    {"AnonymousMemory", "7f00-7f10 rw-s 00000000 00:05 9 /memfd:x (deleted)\n", false},
    {"Empty", "", false},
};

class MappedFilesTest : public ::testing::TestWithParam<MapsCase> {};

TEST_P(MappedFilesTest, ReplacedLibrary) {
    EXPECT_EQ(mapsShowReplacedLibrary(GetParam().maps, Library), GetParam().replaced);
}

INSTANTIATE_TEST_SUITE_P(Maps, MappedFilesTest, ::testing::ValuesIn(Cases), test::RowName());

}  // namespace
}  // namespace plintor
