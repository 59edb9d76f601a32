#include "platform/win32/FeatureControl.h"

#include <windows.h>

#include "core/support/StringHelpers.h"
#include "platform/win32/WideText.h"

namespace plintor {
namespace {

constexpr char EngineServerKey[] = "\\CLSID\\{0002DF01-0000-0000-C000-000000000046}\\LocalServer32";
constexpr char FeatureControlKey[] =
    "\\SOFTWARE\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\";
constexpr char BrowserEmulation[] = "FEATURE_BROWSER_EMULATION";
constexpr char ScriptUrlMitigation[] = "FEATURE_SCRIPTURL_MITIGATION";

std::string unquoted(std::string command) {
    if (command.empty() || command.front() != '"') {
        return command;
    }
    command.erase(0, 1);
    const std::size_t quote = command.find('"');
    return quote == std::string::npos ? command : command.substr(0, quote);
}

std::string expandEnvironment(const std::string& text) {
    const std::wstring wide = toWide(text);
    const DWORD size = ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
    if (size == 0) {
        return text;
    }
    std::wstring expanded(size, L'\0');
    const DWORD written = ExpandEnvironmentStringsW(wide.c_str(), expanded.data(), size);
    if (written == 0 || written > size) {
        return text;
    }
    return toUtf8(expanded.substr(0, expanded.find(L'\0')));
}

}  // namespace

std::string ieExecutablePath() {
    const auto key = RegistryKey::open(RegistryRoot::ClassesRoot, EngineServerKey,
                                       registry_access::Read | registry_access::View64);
    const std::string command = key ? key->readString("").value_or("") : "";
    return command.empty() ? command : expandEnvironment(unquoted(command));
}

std::int32_t ieEmulationValue(const std::string& version) {
    const int major = majorVersion(version);
    if (major >= 10) {
        return major * 1000 + 1;
    }
    return major >= 1 ? major * 1111 : NoFeatureValue;
}

std::int32_t readFeatureControl(RegistryRoot root, const std::string& feature,
                                const std::string& programFileName) {
    const auto key =
        RegistryKey::open(root, std::string(FeatureControlKey) + feature, registry_access::Read);
    if (!key) {
        return NoFeatureValue;
    }
    return static_cast<std::int32_t>(key->readDword(programFileName).value_or(0xFFFFFFFFu));
}

int writeFeatureControl(RegistryRoot root, const std::string& feature,
                        const std::string& programFileName, std::int32_t value) {
    auto key = RegistryKey::create(root, std::string(FeatureControlKey) + feature,
                                   registry_access::ReadWrite);
    if (!key) {
        return 0;
    }
    if (value != NoFeatureValue) {
        const auto stored = key->readDword(programFileName);
        const auto wanted = static_cast<std::uint32_t>(value);
        return stored == wanted || key->writeDword(programFileName, wanted) ? 1 : 0;
    }
    if (key->hasValue(programFileName)) {
        return key->deleteValue(programFileName) ? 1 : 0;
    }
    return 1;
}

void applyFeatureControls(const std::string& programFileName, std::int32_t emulationValue) {
    const auto apply = [&](const char* feature, std::int32_t ownValue) {
        const bool machineWide = readFeatureControl(RegistryRoot::LocalMachine, feature,
                                                    programFileName) != NoFeatureValue;
        writeFeatureControl(RegistryRoot::CurrentUser, feature, programFileName,
                            machineWide ? NoFeatureValue : ownValue);
    };
    apply(BrowserEmulation, emulationValue);
    apply(ScriptUrlMitigation, 1);
}

}  // namespace plintor
