// The order in which the pictures are looked for, against a made-up file system.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/picture_search.h"

namespace {

std::set<std::string> existingFiles;

bool fakeExists(const std::string& path) {
    return existingFiles.count(path) != 0;
}

std::string search(const char* optionDir, const char* executableDir) {
    return findPictureFolder(optionDir, executableDir, fakeExists);
}

TEST(PictureSearch, FirstPlaceHoldingTheBackgroundWins) {
    existingFiles = {"bitmap/background.bmp", "/opt/v/bin/../share/velmorin/bitmap/background.bmp",
                     "/opt/v/bin/bitmap/background.bmp"};
    EXPECT_EQ(search("/mine", "/opt/v/bin"), "/mine"); // taken on trust: its errors will say
    EXPECT_EQ(search(nullptr, "/opt/v/bin"), "");      // the working folder's, names unchanged
    existingFiles.erase("bitmap/background.bmp");
    EXPECT_EQ(search(nullptr, "/opt/v/bin"), "/opt/v/bin/../share/velmorin/bitmap");
    existingFiles.erase("/opt/v/bin/../share/velmorin/bitmap/background.bmp");
    EXPECT_EQ(search(nullptr, "/opt/v/bin"), "/opt/v/bin/bitmap");
}

TEST(PictureSearch, NothingFoundFallsBackToTheWorkingFolder) {
    existingFiles = {"bitmap/rock1.bmp", "/opt/v/bin/bitmap/rock1.bmp"}; // no background anywhere
    EXPECT_EQ(search(nullptr, "/opt/v/bin"), "");
    EXPECT_EQ(search(nullptr, ""), ""); // program folder unknown
}

TEST(PictureSearch, SaverLooksBesideItselfThenInTheInstalledFolder) {
    existingFiles = {"bitmap/background.bmp", "C:\\Savers/bitmap/background.bmp",
                     "C:\\Programs\\V/bitmap/background.bmp"};
    EXPECT_EQ(findSaverPictureFolder("C:\\Savers", "C:\\Programs\\V", fakeExists),
              "C:\\Savers/bitmap");
    EXPECT_EQ(findSaverPictureFolder("C:\\Other", "C:\\Programs\\V", fakeExists),
              "C:\\Programs\\V/bitmap");
    // Nothing beside it and no installed copy: the usual order, the working folder first.
    EXPECT_EQ(findSaverPictureFolder("C:\\Other", "C:\\Gone", fakeExists), "");
    EXPECT_EQ(findSaverPictureFolder("C:\\Other", "", fakeExists), "");
    existingFiles = {};
    EXPECT_EQ(findSaverPictureFolder("", "", fakeExists), "");
}

} // namespace
