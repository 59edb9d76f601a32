#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <string>

#include "app/MessageRouter.h"

namespace plintor {

struct ReceivedMessage;
class InstanceChannel;

// The operator's picture of the kiosk's window: what the visitor sees, the panels included,
// drawn by the toolkit's own renderer rather than read back from the display server, so that
// it works under any server or compositor. The PNG is encoded and written off the
// user-interface thread, to the file the request names; the log says what came of it and the
// asking program is answered.
class ScreenshotRequests final : public AnsweredRequests {
public:
    explicit ScreenshotRequests(GtkWindow* window);

    // Takes a screenshot request; false for every other message.
    bool handle(const ReceivedMessage& received, InstanceChannel& channel) override;

    // The outcome of one request: the file, and why it was not written (empty: it was).
    struct Outcome {
        std::string file;
        std::string sender;
        std::string refusal;
    };

private:
    void take(const ReceivedMessage& request);
    void written(const Outcome& outcome);
    void finished(const Outcome& outcome);

    GtkWindow* m_window;
    InstanceChannel* m_channel = nullptr;  // the one channel of the run; it outlives this
    bool m_writing = false;                // one picture at a time
    // Goes with this object, so that a picture written after it is not answered.
    std::shared_ptr<const std::function<void(Outcome)>> m_finished;
};

}  // namespace plintor
