#pragma once

#include <string>

namespace plintor {

// Why the kiosk does not write a screenshot to `path`, in a few words; empty when it may. The
// operator names the file, but the kiosk writes it with its own rights: only an absolute name
// in a folder that exists, and never over anything but a regular file, so no symbolic link
// leads the picture onto another file.
std::string screenshotTargetRefusal(const std::string& path);

}  // namespace plintor
