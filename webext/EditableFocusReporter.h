#pragma once

#include <webkit/webkit-web-process-extension.h>

#include "glib/GObjectRef.h"

namespace plintor {

// Tells each page's view (EditableFocus) when a text field of the page takes or loses the
// focus, and keeps the focused field in sight when the page's view shrinks (the on-screen
// keyboard opened under it). It watches from a script world of its own, installed in every
// frame before the frame's scripts run: page scripts cannot see, replace or stop its listeners,
// and a script that moves the focus in a loop yields one message per task, with where the focus
// ended.
class EditableFocusReporter {
public:
    explicit EditableFocusReporter(WebKitWebProcessExtension* extension);
    EditableFocusReporter(const EditableFocusReporter&) = delete;
    EditableFocusReporter& operator=(const EditableFocusReporter&) = delete;
    ~EditableFocusReporter();

private:
    struct Call;

    static void windowObjectCleared(WebKitScriptWorld* world, WebKitWebPage* page,
                                    WebKitFrame* frame, EditableFocusReporter* self);
    static void report(gboolean focused, Call* call);

    WebKitWebProcessExtension* m_extension;
    GObjectRef<WebKitScriptWorld> m_world;
    gulong m_handler = 0;
};

}  // namespace plintor
