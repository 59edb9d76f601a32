#include "core/app/CommandLineText.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

using Arguments = std::vector<std::string>;

TEST(CommandLineTextTest, ProgramCommandLineQuotesTheFile) {
    EXPECT_EQ(ProgramCommandLine("C:\\A B\\x.exe", "-p"), "\"C:\\A B\\x.exe\" -p");
    EXPECT_EQ(SplitCommandLine(ProgramCommandLine("/opt/A B/x", "-p \"a b\"")),
              (Arguments{"/opt/A B/x", "-p", "a b"}));
}

TEST(CommandLineTextTest, SplitsTheWindowsWay) {
    const struct {
        const char* Text;
        Arguments Expected;
    } cases[] = {
        {"prog a b", {"prog", "a", "b"}},
        {"  prog   a\tb  ", {"prog", "a", "b"}},
        {"\"C:\\Program Files\\x.exe\" --headless", {"C:\\Program Files\\x.exe", "--headless"}},
        {"prog \"a b\" c", {"prog", "a b", "c"}},
        {"prog a\\\\b", {"prog", "a\\\\b"}},
        {"prog a\\\\\"b c\"", {"prog", "a\\b c"}},
        {"prog a\\\"b", {"prog", "a\"b"}},
        {"prog \"a\"\"b\"", {"prog", "a\"b"}},
        {"prog \"\"", {"prog", ""}},
        {"prog --outdir \"/tmp/x y/\" \"/tmp/x y/temp.docx\"",
         {"prog", "--outdir", "/tmp/x y/", "/tmp/x y/temp.docx"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitCommandLine(c.Text), c.Expected) << c.Text;
    }
}

}  // namespace
}  // namespace plintor
