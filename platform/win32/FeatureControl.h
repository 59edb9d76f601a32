#pragma once

#include <cstdint>
#include <string>

#include "platform/win32/RegistryKey.h"

namespace plintor {

// The per-program options of the system's embedded browser engine in the registry's
// FeatureControl area. -1 stands for "no value" both ways: reading gives it for a missing value,
// writing it removes the value.
constexpr std::int32_t NoFeatureValue = -1;

// The engine's program file from its registration, quotes and arguments dropped, environment
// variables expanded; empty when it is not registered.
std::string ieExecutablePath();
// The document-mode emulation value for an engine version text: 11001 for 11, 9999 for 9,
// NoFeatureValue when the version is unknown.
std::int32_t ieEmulationValue(const std::string& version);

// The program's value of a feature under the root (only LocalMachine and CurrentUser are used).
std::int32_t readFeatureControl(RegistryRoot root, const std::string& feature,
                                const std::string& programFileName);
// 1 on success (also when the value already held that number, or there was nothing to
// remove), 0 on failure.
int writeFeatureControl(RegistryRoot root, const std::string& feature,
                        const std::string& programFileName, std::int32_t value);

// The start-up step: the user's emulation and script-URL values for the program, unless an
// administrator set machine-wide ones, which then win (the user's are removed).
void applyFeatureControls(const std::string& programFileName, std::int32_t emulationValue);

}  // namespace plintor
