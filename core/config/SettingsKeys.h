#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/config/IniReader.h"
#include "core/config/KioskSettings.h"

namespace plintor {

enum class KeyKind { Text, Boolean, Integer, TimeOfDay, Color };

// The numbers an integer key takes: a value outside is brought to the nearest end (Clamp), or
// gives the key's default (below the lowest only; AtLeast).
struct KeyRange {
    enum Rule { Clamp, AtLeast } rule = Clamp;
    int min = 0;
    int max = 0;
};

// One configuration key: its name as written in files, what kind of value it takes, its field
// of KioskSettings (whose initial value is the key's default), the range of an integer key and
// a line for the operator's manual.
struct SettingKey {
    using Member = std::variant<std::string KioskSettings::*, bool KioskSettings::*,
                                int KioskSettings::*, std::optional<TimeOfDay> KioskSettings::*>;

    std::string_view name;
    KeyKind kind;
    Member member;
    std::optional<KeyRange> range;
    std::string_view summary;  // what the key does, for the manual page
};

// Every key but the URL buttons', in the order --check-config prints them. The loader, the
// checks, the unknown-key warning and the documentation's key table all follow this one list.
const std::vector<SettingKey>& settingKeys();

// The key of this name in any letter case; none for an unknown key or a button key.
const SettingKey* findSettingKey(std::string_view name);

// "Button<n>Width", "Button<n>URL" or "Button<n>Caption" with n from 1 to 99, any case.
bool isButtonKey(std::string_view name);
std::string buttonKey(int number, const char* part);  // "Button<n><part>"

// Reads the key from the file into its field; a missing or unusable value leaves the field as
// it is, an integer out of range follows the key's range rule.
void readSettingKey(const IniReader& ini, const SettingKey& key, KioskSettings& settings);

// The field's value as --check-config shows it ("True", "15:00:00", "#FF8000", "-1"...).
std::string settingValueText(const SettingKey& key, const KioskSettings& settings);

// Why the program cannot use this value for the key; empty when it can.
std::string settingValueProblem(const SettingKey& key, const std::string& value);

}  // namespace plintor
