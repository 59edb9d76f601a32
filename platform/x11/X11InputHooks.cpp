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
#include "platform/x11/KeysymMap.h"
#include "platform/x11/LinuxServices.h"
#include "platform/x11/X11Connection.h"

namespace plintor {
namespace {

struct TGrab {
    KeyCode Code;
    unsigned int Modifiers;
};

// The modifier bits of Alt, Num Lock and Super in this keyboard map.
struct TModifierBits {
    unsigned int Alt = Mod1Mask;
    unsigned int NumLock = Mod2Mask;
    unsigned int Super = Mod4Mask;
};

unsigned int ModifierBitOf(Display* display, XModifierKeymap* map, KeySym keysym,
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

TModifierBits ReadModifierBits(Display* display) {
    TModifierBits bits;
    XModifierKeymap* map = XGetModifierMapping(display);
    if (map != nullptr) {
        bits.Alt = ModifierBitOf(display, map, XK_Alt_L, Mod1Mask);
        bits.NumLock = ModifierBitOf(display, map, XK_Num_Lock, Mod2Mask);
        bits.Super = ModifierBitOf(display, map, XK_Super_L, Mod4Mask);
        XFreeModifiermap(map);
    }
    return bits;
}

std::string KeyName(std::uint32_t virtualKey, bool shift, bool control, bool alt, bool super) {
    const std::vector<unsigned long> keysyms = KeysymsOfVirtualKey(virtualKey);
    const char* name = keysyms.empty() ? nullptr : XKeysymToString(keysyms.front());
    return std::string(super ? "Super+" : "") + (control ? "Control+" : "") + (alt ? "Alt+" : "") +
           (shift ? "Shift+" : "") + (name != nullptr ? name : "?");
}

class TX11InputHooks final : public IInputHooks {
public:
    void OnActivity(std::function<void()> activity) override { FActivity = std::move(activity); }

    bool Install() override {
        if (!FDisplay) {
            FDisplay = OpenDisplayHandle();
            if (!FDisplay) {
                FShortfall =
                    "there is no X11 display: system keys and input activity are not locked";
                return false;
            }
        }
        FShortfall.clear();
        const bool keys = FGrabs.empty() ? GrabKeys() : true;
        const bool activity = FRawEvents || SelectRawEvents();
        return keys && activity;
    }

    bool Remove() override {
        if (!FDisplay) {
            return true;
        }
        Window root = DefaultRootWindow(FDisplay.get());
        for (const TGrab& grab : FGrabs) {
            XUngrabKey(FDisplay.get(), grab.Code, grab.Modifiers, root);
        }
        FGrabs.clear();
        FDisplay.reset();
        FRawEvents = false;
        return true;
    }

    int Descriptor() const override { return FDisplay ? ConnectionNumber(FDisplay.get()) : -1; }
    std::string Shortfall() const override { return FShortfall; }

    std::uint32_t VirtualKeyOfNativeKey(std::uint32_t nativeKey) const override {
        return VirtualKeyOfKeysym(nativeKey);
    }

    void ProcessEvents() override {
        if (!FDisplay) {
            return;
        }
        Display* display = FDisplay.get();
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            XGenericEventCookie* cookie = &event.xcookie;
            if (cookie->type != GenericEvent || cookie->extension != FXiOpcode ||
                !XGetEventData(display, cookie)) {
                continue;  // the grabbed keys themselves: swallowed
            }
            HandleXiEvent(cookie->evtype, cookie->data);
            XFreeEventData(display, cookie);
        }
    }

private:
    bool GrabKeys() {
        Display* display = FDisplay.get();
        const TModifierBits bits = ReadModifierBits(display);
        const unsigned int locks[] = {0, LockMask, bits.NumLock, LockMask | bits.NumLock};
        Window root = DefaultRootWindow(display);
        std::map<unsigned long, std::string> names;  // request serial -> combination
        {
            TX11ErrorTrap trap(display);
            for (const std::uint32_t virtualKey : LockdownKeys) {
                std::set<KeyCode> codes;
                for (const unsigned long keysym : KeysymsOfVirtualKey(virtualKey)) {
                    if (const KeyCode code = XKeysymToKeycode(display, keysym); code != 0) {
                        codes.insert(code);
                    }
                }
                for (int combination = 0; combination < 16; ++combination) {
                    const bool shift = combination & 1, control = combination & 2,
                               alt = combination & 4, super = combination & 8;
                    if (!SwallowKey(virtualKey, alt, control)) {
                        continue;
                    }
                    const unsigned int modifiers = (shift ? ShiftMask : 0) |
                                                   (control ? ControlMask : 0) |
                                                   (alt ? bits.Alt : 0) | (super ? bits.Super : 0);
                    for (const KeyCode code : codes) {
                        for (const unsigned int lock : locks) {
                            names[NextRequest(display)] =
                                KeyName(virtualKey, shift, control, alt, super);
                            XGrabKey(display, code, modifiers | lock, root, False, GrabModeAsync,
                                     GrabModeAsync);
                            FGrabs.push_back({code, modifiers | lock});
                        }
                    }
                }
            }
            std::set<std::string> held;
            for (const unsigned long serial : trap.FailedRequests()) {
                if (auto name = names.find(serial); name != names.end()) {
                    held.insert(name->second);
                }
            }
            for (const std::string& name : held) {
                FShortfall +=
                    (FShortfall.empty() ? "key combinations held by another program: " : ", ") +
                    name;
            }
        }
        return FShortfall.empty();
    }

    bool SelectRawEvents() {
        Display* display = FDisplay.get();
        int event = 0, error = 0, major = 2, minor = 2;
        if (!XQueryExtension(display, "XInputExtension", &FXiOpcode, &event, &error) ||
            XIQueryVersion(display, &major, &minor) != Success) {
            AddShortfall("the display has no XInput2: input activity is not seen");
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
        ReadPenDevices();
        FRawEvents = true;
        return true;
    }

    void ReadPenDevices() {
        FPenDevices.clear();
        int count = 0;
        XIDeviceInfo* devices = XIQueryDevice(FDisplay.get(), XIAllDevices, &count);
        for (int i = 0; devices != nullptr && i < count; ++i) {
            std::vector<std::string> labels;
            for (int c = 0; c < devices[i].num_classes; ++c) {
                if (devices[i].classes[c]->type == XIValuatorClass) {
                    const Atom label =
                        reinterpret_cast<XIValuatorClassInfo*>(devices[i].classes[c])->label;
                    if (char* name =
                            label != None ? XGetAtomName(FDisplay.get(), label) : nullptr) {
                        labels.emplace_back(name);
                        XFree(name);
                    }
                }
            }
            if (IsPenDevice(devices[i].name, labels)) {
                FPenDevices.insert(devices[i].deviceid);
            }
        }
        XIFreeDeviceInfo(devices);
    }

    void HandleXiEvent(int type, void* data) {
        if (type == XI_HierarchyChanged) {
            ReadPenDevices();
            return;
        }
        const bool pointer =
            type == XI_RawButtonPress || type == XI_RawButtonRelease || type == XI_RawMotion;
        if (pointer && FPenDevices.count(static_cast<XIRawEvent*>(data)->sourceid) != 0) {
            return;
        }
        if (FActivity) {
            FActivity();
        }
    }

    void AddShortfall(const std::string& text) {
        FShortfall += (FShortfall.empty() ? "" : "; ") + text;
    }

    TDisplayHandle FDisplay;
    std::vector<TGrab> FGrabs;
    bool FRawEvents = false;
    int FXiOpcode = 0;
    std::set<int> FPenDevices;
    std::string FShortfall;
    std::function<void()> FActivity;
};

}  // namespace

std::unique_ptr<IInputHooks> CreateX11InputHooks() {
    return std::make_unique<TX11InputHooks>();
}

}  // namespace plintor
