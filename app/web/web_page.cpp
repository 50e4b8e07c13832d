// The page side of the web shell, in JavaScript called from C++: address parameters, title,
// error and stop messages, reload, the canvas's size, the frame-rate figure and full screen.
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

EM_JS(void, jsCountFrame, (int bodies), {
    var stats = window.velmorin;
    if (stats.frames === 0) {
        stats.firstFrameMs = performance.now();
    }
    stats.frames += 1;
    stats.bodies = bodies;
});

EM_JS(void, jsShowFps, (const char* text), {
    var figure = document.getElementById("fps");
    figure.hidden = !text;
    figure.textContent = text ? UTF8ToString(text) : "";
});

EM_JS(void, jsToggleFullScreen, (), {
    toggleFullScreen(); // the page's own, also behind its button and double-clicks
});

EM_JS(void, jsFillWindow, (int maxSide), {
    var canvas = Module.canvas;
    document.body.className = "filled";
    function fit() {
        var box = canvas.getBoundingClientRect();
        var ratio = window.devicePixelRatio || 1;
        var width = box.width * ratio;
        var height = box.height * ratio;
        var scale = Math.min(1, maxSide / Math.max(width, height, 1));
        canvas.width = Math.max(1, Math.round(width * scale));
        canvas.height = Math.max(1, Math.round(height * scale));
    }
    // A media query on today's ratio fires once when the ratio changes (zoom, another screen);
    // the next one watches the new ratio.
    function watchRatio() {
        var query = "(resolution: " + (window.devicePixelRatio || 1) + "dppx)";
        matchMedia(query).addEventListener("change", function () {
            fit();
            watchRatio();
        }, {once: true});
    }
    window.addEventListener("resize", fit);
    watchRatio();
    fit();
});

EM_JS(void, jsFixCanvas, (int width, int height), {
    document.body.className = "fixed";
    Module.canvas.style.width = width + "px";
    Module.canvas.style.height = height + "px";
    Module.canvas.width = width;
    Module.canvas.height = height;
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

void webPageCountFrame(uint32_t bodies) {
    jsCountFrame(static_cast<int>(bodies));
}

void webPageFillWindow(int maxSide) {
    jsFillWindow(maxSide);
}

void webPageFixCanvas(int width, int height) {
    jsFixCanvas(width, height);
}

void webPageShowFps(const char* text) {
    jsShowFps(text);
}

void webPageToggleFullScreen() {
    jsToggleFullScreen();
}
