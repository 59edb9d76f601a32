#include "core/app/CommandLineText.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

using Arguments = std::vector<std::string>;

TEST(CommandLineTextTest, ProgramCommandLineQuotesTheFile) {
    EXPECT_EQ(programCommandLine("C:\\A B\\x.exe", "-p"), "\"C:\\A B\\x.exe\" -p");
    EXPECT_EQ(splitCommandLine(programCommandLine("/opt/A B/x", "-p \"a b\"")),
              (Arguments{"/opt/A B/x", "-p", "a b"}));
}

struct SplitCase {
    const char* name;
    const char* text;
    Arguments expected;
};

const SplitCase SplitCases[] = {
    {"Words", "prog a b", {"prog", "a", "b"}},
    {"BlanksAndTabsBetween", "  prog   a\tb  ", {"prog", "a", "b"}},
    {"QuotedProgramPath",
     "\"C:\\Program Files\\x.exe\" --headless",
     {"C:\\Program Files\\x.exe", "--headless"}},
    {"QuotedArgument", "prog \"a b\" c", {"prog", "a b", "c"}},
    {"BackslashesBeforeNoQuoteStay", "prog a\\\\b", {"prog", "a\\\\b"}},
    {"EvenBackslashesBeforeAQuoteHalve", "prog a\\\\\"b c\"", {"prog", "a\\b c"}},
    {"EscapedQuote", "prog a\\\"b", {"prog", "a\"b"}},
    {"DoubledQuoteInsideQuotes", "prog \"a\"\"b\"", {"prog", "a\"b"}},
    {"EmptyQuotedArgument", "prog \"\"", {"prog", ""}},
    {"ConverterCall",
     "prog --outdir \"/tmp/x y/\" \"/tmp/x y/temp.docx\"",
     {"prog", "--outdir", "/tmp/x y/", "/tmp/x y/temp.docx"}},
    {"EmptyText", "", {}},
};

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, SplitsTheWindowsWay) {
    EXPECT_EQ(splitCommandLine(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, SplitCommandLineTest, ::testing::ValuesIn(SplitCases),
                         test::RowName());

}  // namespace
}  // namespace plintor
