#pragma once

#include <string>

namespace plintor {

// The installed LibreOffice program, or empty when there is none.
std::string FindLibreOfficePath();

}  // namespace plintor
