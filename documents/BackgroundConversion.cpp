#include "documents/BackgroundConversion.h"

#include <glib.h>

#include <exception>
#include <system_error>
#include <thread>

#include "documents/OfficeConverter.h"

namespace plintor {
namespace {

struct Delivery {
    std::weak_ptr<const BackgroundConversion::Done> done;
    bool converted;
};

gboolean deliver(gpointer data) {
    const auto* delivery = static_cast<const Delivery*>(data);
    if (const auto done = delivery->done.lock()) {
        (*done)(delivery->converted);
    }
    return G_SOURCE_REMOVE;
}

void discard(gpointer data) {
    delete static_cast<Delivery*>(data);
}

// An idle source of the receiving loop, not g_main_context_invoke: that may call back on the
// worker itself when the loop's context happens to be free.
void post(GMainContext* context, Delivery* delivery) {
    GSource* source = g_idle_source_new();
    g_source_set_callback(source, deliver, delivery, discard);
    g_source_attach(source, context);
    g_source_unref(source);
}

}  // namespace

void BackgroundConversion::start(const std::string& document, const std::string& outputFolder,
                                 Done done) {
    m_done = std::make_shared<const Done>(std::move(done));
    std::weak_ptr<const Done> receiver = m_done;
    GMainContext* context = g_main_context_ref_thread_default();
    try {
        std::thread([&converter = m_converter, document, outputFolder, receiver, context] {
            bool converted = false;
            try {
                converted = converter.convertToPdf(document, outputFolder);
            } catch (const std::exception&) {
                converted = false;  // reported as a failed conversion
            }
            post(context, new Delivery{receiver, converted});
            g_main_context_unref(context);
        }).detach();
    } catch (const std::system_error&) {
        post(context, new Delivery{receiver, false});  // no thread to be had
        g_main_context_unref(context);
    }
}

}  // namespace plintor
