// The one channel for user-visible failures: a replaceable sink that receives one line of text.
#pragma once

// A sink receives the text without a trailing newline and must not keep the pointer.
using ErrorReporter = void (*)(const char* text);

// Hands the one-line text to the installed sink (by default: "Error: <text>" on stderr).
void reportError(const char* text);
// Installs a sink; null restores the default one.
void setErrorReporter(ErrorReporter reporter);
// The sink installed now, to put back after a quiet spell.
ErrorReporter currentErrorReporter();
