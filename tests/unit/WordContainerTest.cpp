#include "core/documents/WordContainer.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"
#include "tests/support/TinyZip.h"

namespace plintor {
namespace {

const std::string Ole2Head("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

struct ContainerCase {
    const char* name;
    const char* extension;
    std::string bytes;
    bool word;
};

// What servers send under Word names: the real containers, and text that the converter would
// read as a web page (with its links).
const ContainerCase ContainerCases[] = {
    {"Ole2IsADoc", ".doc", Ole2Head + std::string(504, '\0'), true},
    {"HtmlIsNoDoc", ".doc", "<html><img src=\"http://elsewhere/x.png\"></html>", false},
    {"RtfIsNoDoc", ".doc", "{\\rtf1\\ansi Hello}", false},
    {"TruncatedSignatureIsNoDoc", ".doc", Ole2Head.substr(0, 5), false},
    {"EmptyFileIsNoDoc", ".doc", "", false},
    {"ArchiveWithTheWordPartIsADocx", ".docx",
     test::tinyZip({"[Content_Types].xml", "word/document.xml"}), true},
    {"TextDocumentArchiveIsNoDocx", ".docx", test::tinyZip({"mimetype", "content.xml"}), false},
    {"FlatXmlIsNoDocx", ".docx",
     "<?xml version=\"1.0\"?><office:document><draw:image xlink:href=\"http://elsewhere/\"/>",
     false},
    {"NameOnlyInTheDataIsNoDocx", ".docx", "PK\x03\x04 word/document.xml", false},
    {"Ole2IsNoDocx", ".docx", Ole2Head + std::string(504, '\0'), false},
    {"ArchiveIsNoDoc", ".doc", test::tinyZip({"word/document.xml"}), false},
    {"ArchiveIsNoPdf", ".pdf", test::tinyZip({"word/document.xml"}), false},
};

class WordContainerTest : public ::testing::TestWithParam<ContainerCase> {};

TEST_P(WordContainerTest, OnlyTheRightContainerIsWord) {
    test::TempDir dir;
    const std::string file = dir.path("temp.tmp");
    test::writeBytes(file, GetParam().bytes);
    EXPECT_EQ(isWordContainer(file, GetParam().extension), GetParam().word);
}

INSTANTIATE_TEST_SUITE_P(Files, WordContainerTest, ::testing::ValuesIn(ContainerCases),
                         test::RowName());

TEST(WordContainerFileTest, MissingFileIsNoWordDocument) {
    test::TempDir dir;
    EXPECT_FALSE(isWordContainer(dir.path("missing.docx"), ".docx"));
}

}  // namespace
}  // namespace plintor
