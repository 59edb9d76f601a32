#include "webext/EditableFocusReporter.h"

#include "core/browser/EditableFocus.h"

namespace plintor {
namespace {

// Runs in the reporter's own world: its globals, listeners and microtasks are out of the page's
// reach, while the DOM and its events are the page's own. A frame inside the page counts as
// the page: its own copy reports for the field inside it.
constexpr const char* WatchScript = R"JS(
(function (report) {
    'use strict';
    if (globalThis.focusWatchInstalled) {
        return;  // a window kept for the next document has its listeners already
    }
    Object.defineProperty(globalThis, 'focusWatchInstalled', {value: true});
    const TextTypes = new Set(['text', 'search', 'email', 'url', 'tel', 'password', 'number']);
    const takesText = (element) => {
        if (element instanceof HTMLInputElement) {
            return TextTypes.has(element.type) && !element.readOnly && !element.disabled;
        }
        if (element instanceof HTMLTextAreaElement) {
            return !element.readOnly && !element.disabled;
        }
        return element instanceof HTMLElement && element.isContentEditable;
    };
    const focused = () => {
        let element = document.activeElement;
        while (element && element.shadowRoot && element.shadowRoot.activeElement) {
            element = element.shadowRoot.activeElement;
        }
        return element;
    };
    const hasTextFocus = () => document.hasFocus() && takesText(focused());
    let told = false;
    let queued = false;
    const tellWhereItEnded = () => {
        queued = false;
        const now = hasTextFocus();
        if (now !== told) {
            told = now;
            report(now);
        }
    };
    const focusMoved = () => {
        if (!queued) {
            queued = true;
            queueMicrotask(tellWhereItEnded);
        }
    };
    addEventListener('focus', focusMoved, true);
    addEventListener('blur', focusMoved, true);
    addEventListener('pagehide', () => {
        if (told) {
            told = false;
            report(false);
        }
    }, true);
    // A tap on the field that has the focus asks for the keyboard again (the visitor may have
    // hidden it); only the visitor's own taps are trusted events.
    addEventListener('click', (event) => {
        if (event.isTrusted && hasTextFocus()) {
            told = true;
            report(true);
        }
    }, true);
    addEventListener('resize', () => {
        const element = focused();
        if (document.hasFocus() && (takesText(element) || element instanceof HTMLIFrameElement)) {
            element.scrollIntoView({block: 'nearest', inline: 'nearest'});
        }
    });
})
)JS";

}  // namespace

// What a frame's report function knows: the reporter, and the page by number (a frame's
// JavaScript may outlive the page object).
struct EditableFocusReporter::Call {
    EditableFocusReporter* reporter;
    guint64 page;
};

EditableFocusReporter::EditableFocusReporter(WebKitWebProcessExtension* extension)
    : m_extension(extension),
      m_world(GObjectRef<WebKitScriptWorld>::adopt(webkit_script_world_new())) {
    // The page's own world is cleared for every new document of every frame, before the
    // document's scripts run; that is when this world's listeners go in.
    m_handler = g_signal_connect(webkit_script_world_get_default(), "window-object-cleared",
                                 G_CALLBACK(windowObjectCleared), this);
}

EditableFocusReporter::~EditableFocusReporter() {
    g_signal_handler_disconnect(webkit_script_world_get_default(), m_handler);
}

void EditableFocusReporter::report(gboolean focused, Call* call) {
    WebKitWebPage* page =
        webkit_web_process_extension_get_page(call->reporter->m_extension, call->page);
    if (page != nullptr) {
        webkit_web_page_send_message_to_view(
            page, webkit_user_message_new(EditableFocus::Message, g_variant_new_boolean(focused)),
            nullptr, nullptr, nullptr);
    }
}

void EditableFocusReporter::windowObjectCleared(WebKitScriptWorld*, WebKitWebPage* page,
                                                WebKitFrame* frame, EditableFocusReporter* self) {
    JSCContext* context = webkit_frame_get_js_context_for_script_world(frame, self->m_world.get());
    auto* call = new Call{self, webkit_web_page_get_id(page)};
    JSCValue* reportFunction = jsc_value_new_function(
        context, nullptr, G_CALLBACK(EditableFocusReporter::report), call,
        [](gpointer data) { delete static_cast<Call*>(data); }, G_TYPE_NONE, 1, G_TYPE_BOOLEAN);
    JSCValue* install = jsc_context_evaluate(context, WatchScript, -1);
    JSCValue* result =
        jsc_value_function_call(install, JSC_TYPE_VALUE, reportFunction, G_TYPE_NONE);
    if (JSCException* exception = jsc_context_get_exception(context)) {
        g_warning("The text field watch could not be installed: %s",
                  jsc_exception_get_message(exception));
        jsc_context_clear_exception(context);
    }
    g_clear_object(&result);
    g_clear_object(&install);
    g_object_unref(reportFunction);
    g_object_unref(context);
}

}  // namespace plintor
