// The seat, bound only for the overlay: keys, buttons and pointer moves become events, and the
// pointer is hidden over our surfaces.
#include <unistd.h>

#include "platform/wayland/platform_wayland_state.h"

namespace {

constexpr uint32_t kReleaseSince = 3; // wl_keyboard.release and wl_pointer.release

void onKeymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) {
    close(fd); // no key is told from another: any key ends the saver
}
void onKeyboardEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {}
void onKeyboardLeave(void*, wl_keyboard*, uint32_t, wl_surface*) {}
void onKey(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t state) {
    if (state == WL_KEYBOARD_KEY_STATE_PRESSED) {
        waylandQueueEvent(PlatformLayerEventType::KeyDown, 0, 0);
    }
}
void onModifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
void onRepeatInfo(void*, wl_keyboard*, int32_t, int32_t) {}

const wl_keyboard_listener kKeyboardListener = {onKeymap, onKeyboardEnter, onKeyboardLeave,
                                                onKey,    onModifiers,     onRepeatInfo};

void onPointerEnter(void*, wl_pointer* pointer, uint32_t serial, wl_surface*, wl_fixed_t x,
                    wl_fixed_t y) {
    wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0); // no cursor image: hidden
    waylandQueueEvent(PlatformLayerEventType::PointerEnter, wl_fixed_to_int(x), wl_fixed_to_int(y));
}
void onPointerLeave(void*, wl_pointer*, uint32_t, wl_surface*) {}
void onMotion(void*, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
    waylandQueueEvent(PlatformLayerEventType::PointerMotion, wl_fixed_to_int(x),
                      wl_fixed_to_int(y));
}
void onButton(void*, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state) {
    if (state == WL_POINTER_BUTTON_STATE_PRESSED) {
        waylandQueueEvent(PlatformLayerEventType::ButtonDown, 0, 0);
    }
}
void onAxis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}
void onFrame(void*, wl_pointer*) {}
void onAxisSource(void*, wl_pointer*, uint32_t) {}
void onAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void onAxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}

const wl_pointer_listener kPointerListener = {
    onPointerEnter, onPointerLeave, onMotion,   onButton,       onAxis,
    onFrame,        onAxisSource,   onAxisStop, onAxisDiscrete, nullptr};

void releaseKeyboard() {
    PlatformWayland& w = gWayland;
    if (w.keyboard == nullptr) {
        return;
    }
    if (wl_keyboard_get_version(w.keyboard) >= kReleaseSince) {
        wl_keyboard_release(w.keyboard);
    } else {
        wl_keyboard_destroy(w.keyboard);
    }
    w.keyboard = nullptr;
}

void releasePointer() {
    PlatformWayland& w = gWayland;
    if (w.pointer == nullptr) {
        return;
    }
    if (wl_pointer_get_version(w.pointer) >= kReleaseSince) {
        wl_pointer_release(w.pointer);
    } else {
        wl_pointer_destroy(w.pointer);
    }
    w.pointer = nullptr;
}

void onCapabilities(void*, wl_seat* seat, uint32_t capabilities) {
    PlatformWayland& w = gWayland;
    const bool keyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    const bool pointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
    if (keyboard && w.keyboard == nullptr) {
        w.keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(w.keyboard, &kKeyboardListener, nullptr);
    } else if (!keyboard) {
        releaseKeyboard();
    }
    if (pointer && w.pointer == nullptr) {
        w.pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(w.pointer, &kPointerListener, nullptr);
    } else if (!pointer) {
        releasePointer();
    }
}
void onSeatName(void*, wl_seat*, const char*) {}

const wl_seat_listener kSeatListener = {onCapabilities, onSeatName};

} // namespace

void waylandInputBindSeat(uint32_t globalName, uint32_t version) {
    PlatformWayland& w = gWayland;
    if (w.seat != nullptr) {
        return; // the first seat is the user's
    }
    w.seat = static_cast<wl_seat*>(
        wl_registry_bind(w.registry, globalName, &wl_seat_interface, version));
    wl_seat_add_listener(w.seat, &kSeatListener, nullptr);
}

void waylandInputRelease() {
    PlatformWayland& w = gWayland;
    releaseKeyboard();
    releasePointer();
    if (w.seat != nullptr) {
        if (wl_seat_get_version(w.seat) >= WL_SEAT_RELEASE_SINCE_VERSION) {
            wl_seat_release(w.seat);
        } else {
            wl_seat_destroy(w.seat);
        }
        w.seat = nullptr;
    }
}
