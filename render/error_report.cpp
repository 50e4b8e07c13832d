// Error reporting: forwards user-visible failure texts to the installed sink.
#include "render/error_report.h"

#include <cstdio>

namespace {

void reportToStderr(const char* text) {
    std::fprintf(stderr, "Error: %s\n", text);
}

// The program has one thread, so a plain pointer is enough.
ErrorReporter gReporter = reportToStderr;

} // namespace

void reportError(const char* text) {
    gReporter(text);
}

void setErrorReporter(ErrorReporter reporter) {
    gReporter = reporter != nullptr ? reporter : reportToStderr;
}
