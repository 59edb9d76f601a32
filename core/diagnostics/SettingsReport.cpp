#include "core/diagnostics/SettingsReport.h"

#include <cctype>
#include <map>

#include "core/config/SettingsKeys.h"
#include "core/support/TextCase.h"

namespace plintor {
namespace {

bool looksLikeKey(std::string_view key) {
    return !key.empty() && std::isalnum(static_cast<unsigned char>(key[0]));
}

}  // namespace

std::vector<std::string> formatSettingsLines(const KioskSettings& settings,
                                             const std::vector<NavButton>& buttons) {
    std::vector<std::string> lines;
    for (const SettingKey& key : settingKeys()) {
        lines.push_back(std::string(key.name) + "=" + settingValueText(key, settings));
    }
    for (const NavButton& button : buttons) {
        lines.push_back("Button=" + std::to_string(button.width) + "|" + button.caption + "|" +
                        button.url);
    }
    return lines;
}

void checkSettingsFile(const IniReader& ini, const std::string& fileLabel,
                       const std::function<void(const std::string&)>& warn) {
    std::map<std::string, std::size_t> firstLine;
    const std::vector<std::string>& lines = ini.lines();
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const IniLine line = splitIniLine(lines[index]);
        if (!looksLikeKey(line.key)) {
            continue;
        }
        const std::string where = fileLabel + " line " + std::to_string(index + 1) + ": ";
        const std::string spelled(
            trim(std::string_view(lines[index]).substr(0, lines[index].find('='))));
        const SettingKey* key = findSettingKey(line.key);
        if (key == nullptr && !isButtonKey(line.key)) {
            warn(where + "unknown key \"" + spelled + "\"");
            continue;
        }
        const auto [first, isNew] = firstLine.emplace(line.key, index + 1);
        if (!isNew) {
            warn(where + spelled + " is set again; the value of line " +
                 std::to_string(first->second) + " is used");
            continue;
        }
        if (key != nullptr) {
            const std::string problem = settingValueProblem(*key, line.value);
            if (!problem.empty()) {
                warn(where + "\"" + line.value + "\" " + problem + "; " + std::string(key->name) +
                     " keeps its default");
            }
        }
    }
}

}  // namespace plintor
