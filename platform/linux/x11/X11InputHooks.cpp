// The input lock on X11: passive key grabs on the root window claim the swallowed combinations
// (for every Caps Lock and Num Lock state), and XInput2 raw events report every input of the
// display, whichever window it goes to. Both live on a connection of their own, apart from the
// toolkit's.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

#include <map>
#include <memory>
#include <set>

#include "core/lockdown/InputDevices.h"
#include "core/lockdown/KeyTable.h"
#include "platform/InputHooks.h"
#include "platform/linux/LinuxServices.h"
#include "platform/linux/x11/KeysymMap.h"
#include "platform/linux/x11/X11Connection.h"

namespace plintor {
namespace {

struct Grab {
    KeyCode code;
    unsigned int modifiers;
};

// The modifier bits of Alt, Num Lock and Super in this keyboard map.
struct ModifierBits {
    unsigned int alt = Mod1Mask;
    unsigned int numLock = Mod2Mask;
    unsigned int super = Mod4Mask;
};

unsigned int modifierBitOf(Display* display, XModifierKeymap* map, KeySym keysym,
                           unsigned int fallback) {
    const KeyCode code = XKeysymToKeycode(display, keysym);
    for (int modifier = 0; code != 0 && modifier < 8; ++modifier) {
        for (int i = 0; i < map->max_keypermod; ++i) {
            if (map->modifiermap[modifier * map->max_keypermod + i] == code) {
                return 1u << modifier;
            }
        }
    }
    return fallback;
}

ModifierBits readModifierBits(Display* display) {
    ModifierBits bits;
    XModifierKeymap* map = XGetModifierMapping(display);
    if (map != nullptr) {
        bits.alt = modifierBitOf(display, map, XK_Alt_L, Mod1Mask);
        bits.numLock = modifierBitOf(display, map, XK_Num_Lock, Mod2Mask);
        bits.super = modifierBitOf(display, map, XK_Super_L, Mod4Mask);
        XFreeModifiermap(map);
    }
    return bits;
}

std::string keyName(VirtualKey virtualKey, bool shift, bool control, bool alt, bool super) {
    const std::vector<unsigned long> keysyms = keysymsOfVirtualKey(virtualKey);
    const char* name = keysyms.empty() ? nullptr : XKeysymToString(keysyms.front());
    return std::string(super ? "Super+" : "") + (control ? "Control+" : "") + (alt ? "Alt+" : "") +
           (shift ? "Shift+" : "") + (name != nullptr ? name : "?");
}

class X11InputHooks final : public InputHooks {
public:
    void onActivity(std::function<void()> activity) override { m_activity = std::move(activity); }

    bool install() override {
        if (!m_display) {
            m_display = openDisplayHandle();
            if (!m_display) {
                m_shortfall =
                    "there is no X11 display: system keys and input activity are not locked";
                return false;
            }
        }
        m_shortfall.clear();
        const bool keys = m_grabs.empty() ? grabKeys() : true;
        const bool activity = m_rawEvents || selectRawEvents();
        return keys && activity;
    }

    bool remove() override {
        if (!m_display) {
            return true;
        }
        Window root = DefaultRootWindow(m_display.get());
        for (const Grab& grab : m_grabs) {
            XUngrabKey(m_display.get(), grab.code, grab.modifiers, root);
        }
        m_grabs.clear();
        m_display.reset();
        m_rawEvents = false;
        return true;
    }

    int descriptor() const override { return m_display ? ConnectionNumber(m_display.get()) : -1; }
    std::string shortfall() const override { return m_shortfall; }

    VirtualKey virtualKeyOfNativeKey(std::uint32_t nativeKey) const override {
        return virtualKeyOfKeysym(nativeKey);
    }

