// The window shell's one input rule, the same for every backend.
#include "app/shell.h"

#include <cstdlib>

namespace {

constexpr int kLowByteMask = 0xFF;
constexpr int kEscapeKeyCode = 27;

} // namespace

void handleKeyDown(int keyCode) {
    if ((keyCode & kLowByteMask) == kEscapeKeyCode) {
        std::exit(0);
    }
}
