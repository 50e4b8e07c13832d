// The Win32 backend's drawing surface: pixel format, palette, GL context and their teardown.
#include "app/win32/win32_graphics.h"

#include <cstdint>
#include <cstdlib>

#include "app/shell.h"
#include "app/win32/win32_palette.h"

static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40);

const PIXELFORMATDESCRIPTOR kPixelFormat = {
    .nSize = sizeof(PIXELFORMATDESCRIPTOR),
    .nVersion = 1,
    .dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER,
    .iPixelType = PFD_TYPE_RGBA,
    .cColorBits = 24,
    .cRedBits = 0,
    .cRedShift = 0,
    .cGreenBits = 0,
    .cGreenShift = 0,
    .cBlueBits = 0,
    .cBlueShift = 0,
    .cAlphaBits = 0, // no alpha planes
    .cAlphaShift = 0,
    .cAccumBits = 0, // no accumulation buffer
    .cAccumRedBits = 0,
    .cAccumGreenBits = 0,
    .cAccumBlueBits = 0,
    .cAccumAlphaBits = 0,
    .cDepthBits = 32,
    .cStencilBits = 0,
    .cAuxBuffers = 0,
    .iLayerType = PFD_MAIN_PLANE,
    .bReserved = 0,
    .dwLayerMask = 0,
    .dwVisibleMask = 0,
    .dwDamageMask = 0,
};

namespace {

constexpr WORD kLogPaletteVersion = 0x300;
// A system palette has 256 entries; wider indexed formats do not occur, and their 2^n entries
// would not fit the palette's 16-bit entry count.
constexpr BYTE kMaxPaletteColourBits = 8;

using SwapIntervalFunction = BOOL(WINAPI*)(int interval);
using GetSwapIntervalFunction = int(WINAPI*)();
// dmDisplayFrequency of 0 or 1 means the hardware's default rate, whatever that is.
constexpr DWORD kLowestNamedFrequency = 2;

PaletteLayout paletteLayoutOf(const PIXELFORMATDESCRIPTOR& format) {
    return PaletteLayout{
        PaletteChannel{format.cRedBits, format.cRedShift},
        PaletteChannel{format.cGreenBits, format.cGreenShift},
        PaletteChannel{format.cBlueBits, format.cBlueShift},
    };
}

} // namespace

void setupPixelFormat(HDC deviceContext) {
    SetPixelFormat(deviceContext, ChoosePixelFormat(deviceContext, &kPixelFormat), &kPixelFormat);
}

HPALETTE setupPalette(HDC deviceContext) {
    PIXELFORMATDESCRIPTOR format{};
    DescribePixelFormat(deviceContext, GetPixelFormat(deviceContext), sizeof(format), &format);
    if ((format.dwFlags & PFD_NEED_PALETTE) == 0 || format.cColorBits > kMaxPaletteColourBits) {
        return nullptr;
    }
    const uint32_t entryCount = 1u << format.cColorBits;
    // The record ends in a one-entry array that the allocation extends to all entries.
    auto* logicalPalette = static_cast<LOGPALETTE*>(
        std::malloc(sizeof(LOGPALETTE) + entryCount * sizeof(PALETTEENTRY)));
    if (logicalPalette == nullptr) {
        return nullptr; // drawing goes on with the system's colours
    }
    logicalPalette->palVersion = kLogPaletteVersion;
    logicalPalette->palNumEntries = static_cast<WORD>(entryCount);
    const PaletteLayout layout = paletteLayoutOf(format);
    for (uint32_t i = 0; i < entryCount; i++) {
        const PaletteColour colour = paletteColourAt(layout, i);
        logicalPalette->palPalEntry[i] = PALETTEENTRY{colour.red, colour.green, colour.blue, 0};
    }
    HPALETTE palette = CreatePalette(logicalPalette);
    if (palette != nullptr) {
        SelectPalette(deviceContext, palette, FALSE); // as the foreground palette
        RealizePalette(deviceContext);
    }
    std::free(logicalPalette);
    return palette;
}

void disableSwapInterval() {
    // An extension: only a driver that offers WGL_EXT_swap_control hands out the function. Its
    // real type comes by way of the generic function type, the one cast that says so.
    const PROC found = wglGetProcAddress("wglSwapIntervalEXT");
    const auto setSwapInterval =
        reinterpret_cast<SwapIntervalFunction>(reinterpret_cast<void (*)()>(found));
    if (setSwapInterval != nullptr) {
        setSwapInterval(0);
    }
}

bool swapIntervalActive() {
    const PROC found = wglGetProcAddress("wglGetSwapIntervalEXT");
    const auto getSwapInterval =
        reinterpret_cast<GetSwapIntervalFunction>(reinterpret_cast<void (*)()>(found));
    return getSwapInterval != nullptr && getSwapInterval() > 0;
}

int displayRefreshRate() {
    DEVMODEA mode{};
    mode.dmSize = sizeof(mode);
    if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) == 0 ||
        mode.dmDisplayFrequency < kLowestNamedFrequency) {
        return 0;
    }
    return static_cast<int>(mode.dmDisplayFrequency);
}

void teardownGraphics() {
    // Each handle is released once and then forgotten: this runs at WM_DESTROY and again at
    // process exit, and also after a start-up failure, before any of them existed.
    Win32State* state = win32State();
    if (state->glContext != nullptr) {
        wglMakeCurrent(state->deviceContext, nullptr);
        wglDeleteContext(state->glContext);
        state->glContext = nullptr;
    }
    if (state->deviceContext != nullptr) {
        ReleaseDC(state->window, state->deviceContext);
        state->deviceContext = nullptr;
    }
    if (state->palette != nullptr) {
        DeleteObject(state->palette);
        state->palette = nullptr;
    }
    // Back to the stored mode: harmless when no change was made, or when it was undone already.
    if (state->displayModeOwned) {
        ChangeDisplaySettingsA(nullptr, 0);
    }
    PostQuitMessage(0);
}
