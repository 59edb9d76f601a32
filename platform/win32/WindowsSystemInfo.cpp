#include <memory>

#include "platform/SystemInfo.h"
#include "platform/win32/SystemFolders.h"
#include "platform/win32/WindowsServices.h"

namespace plintor {
namespace {

class WindowsSystemInfo final : public SystemInfo {
public:
    std::string programPath() const override { return runningProgramPath(); }
    std::string fileVersion(const std::string& filePath) const override {
        return fileVersionOf(filePath);
    }
    std::string tempFolder() const override { return systemTempFolder(); }
};

}  // namespace

std::unique_ptr<SystemInfo> createWindowsSystemInfo() {
    return std::make_unique<WindowsSystemInfo>();
}

}  // namespace plintor
