// The SDL2 key code to shell key code table: ASCII passes through, the arrows take Windows'
// codes, everything else is dropped.
#include "platform/sdl/platform_sdl_keys.h"

#include <SDL2/SDL_keycode.h>

namespace {

constexpr int kFirstNonAsciiKeycode = 0x80;
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;

} // namespace

int translateSdlKey(int sdlKeycode) {
    switch (sdlKeycode) {
    case SDLK_ESCAPE:
        return kKeyEscape;
    case SDLK_LEFT:
        return kKeyLeft;
    case SDLK_UP:
        return kKeyUp;
    case SDLK_RIGHT:
        return kKeyRight;
    case SDLK_DOWN:
        return kKeyDown;
    default:
        break;
    }
    if (sdlKeycode > 0 && sdlKeycode < kFirstNonAsciiKeycode) {
        return sdlKeycode; // characters, Space, Return, Tab, Backspace, Delete
    }
    return kKeyNone;
}
