// Translation of the SDL2 backend's key codes into the shell's key codes.
#pragma once

inline constexpr int kKeyEscape = 27;
inline constexpr int kKeyNone = 0;

// SDL key codes of keys without a character carry a high flag bit, so their low 8 bits can be
// anything, 27 included. Only Escape may come out as 27: characters keep their code, the arrows
// get the classic virtual-key codes 37 to 40, and everything else becomes kKeyNone.
int translateSdlKey(int sdlKeycode);
