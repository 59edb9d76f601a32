#include "core/diagnostics/SettingsReport.h"

#include <cctype>
#include <map>

#include "core/config/SettingsKeys.h"
#include "core/support/TextCase.h"

namespace plintor {
namespace {

bool LooksLikeKey(std::string_view key) {
    return !key.empty() && std::isalnum(static_cast<unsigned char>(key[0]));
}

}  // namespace

std::vector<std::string> FormatSettingsLines(const TSettings& settings,
                                             const std::vector<TNavButton>& buttons) {
    std::vector<std::string> lines;
    for (const TSettingKey& key : SettingKeys()) {
        lines.push_back(std::string(key.Name) + "=" + SettingValueText(key, settings));
    }
    for (const TNavButton& button : buttons) {
        lines.push_back("Button=" + std::to_string(button.Width) + "|" + button.Caption + "|" +
                        button.URL);
    }
    return lines;
}

void CheckSettingsFile(const TIni& ini, const std::string& fileLabel,
                       const std::function<void(const std::string&)>& warn) {
    std::map<std::string, std::size_t> firstLine;
    const std::vector<std::string>& lines = ini.Lines();
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const TIniLine line = SplitIniLine(lines[index]);
        if (!LooksLikeKey(line.Key)) {
            continue;
        }
        const std::string where = fileLabel + " line " + std::to_string(index + 1) + ": ";
        const std::string spelled(
            Trim(std::string_view(lines[index]).substr(0, lines[index].find('='))));
        const TSettingKey* key = FindSettingKey(line.Key);
        if (key == nullptr && !IsButtonKey(line.Key)) {
            warn(where + "unknown key \"" + spelled + "\"");
            continue;
        }
        const auto [first, isNew] = firstLine.emplace(line.Key, index + 1);
        if (!isNew) {
            warn(where + spelled + " is set again; the value of line " +
                 std::to_string(first->second) + " is used");
            continue;
        }
        if (key != nullptr) {
            const std::string problem = SettingValueProblem(*key, line.Value);
            if (!problem.empty()) {
                warn(where + "\"" + line.Value + "\" " + problem + "; " + std::string(key->Name) +
                     " keeps its default");
            }
        }
    }
}

}  // namespace plintor
