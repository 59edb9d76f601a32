#pragma once

#include <string>
#include <string_view>

namespace plintor {

// The kinds of document the kiosk keeps, by their file names: the navigation rule diverts them
// to the document handling, which fetches, keeps and converts them.

// The fixed temporary files that a fetched document is written to; each fetch overwrites them.
constexpr std::string_view TempTmpName = "temp.tmp";
constexpr std::string_view TempPdfName = "temp.pdf";
constexpr std::string_view TempDocName = "temp.doc";
constexpr std::string_view TempDocxName = "temp.docx";

// The lower-case extension of a file name with its dot; empty when there is none.
std::string fileNameExtension(std::string_view fileName);

// The extensions of the Word temporary files: ".doc" and ".docx" (exact, lower-case).
bool isWordExtension(std::string_view extension);

}  // namespace plintor
