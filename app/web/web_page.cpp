// The page side of the web shell, in JavaScript called from C++: address parameters, title,
// error and stop messages, reload.
#include "app/web/web_page.h"

#include <emscripten/emscripten.h>

// clang-format off
EM_JS(int, jsPageParam, (const char* name, char* out, int size), {
    var value = new URLSearchParams(window.location.search).get(UTF8ToString(name));
    if (value === null) {
        return 0;
    }
    stringToUTF8(value, out, size);
    return 1;
});

EM_JS(void, jsSetTitle, (const char* title), {
    document.title = UTF8ToString(title);
});

EM_JS(void, jsShowError, (const char* text), {
    var line = document.createElement("p");
    line.className = "error";
    line.textContent = "Error: " + UTF8ToString(text);
    document.getElementById("messages").appendChild(line);
});

EM_JS(void, jsShowStopped, (int stopped), {
    document.getElementById("stopped").style.display = stopped ? "flex" : "none";
});

EM_JS(void, jsReload, (), {
    window.location.reload();
});

EM_JS(void, jsCountFrame, (), {
    var stats = window.velmorin = window.velmorin || {frames: 0, firstFrameMs: 0};
    if (stats.frames === 0) {
        stats.firstFrameMs = performance.now();
    }
    stats.frames += 1;
});
// clang-format on

bool webPageParam(const char* name, char* out, size_t size) {
    return jsPageParam(name, out, static_cast<int>(size)) != 0;
}

void webPageSetTitle(const char* title) {
    jsSetTitle(title);
}

void webPageShowError(const char* text) {
    jsShowError(text);
}

void webPageShowStopped(bool stopped) {
    jsShowStopped(stopped ? 1 : 0);
}

void webPageReload() {
    jsReload();
}

void webPageCountFrame() {
    jsCountFrame();
}
