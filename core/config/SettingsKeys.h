#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/config/Settings.h"
#include "core/config/TIni.h"

namespace plintor {

enum class TKeyKind { Text, Boolean, Integer, TimeOfDay, Color };

// The numbers an integer key takes: a value outside is brought to the nearest end (Clamp), or
// gives the key's default (below the lowest only; AtLeast).
struct TKeyRange {
    enum TRule { Clamp, AtLeast } Rule = Clamp;
    int Min = 0;
    int Max = 0;
};

// One configuration key: its name as written in files, what kind of value it takes, its field
// of TSettings (whose initial value is the key's default) and the range of an integer key.
struct TSettingKey {
    using TMember = std::variant<std::string TSettings::*, bool TSettings::*, int TSettings::*,
                                 TDateTime TSettings::*>;

    std::string_view Name;
    TKeyKind Kind;
    TMember Member;
    std::optional<TKeyRange> Range;
};

// Every key but the URL buttons', in the order --check-config prints them. The loader, the
// checks, the unknown-key warning and the documentation's key table all follow this one list.
const std::vector<TSettingKey>& SettingKeys();

// The key of this name in any letter case; none for an unknown key or a button key.
const TSettingKey* FindSettingKey(std::string_view name);

// "Button<n>Width", "Button<n>URL" or "Button<n>Caption" with n from 1 to 99, any case.
bool IsButtonKey(std::string_view name);
std::string ButtonKey(int number, const char* part);  // "Button<n><part>"

// Reads the key from the file into its field; a missing or unusable value leaves the field as
// it is, an integer out of range follows the key's range rule.
void ReadSettingKey(const TIni& ini, const TSettingKey& key, TSettings& settings);

// The field's value as --check-config shows it ("True", "15:00:00", "#FF8000", "-1"...).
std::string SettingValueText(const TSettingKey& key, const TSettings& settings);

// Why the program cannot use this value for the key; empty when it can.
std::string SettingValueProblem(const TSettingKey& key, const std::string& value);

}  // namespace plintor
