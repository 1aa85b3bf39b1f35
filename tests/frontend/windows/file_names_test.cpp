#include "project/file_names.h"

#include <gtest/gtest.h>

namespace velmor::project {
namespace {

// File names on Linux: only what follows the last "/" is the file name, so a dot in a directory name is
// never an extension.
TEST(FileNames, ExtensionsAndCaptionsLookOnlyAtTheFileNamePart) {
    struct Case {
        const char* path;
        const char* report;   // ChangeFileExt(path, ".vm4o")
        const char* display;  // DisplayFileName
    } const cases[] = {
        {"/home/ann/wall.vm4d", "/home/ann/wall.vm4o", "Wall.vm4d"},
        {"/home/ann/proj.old/wall", "/home/ann/proj.old/wall.vm4o", "Wall"},
        {"/home/ann/old.VMD", "/home/ann/old.vm4o", "Old"},
        {"/walls/a.b.vmd", "/walls/a.b.vm4o", "a"},  // one character stays as it is
        {"x", "x.vm4o", "x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChangeFileExt(c.path, ".vm4o"), c.report) << c.path;
        EXPECT_EQ(DisplayFileName(c.path), c.display) << c.path;
    }
}

TEST(FileNames, CommandLineNameGetsTheExtensionOnlyWithoutADotInItsName) {
    struct Case {
        const char* parameter;
        const char* name;
    } const cases[] = {
        {"wall", "/work/wall.vm4d"},
        {"/proj.old/wall", "/proj.old/wall.vm4d"},
        {"old.vmd", "/work/old.vmd"},
        {"sub/wall", "/work/sub/wall.vm4d"},
    };
    for (const Case& c : cases) EXPECT_EQ(CommandLineProjectName(c.parameter, "/work"), c.name) << c.parameter;
}

TEST(FileNames, RecentEntriesInTheCurrentDirectoryShowByName) {
    EXPECT_EQ(RecentFileCaption(1, "/work/wall.vm4d", "/work"), "1 wall.vm4d");
    EXPECT_EQ(RecentFileCaption(2, "/work/sub/wall.vm4d", "/work"), "2 sub/wall.vm4d");
    EXPECT_EQ(RecentFileCaption(3, "/other/wall.vm4d", "/work"), "3 /other/wall.vm4d");
}

}  // namespace
}  // namespace velmor::project
