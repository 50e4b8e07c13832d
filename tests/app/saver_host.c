/* A stand-in screensaver host for the tests: owns one window and acts on commands from stdin.
 *
 *   saver_host WIDTH HEIGHT   creates and maps a window at (40, 30); prints "window ID" (decimal)
 *   resize W H                resizes it, then prints "resized"
 *   grab                      grabs and releases the pointer; prints "grab STATUS" (0: success)
 *   destroy                   destroys the window, then prints "destroyed"
 * End of input ends the program. Every answer is flushed at once. */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { kWindowX = 40, kWindowY = 30, kLineSize = 128 };

static void answer(const char* text, unsigned long value, int withValue) {
    if (withValue) {
        printf("%s %lu\n", text, value);
    } else {
        printf("%s\n", text);
    }
    fflush(stdout);
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: saver_host WIDTH HEIGHT\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "saver_host: no display\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), kWindowX, kWindowY,
                                        (unsigned)atoi(argv[1]), (unsigned)atoi(argv[2]), 0,
                                        BlackPixel(display, screen), BlackPixel(display, screen));
    XStoreName(display, window, "saver-host");
    XMapWindow(display, window);
    XSync(display, False);
    answer("window", window, 1);

    char line[kLineSize];
    while (fgets(line, sizeof line, stdin) != NULL) {
        unsigned width = 0;
        unsigned height = 0;
        if (sscanf(line, "resize %u %u", &width, &height) == 2) {
            XResizeWindow(display, window, width, height);
            XSync(display, False);
            answer("resized", 0, 0);
        } else if (strncmp(line, "grab", 4) == 0) {
            const int status =
                XGrabPointer(display, RootWindow(display, screen), False, ButtonPressMask,
                             GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
            XUngrabPointer(display, CurrentTime);
            XSync(display, False);
            answer("grab", (unsigned long)status, 1);
        } else if (strncmp(line, "destroy", 7) == 0) {
            XDestroyWindow(display, window);
            XSync(display, False);
            answer("destroyed", 0, 0);
        }
    }
    XCloseDisplay(display);
    return 0;
}
