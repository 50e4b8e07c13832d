// The one instance of the Windows shell's record.
#include "app/win32/win32_state.h"

namespace {

Win32State state;

} // namespace

Win32State* win32State() {
    return &state;
}
