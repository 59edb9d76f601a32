#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace plintor {

// How the program hands its compiled deny list to the engine's web processes. The program owns
// a folder that the web processes see read-only. Its file "generation" begins with a 64-bit
// number that only grows (0: no list, nothing is refused); "list-N" is the image
// (DenyListImage) of generation N. The program writes an image whole before it stores its
// number, so a web process that reads number N finds list-N complete.
struct SharedDenyList {
    static constexpr const char* GenerationFile = "generation";
    static constexpr std::size_t GenerationFileSize = 4096;
    // The key of the folder's path in the extension's initialization data (a{sv}).
    static constexpr const char* FolderKey = "deny-list-folder";
    // The message a page's web process sends its view for each request it refused.
    static constexpr const char* RefusedMessage = "plintor.request-refused";

    static std::string imageFile(std::uint64_t generation) {
        return "list-" + std::to_string(generation);
    }
};

}  // namespace plintor
