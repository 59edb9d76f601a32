#pragma once

#include <functional>
#include <memory>
#include <string>

namespace plintor {

class OfficeConverter;

// Runs the converter on a thread of its own, so that the window keeps painting, and hands its
// result to the main loop of the thread that started it. A result whose receiver has gone
// meanwhile is dropped there; nothing waits for the thread. The converter must outlive every
// conversion that runs: the program keeps it until it ends.
class BackgroundConversion {
public:
    using Done = std::function<void(bool converted)>;

    explicit BackgroundConversion(const OfficeConverter& converter) : m_converter(converter) {}
    BackgroundConversion(const BackgroundConversion&) = delete;
    BackgroundConversion& operator=(const BackgroundConversion&) = delete;

    // `done` is called on the main loop unless this object has gone, or started another
    // conversion, by then.
    void start(const std::string& document, const std::string& outputFolder, Done done);

private:
    const OfficeConverter& m_converter;
    std::shared_ptr<const Done> m_done;
};

}  // namespace plintor
