// Error reporting: the installed sink gets each text once; null brings back the stderr sink.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "render/error_report.h"

namespace {

std::vector<std::string> gCaptured;

void captureText(const char* text) {
    gCaptured.emplace_back(text);
}

TEST(ErrorReport, PassesEachTextOnceToInstalledReporter) {
    gCaptured.clear();
    setErrorReporter(captureText);
    reportError("File not bitmap");
    reportError("Could not open bitmap file");
    setErrorReporter(nullptr);
    EXPECT_EQ(gCaptured,
              (std::vector<std::string>{"File not bitmap", "Could not open bitmap file"}));
}

TEST(ErrorReport, NullRestoresDefaultThatWritesErrorLineToStderr) {
    gCaptured.clear();
    setErrorReporter(captureText);
    setErrorReporter(nullptr);
    testing::internal::CaptureStderr();
    reportError("Could not read bitmap data");
    const std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(written, "Error: Could not read bitmap data\n");
    EXPECT_TRUE(gCaptured.empty());
}

} // namespace
