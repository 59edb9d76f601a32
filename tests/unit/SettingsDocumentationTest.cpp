#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

#include "core/config/KioskSettings.h"
#include "core/config/SettingsKeys.h"

namespace plintor {
namespace {

// The README's key table (under "| Key | Default | Meaning |"): the default column, by key.
std::map<std::string, std::string> documentedDefaults() {
    std::ifstream readme(PLINTOR_README);
    std::map<std::string, std::string> rows;
    bool inTable = false;
    for (std::string line; std::getline(readme, line);) {
        if (line.starts_with("| Key | Default |")) {
            inTable = true;
            continue;
        }
        if (inTable && !line.starts_with("|")) {
            break;
        }
        if (!inTable || !line.starts_with("| `")) {
            continue;
        }
        const std::size_t keyEnd = line.find('`', 3);
        const std::size_t cellEnd = line.find(" | ", keyEnd);
        const std::size_t defaultEnd = line.find(" | ", cellEnd + 3);
        if (keyEnd == std::string::npos || cellEnd == std::string::npos ||
            defaultEnd == std::string::npos) {
            continue;
        }
        rows[line.substr(3, keyEnd - 3)] = line.substr(cellEnd + 3, defaultEnd - cellEnd - 3);
    }
    return rows;
}

// Operators configure from the README: every key is there with the default the program uses,
// and the table names no key the program does not read.
TEST(SettingsDocumentationTest, ReadmeTableMatchesTheKeys) {
    std::map<std::string, std::string> rows = documentedDefaults();
    ASSERT_FALSE(rows.empty()) << "no key table in " << PLINTOR_README;
    const KioskSettings defaults;
    for (const SettingKey& key : settingKeys()) {
        const std::string name(key.name);
        const auto row = rows.find(name);
        if (row == rows.end()) {
            ADD_FAILURE() << name << " is missing from the README's key table";
            continue;
        }
        const std::string value = settingValueText(key, defaults);
        if (!value.empty() && value != "-1") {  // "empty", "off", "system colour" say it in words
            EXPECT_EQ(row->second, "`" + value + "`") << name;
        }
        rows.erase(row);
    }
    rows.erase("Button<n>Width");  // the row of the URL buttons' three keys
    for (const auto& [name, cell] : rows) {
        ADD_FAILURE() << "the README documents " << name << ", which the program does not read";
    }
}

}  // namespace
}  // namespace plintor
