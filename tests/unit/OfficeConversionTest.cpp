#include "core/documents/OfficeConversion.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

TEST(OfficeConversionTest, ParametersQuoteFolderAndDocument) {
    EXPECT_EQ(converterParameters("/tmp/", "/tmp/temp.docx"),
              "--headless --convert-to pdf --outdir \"/tmp\" \"/tmp/temp.docx\"");
    EXPECT_EQ(
        converterParameters("/var/tmp/kiosk", "/var/tmp/kiosk/temp.doc"),
        "--headless --convert-to pdf --outdir \"/var/tmp/kiosk\" \"/var/tmp/kiosk/temp.doc\"");
}

}  // namespace
}  // namespace plintor
