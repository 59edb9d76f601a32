#include <windows.h>
// After windows.h:
#include <psapi.h>
#include <tlhelp32.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/SystemInfo.h"
#include "platform/win32/SystemFolders.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WindowsServices.h"

namespace plintor {
namespace {

// Windows keeps no proportional set size: the private bytes of the process and of everything
// it started stand in for it. Unknown when the process list or one process cannot be read.
std::int64_t processTreePrivateKiB(DWORD root) {
    const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.isValid()) {
        return -1;
    }
    std::multimap<DWORD, DWORD> children;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID != root) {
            children.emplace(entry.th32ParentProcessID, entry.th32ProcessID);
        }
    }
    std::int64_t bytes = 0;
    std::vector<DWORD> waiting{root};
    while (!waiting.empty()) {
        const DWORD process = waiting.back();
        waiting.pop_back();
        const UniqueHandle handle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process));
        PROCESS_MEMORY_COUNTERS_EX counters{};
        if (!handle.isValid() ||
            !GetProcessMemoryInfo(handle.get(),
                                  reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                  sizeof counters)) {
            return -1;
        }
        bytes += static_cast<std::int64_t>(counters.PrivateUsage);
        const auto [first, last] = children.equal_range(process);
        for (auto child = first; child != last; ++child) {
            waiting.push_back(child->second);
        }
    }
    return bytes / 1024;
}

class WindowsSystemInfo final : public SystemInfo {
public:
    std::string programPath() const override { return runningProgramPath(); }
    std::string fileVersion(const std::string& filePath) const override {
        return fileVersionOf(filePath);
    }
    std::string tempFolder() const override { return systemTempFolder(); }
    std::int64_t processTreeMemoryKiB() const override {
        return processTreePrivateKiB(GetCurrentProcessId());
    }
    // A library in use cannot be replaced on Windows: an update waits for the program's end.
    bool libraryReplaced(const std::string&) const override { return false; }
};

}  // namespace

std::unique_ptr<SystemInfo> createWindowsSystemInfo() {
    return std::make_unique<WindowsSystemInfo>();
}

}  // namespace plintor
