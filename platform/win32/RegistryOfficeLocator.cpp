#include "platform/win32/RegistryOfficeLocator.h"

#include <memory>

#include "core/support/TextCase.h"
#include "platform/OfficeLocator.h"
#include "platform/win32/WindowsServices.h"

namespace plintor {
namespace {

constexpr char VersionsKey[] = "\\SOFTWARE\\LibreOffice\\LibreOffice\\";

// Versions are not compared: the first registered one with a program wins.
class RegistryOfficeLocator final : public OfficeLocator {
public:
    std::string findLibreOfficePath() const override {
        for (const OfficeProbe& probe : OfficeProbes) {
            if (std::string path = readLibreOfficePath(probe); !path.empty()) {
                return path;
            }
        }
        return {};
    }
};

}  // namespace

std::string readLibreOfficePath(const OfficeProbe& probe) {
    const std::uint32_t access = registry_access::Read | probe.view;
    std::vector<std::string> versions;
    if (const auto key = RegistryKey::open(probe.root, VersionsKey, access)) {
        versions = key->subKeyNames();
    }
    for (const std::string& version : versions) {
        const auto key = RegistryKey::open(probe.root, VersionsKey + version, access);
        // A "Path" of another type than text counts as none.
        const std::string path = key ? std::string(trim(key->readString("Path").value_or(""))) : "";
        if (!path.empty()) {
            return path;
        }
    }
    return {};
}

std::unique_ptr<OfficeLocator> createRegistryOfficeLocator() {
    return std::make_unique<RegistryOfficeLocator>();
}

}  // namespace plintor