    void processEvents() override {
        if (!m_display) {
            return;
        }
        Display* display = m_display.get();
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            XGenericEventCookie* cookie = &event.xcookie;
            if (cookie->type != GenericEvent || cookie->extension != m_xiOpcode ||
                !XGetEventData(display, cookie)) {
                continue;  // the grabbed keys themselves: swallowed
            }
            handleXiEvent(cookie->evtype, cookie->data);
            XFreeEventData(display, cookie);
        }
    }

private:
    bool grabKeys() {
        Display* display = m_display.get();
        const ModifierBits bits = readModifierBits(display);
        const unsigned int locks[] = {0, LockMask, bits.numLock, LockMask | bits.numLock};
        Window root = DefaultRootWindow(display);
        std::map<unsigned long, std::string> names;  // request serial -> combination
        {
            X11ErrorTrap trap(display);
            for (const VirtualKey virtualKey : LockdownKeys) {
                std::set<KeyCode> codes;
                for (const unsigned long keysym : keysymsOfVirtualKey(virtualKey)) {
                    if (const KeyCode code = XKeysymToKeycode(display, keysym); code != 0) {
                        codes.insert(code);
                    }
                }
                for (int combination = 0; combination < 16; ++combination) {
                    const bool shift = combination & 1, control = combination & 2,
                               alt = combination & 4, super = combination & 8;
                    if (!swallowKey(virtualKey, alt, control)) {
                        continue;
                    }
                    const unsigned int modifiers = (shift ? ShiftMask : 0) |
                                                   (control ? ControlMask : 0) |
                                                   (alt ? bits.alt : 0) | (super ? bits.super : 0);
                    for (const KeyCode code : codes) {
                        for (const unsigned int lock : locks) {
                            names[NextRequest(display)] =
                                keyName(virtualKey, shift, control, alt, super);
                            XGrabKey(display, code, modifiers | lock, root, False, GrabModeAsync,
                                     GrabModeAsync);
                            m_grabs.push_back({code, modifiers | lock});
                        }
                    }
                }
            }
            std::set<std::string> held;
            for (const unsigned long serial : trap.failedRequests()) {
                if (auto name = names.find(serial); name != names.end()) {
                    held.insert(name->second);
                }
            }
            for (const std::string& name : held) {
                m_shortfall +=
                    (m_shortfall.empty() ? "key combinations held by another program: " : ", ") +
                    name;
            }
        }
        return m_shortfall.empty();
    }

    bool selectRawEvents() {
        Display* display = m_display.get();
        int event = 0, error = 0, major = 2, minor = 2;
        if (!XQueryExtension(display, "XInputExtension", &m_xiOpcode, &event, &error) ||
            XIQueryVersion(display, &major, &minor) != Success) {
            addShortfall("the display has no XInput2: input activity is not seen");
            return false;
        }
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        for (const int type :
             {XI_RawKeyPress, XI_RawKeyRelease, XI_RawButtonPress, XI_RawButtonRelease,
              XI_RawMotion, XI_RawTouchBegin, XI_RawTouchUpdate, XI_RawTouchEnd}) {
            XISetMask(bits, type);
        }
        XIEventMask rawMask{XIAllMasterDevices, sizeof bits, bits};
        XISelectEvents(display, DefaultRootWindow(display), &rawMask, 1);
        unsigned char hierarchyBits[XIMaskLen(XI_LASTEVENT)] = {};
        XISetMask(hierarchyBits, XI_HierarchyChanged);
        XIEventMask hierarchyMask{XIAllDevices, sizeof hierarchyBits, hierarchyBits};
        XISelectEvents(display, DefaultRootWindow(display), &hierarchyMask, 1);
        XFlush(display);
        readPenDevices();
        m_rawEvents = true;
        return true;
    }

    void readPenDevices() {
        m_penDevices.clear();
        int count = 0;
        XIDeviceInfo* devices = XIQueryDevice(m_display.get(), XIAllDevices, &count);
        for (int i = 0; devices != nullptr && i < count; ++i) {
            std::vector<std::string> labels;
            for (int c = 0; c < devices[i].num_classes; ++c) {
                if (devices[i].classes[c]->type == XIValuatorClass) {
                    const Atom label =
                        reinterpret_cast<XIValuatorClassInfo*>(devices[i].classes[c])->label;
                    if (char* name =
                            label != None ? XGetAtomName(m_display.get(), label) : nullptr) {
                        labels.emplace_back(name);
                        XFree(name);
                    }
                }
            }
            if (isPenDevice(devices[i].name, labels)) {
                m_penDevices.insert(devices[i].deviceid);
            }
        }
        XIFreeDeviceInfo(devices);
    }

    void handleXiEvent(int type, void* data) {
        if (type == XI_HierarchyChanged) {
            readPenDevices();
            return;
        }
        const bool pointer =
            type == XI_RawButtonPress || type == XI_RawButtonRelease || type == XI_RawMotion;
        if (pointer && m_penDevices.count(static_cast<XIRawEvent*>(data)->sourceid) != 0) {
            return;
        }
        if (m_activity) {
            m_activity();
        }
    }

    void addShortfall(const std::string& text) {
        m_shortfall += (m_shortfall.empty() ? "" : "; ") + text;
    }

    DisplayHandle m_display;
    std::vector<Grab> m_grabs;
    bool m_rawEvents = false;
    int m_xiOpcode = 0;
    std::set<int> m_penDevices;
    std::string m_shortfall;
    std::function<void()> m_activity;
};

}  // namespace

std::unique_ptr<InputHooks> createX11InputHooks() {
    return std::make_unique<X11InputHooks>();
}

}  // namespace plintor
