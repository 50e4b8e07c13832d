// Whether a space-separated extension string (GLX's, EGL's) names an extension: whole names only,
// since one name may begin another's (EGL_EXT_buffer_age in EGL_EXT_buffer_age_x, say).
#pragma once

#include <cstring>

inline bool platformExtensionListed(const char* extensions, const char* name) {
    const size_t length = std::strlen(name);
    for (const char* at = extensions; at != nullptr && (at = std::strstr(at, name)) != nullptr;
         at += length) {
        const bool starts = at == extensions || at[-1] == ' ';
        if (starts && (at[length] == ' ' || at[length] == '\0')) {
            return true;
        }
    }
    return false;
}
