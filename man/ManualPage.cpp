// Writes the manual page's scdoc source: the template with the usage and the configuration keys
// filled in from the tables the program itself reads, so that the page cannot drift from them.
//   plintor_manual_page TEMPLATE OUTPUT
#include <cctype>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "core/app/ProgramOptions.h"
#include "core/config/KioskSettings.h"
#include "core/config/SettingsKeys.h"

namespace plintor {
namespace {

// scdoc reads * and _ as emphasis and \ as an escape.
std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '*' || c == '_' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out;
}

std::string kindText(const SettingKey& key) {
    switch (key.kind) {
        case KeyKind::Boolean:
            return "True or False";
        case KeyKind::TimeOfDay:
            return "a time of day";
        case KeyKind::Color:
            return "a colour, #RRGGBB";
        case KeyKind::Text:
            return "text";
        case KeyKind::Integer:
            break;
    }
    if (!key.range) {
        return "a whole number";
    }
    if (key.range->rule == KeyRange::Clamp) {
        return "a whole number from " + std::to_string(key.range->min) + " to " +
               std::to_string(key.range->max) + "; beyond, the nearer end";
    }
    return "a whole number, at least " + std::to_string(key.range->min) + "; below, the default";
}

std::string defaultText(const SettingKey& key) {
    const std::string value = settingValueText(key, KioskSettings{});
    if (key.kind == KeyKind::TimeOfDay) {
        return "off";
    }
    if (key.kind == KeyKind::Color && value.empty()) {
        return "the system's colour";
    }
    return value.empty() ? "empty" : "_" + escaped(value) + "_";
}

std::string keySection() {
    std::ostringstream out;
    for (const SettingKey& key : settingKeys()) {
        std::string summary = escaped(key.summary);
        summary[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(summary[0])));
        out << "*" << key.name << "*\n\t" << summary << ".\n\tDefault: " << defaultText(key)
            << ". Value: " << kindText(key) << ".\n\n";
    }
    return out.str();
}

std::string usageSection() {
    return "```\n" + usageText() + "```\n";
}

void replace(std::string& text, const std::string& placeholder, const std::string& value) {
    for (std::size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + value.size())) {
        text.replace(at, placeholder.size(), value);
    }
}

}  // namespace
}  // namespace plintor

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "usage: plintor_manual_page TEMPLATE OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    std::stringstream page;
    page << in.rdbuf();
    std::string text = page.str();
    if (!in || text.empty()) {
        std::cerr << "plintor_manual_page: cannot read " << argv[1] << '\n';
        return 1;
    }
    plintor::replace(text, "@USAGE@", plintor::usageSection());
    plintor::replace(text, "@SETTING_KEYS@", plintor::keySection());
    std::ofstream out(argv[2], std::ios::binary);
    out << text;
    out.close();
    return out ? 0 : 1;
}
