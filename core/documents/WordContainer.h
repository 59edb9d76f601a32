#pragma once

#include <string>
#include <string_view>

namespace plintor {

// Whether the file at `path` is, by its bytes, the Word document its extension (".doc" or
// ".docx", lower case) says: an OLE2 compound file for ".doc", a ZIP archive holding
// "word/document.xml" for ".docx". A text file under a Word name (HTML, RTF, flat XML) would
// have the converter read it as a web page and fetch what it links to.
bool isWordContainer(const std::string& path, std::string_view extension);

}  // namespace plintor
