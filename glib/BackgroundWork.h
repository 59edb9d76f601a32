#pragma once

#include <glib.h>

#include <functional>
#include <memory>
#include <utility>

namespace plintor {

// Hands `call` to the main loop of `context` (a reference of the caller's, which this takes
// over), to run there soon. An idle source, not g_main_context_invoke: that may run the call
// on the posting thread itself when the loop's context happens to be free.
void postToLoop(GMainContext* context, std::function<void()> call);

// The main loop of the calling thread, referenced.
GMainContext* referenceThreadLoop();

// Runs `run` on a thread of its own, or here when no thread is to be had.
void startDetachedThread(std::function<void()> run);

// Runs `work` on a thread of its own, so that the window keeps painting, and hands its result
// to `done` on the main loop of the thread that called. A result whose receiver has gone by
// then is dropped; nothing waits for the thread, so `work` must own or outlive what it uses
// and must not throw.
template <typename Result>
void runInBackground(std::function<Result()> work,
                     std::weak_ptr<const std::function<void(Result)>> done) {
    GMainContext* context = referenceThreadLoop();
    startDetachedThread([work = std::move(work), done, context] {
        auto result = std::make_shared<Result>(work());
        postToLoop(context, [done, result] {
            if (const auto receiver = done.lock()) {
                (*receiver)(std::move(*result));
            }
        });
    });
}

}  // namespace plintor
