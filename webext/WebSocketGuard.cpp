#include "webext/WebSocketGuard.h"

#include <string>
#include <utility>

namespace plintor {
namespace {

// Everything the replacement needs is taken from the fresh global object before any page
// script runs, so a page that later replaces URL, Reflect or DOMException changes nothing.
constexpr const char* GuardScript = R"JS(
(function (judge) {
    'use strict';
    const Original = globalThis.WebSocket;
    if (typeof Original !== 'function') {
        return;
    }
    const apply = Reflect.apply;
    const construct = Reflect.construct;
    const defineProperty = Object.defineProperty;
    const baseOf = Object.getOwnPropertyDescriptor(Node.prototype, 'baseURI').get;
    const Denied = DOMException;
    const toText = String;
    const doc = document;
    const WebSocket = function WebSocket(url, protocols) {
        if (new.target === undefined) {
            throw new TypeError("Constructor WebSocket requires 'new'");
        }
        const address = toText(url);
        if (judge(address, apply(baseOf, doc, []))) {
            throw new Denied("The operation is insecure.", "SecurityError");
        }
        const args = arguments.length > 1 ? [address, protocols] : [address];
        return construct(Original, args, new.target === WebSocket ? Original : new.target);
    };
    defineProperty(WebSocket, 'prototype', {value: Original.prototype});
    for (const name of ['CONNECTING', 'OPEN', 'CLOSING', 'CLOSED']) {
        defineProperty(WebSocket, name, {value: Original[name], enumerable: true});
    }
    defineProperty(Original.prototype, 'constructor',
                   {value: WebSocket, writable: true, configurable: true});
    defineProperty(globalThis, 'WebSocket', {value: WebSocket, writable: true, configurable: true});
})
)JS";

// The address the constructor would open: resolved against the base, http(s) made ws(s).
std::string socketAddress(const char* url, const char* base) {
    GError* error = nullptr;
    char* resolved = g_uri_resolve_relative(base, url, G_URI_FLAGS_NONE, &error);
    if (resolved == nullptr) {
        g_clear_error(&error);
        return url;  // the constructor throws its own SyntaxError for it
    }
    std::string address(resolved);
    g_free(resolved);
    for (const auto& [from, to] : {std::pair{"http:", "ws:"}, std::pair{"https:", "wss:"}}) {
        if (address.starts_with(from)) {
            address.replace(0, std::string_view(from).size(), to);
            break;
        }
    }
    return address;
}

}  // namespace

// What a frame's judge function knows: the guard, and the page by number (a frame's
// JavaScript may outlive the page object).
struct WebSocketGuard::Call {
    WebSocketGuard* guard;
    guint64 page;
};

WebSocketGuard::WebSocketGuard(WebKitWebProcessExtension* extension, Judge denies)
    : m_extension(extension), m_denies(std::move(denies)) {
    m_handler = g_signal_connect(webkit_script_world_get_default(), "window-object-cleared",
                                 G_CALLBACK(windowObjectCleared), this);
}

WebSocketGuard::~WebSocketGuard() {
    g_signal_handler_disconnect(webkit_script_world_get_default(), m_handler);
}

gboolean WebSocketGuard::judge(GPtrArray* arguments, Call* call) {
    if (arguments->len < 2) {
        return TRUE;
    }
    char* url = jsc_value_to_string(static_cast<JSCValue*>(g_ptr_array_index(arguments, 0)));
    char* base = jsc_value_to_string(static_cast<JSCValue*>(g_ptr_array_index(arguments, 1)));
    WebKitWebPage* page =
        webkit_web_process_extension_get_page(call->guard->m_extension, call->page);
    const bool denied = call->guard->m_denies(page, socketAddress(url, base));
    g_free(url);
    g_free(base);
    return denied;
}

void WebSocketGuard::windowObjectCleared(WebKitScriptWorld* world, WebKitWebPage* page,
                                         WebKitFrame* frame, WebSocketGuard* self) {
    JSCContext* context = webkit_frame_get_js_context_for_script_world(frame, world);
    auto* call = new Call{self, webkit_web_page_get_id(page)};
    JSCValue* judge = jsc_value_new_function_variadic(
        context, nullptr, G_CALLBACK(WebSocketGuard::judge), call,
        [](gpointer data) { delete static_cast<Call*>(data); }, G_TYPE_BOOLEAN);
    JSCValue* install = jsc_context_evaluate(context, GuardScript, -1);
    JSCValue* result = jsc_value_function_call(install, JSC_TYPE_VALUE, judge, G_TYPE_NONE);
    if (JSCException* exception = jsc_context_get_exception(context)) {
        g_warning("The WebSocket guard could not be installed: %s",
                  jsc_exception_get_message(exception));
        jsc_context_clear_exception(context);
    }
    g_clear_object(&result);
    g_clear_object(&install);
    g_object_unref(judge);
    g_object_unref(context);
}

}  // namespace plintor
