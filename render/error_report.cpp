// Error reporting: forwards user-visible failure texts to the installed sink.
#include "render/error_report.h"

#include <cstdio>

namespace {

void reportToStderr(const char* text) {
    std::fprintf(stderr, "Error: %s\n", text);
}

// Only the main thread reports (the background painter's thread never does), so a plain
// pointer is enough.
ErrorReporter gReporter = reportToStderr;

} // namespace

void reportError(const char* text) {
    gReporter(text);
}

void setErrorReporter(ErrorReporter reporter) {
    gReporter = reporter != nullptr ? reporter : reportToStderr;
}

ErrorReporter currentErrorReporter() {
    return gReporter;
}
