// The screensaver command line Windows sends, and the saver's mouse rule.
#include <gtest/gtest.h>

#include <vector>

#include "app/saver_pointer.h"
#include "app/win32/win32_scr_args.h"

namespace {

ScrCommand parseScr(const std::vector<const char*>& arguments) {
    std::vector<const char*> argv{"velmorin.scr"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return parseScrCommand(static_cast<int>(argv.size()), argv.data());
}

void expectCommand(const std::vector<const char*>& arguments, ScrAction action, uint64_t window) {
    const ScrCommand command = parseScr(arguments);
    const char* first = arguments.empty() ? "(none)" : arguments[0];
    EXPECT_EQ(command.action, action) << first;
    EXPECT_EQ(command.window, window) << first;
}

TEST(ScrCommand, EveryFormOfRunningTheSaver) {
    for (const char* form : {"/s", "/S", "-s", "-S"}) {
        expectCommand({form}, ScrAction::Saver, 0);
    }
}

TEST(ScrCommand, PreviewTakesTheParentAfterAColonOrAsTheNextArgument) {
    expectCommand({"/p", "1234"}, ScrAction::Preview, 1234);
    expectCommand({"/p:1234"}, ScrAction::Preview, 1234);
    expectCommand({"/P", "4294967295"}, ScrAction::Preview, 4294967295u);
    expectCommand({"-p:66"}, ScrAction::Preview, 66);
}

TEST(ScrCommand, SettingsWithOrWithoutAnOwnerAndWithNoArgumentAtAll) {
    expectCommand({}, ScrAction::Settings, 0);
    expectCommand({"/c"}, ScrAction::Settings, 0);
    expectCommand({"/C"}, ScrAction::Settings, 0);
    expectCommand({"/c:5678"}, ScrAction::Settings, 5678);
    expectCommand({"/c", "5678"}, ScrAction::Settings, 5678);
}

TEST(ScrCommand, PasswordChangeDoesNothing) {
    expectCommand({"/a"}, ScrAction::Nothing, 0);
    expectCommand({"/a", "1234"}, ScrAction::Nothing, 1234);
}

TEST(ScrCommand, BadIdsEndSilently) {
    for (const auto& arguments : std::vector<std::vector<const char*>>{
             {"/p"},                // no parent
             {"/p:"},               // empty
             {"/p", "0"},           // no window has id 0
             {"/p", "0x1234"},      // decimal only
             {"/p", "-5"},          // no sign
             {"/p", "12ab"},        // trailing junk
             {"/p", "4294967296"},  // beyond 32 bits
             {"/c:x"},              // bad owner
             {"/s:12"},             // the saver takes no window
             {"/s", "12"},          //
             {"/p", "12", "extra"}, // nothing may follow
             {"/x"},                // unknown letter
             {"/"},                 //
             {"s"},                 // no leading slash or dash
             {"/sx"},               // letter and more
             {"--help"},            // not the saver's command line
         }) {
        EXPECT_EQ(parseScr(arguments).action, ScrAction::Nothing) << arguments[0];
    }
}

TEST(ScrCommand, ProgramNameEndingInScrInAnyCase) {
    EXPECT_TRUE(isScrProgramPath("C:\\Windows\\System32\\velmorin.scr"));
    EXPECT_TRUE(isScrProgramPath("VELMORIN.SCR"));
    EXPECT_TRUE(isScrProgramPath(".Scr"));
    EXPECT_FALSE(isScrProgramPath("C:\\Games\\velmorin.exe"));
    EXPECT_FALSE(isScrProgramPath("C:\\scr\\velmorin"));
    EXPECT_FALSE(isScrProgramPath("velmorin.scr.exe"));
    EXPECT_FALSE(isScrProgramPath("scr"));
    EXPECT_FALSE(isScrProgramPath(""));
}

TEST(SaverPointer, FirstReportOnlyAnchors) {
    SaverPointer pointer;
    EXPECT_FALSE(saverPointerMoveEnds(&pointer, 500, 400));
    EXPECT_TRUE(saverPointerMoveEnds(&pointer, 500 + kSaverPointerSlack + 1, 400));
}

TEST(SaverPointer, JitterWithinTheSlackOfTheAnchorIsIgnored) {
    SaverPointer pointer;
    saverPointerMoveEnds(&pointer, 100, 100);
    EXPECT_FALSE(saverPointerMoveEnds(&pointer, 104, 96));
    EXPECT_FALSE(saverPointerMoveEnds(&pointer, 96, 104));
    EXPECT_FALSE(saverPointerMoveEnds(&pointer, 100, 100));
    // Measured from the anchor, not the last report: a slow drift ends it too.
    EXPECT_TRUE(saverPointerMoveEnds(&pointer, 100, 95));
}

TEST(SaverPointer, EitherAxisAloneEnds) {
    SaverPointer pointer;
    saverPointerMoveEnds(&pointer, 10, 10);
    EXPECT_TRUE(saverPointerMoveEnds(&pointer, 10, 15));
    SaverPointer other;
    saverPointerMoveEnds(&other, 10, 10);
    EXPECT_TRUE(saverPointerMoveEnds(&other, 4, 10));
}

} // namespace
