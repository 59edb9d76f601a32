#pragma once

#include <string>

namespace plintor {

// The version of the WebKitGTK library the program runs on ("2.50.6").
std::string engineVersion();

// How the engine's library file is named, whatever its version ("libwebkitgtk-6.0.so.4").
constexpr const char* EngineLibraryName = "libwebkitgtk-6.0.so";

}  // namespace plintor
