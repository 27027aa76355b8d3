#include <gtest/gtest.h>

#include "file_system_fixture.h"
#include "filesystem/file_operations.h"
#include "filesystem/path_resolution.h"
#include "filesystem/scheme_roots.h"

namespace {

// Roots for "res://", "user://" and "project://", files in them and beside
// them, and "user://" then "res://gfx" as the search paths.
class PathResolution : public FileSystemTest {
protected:
    void SetUp() override
    {
        for (const char* name : {"res/a.txt", "res/a/b.txt", "res/gfx/only-res.png", "res/gfx/both.png", "user/a.txt",
                                 "user/both.png", "project/src/a.txt", "secret.txt"})
            m_temporary.Write(name, name);
        std::filesystem::create_directories(m_folder / "res/folder");
        UseRoot(HV_PATH_SCHEME_RES, "res");
        UseRoot(HV_PATH_SCHEME_USER, "user");
        UseRoot(HV_PATH_SCHEME_PROJECT, "project");
    }
    // The native path of a file or folder of the test's folder.
    std::string Native(const char* name) const { return *name ? (m_folder / name).string() : ""; }
};

struct ReadCase {
    const char* path;
    const char* found;  // under the test's folder; "" when the path is not found
    const char* line;   // logged on the way; "" for none
};

constexpr ReadCase kReadCases[] = {
    {"user://a.txt", "user/a.txt", ""},  // a scheme names its own root
    {"res://a.txt", "res/a.txt", ""},
    {"res://a/../a/b.txt", "res/a/../a/b.txt", ""},  // climbing within the root is fine
    {"res://folder", "", ""},                        // a folder is not a file
    {"both.png", "user/both.png", ""},               // the search paths in order, the first hit wins
    {"only-res.png", "res/gfx/only-res.png", ""},
    {"missing.png", "", ""},
    {"save://a.txt", "", "File System FindPath: the scheme of 'save://a.txt' has no folder."},
    {"ftp://a.txt", "", "File System FindPath: path 'ftp://a.txt' has no known scheme."},
    {"project://src/a.txt", "",
     "File System FindPath: 'project://' is only available in developer mode ('project://src/a.txt')."},
    {"res://../secret.txt", "", "File System FindPath: path 'res://../secret.txt' leaves the folder of its scheme."},
    {"res://a/../../secret.txt", "",
     "File System FindPath: path 'res://a/../../secret.txt' leaves the folder of its scheme."},
    {"res://a\\..\\..\\secret.txt", "",
     "File System FindPath: path 'res://a\\..\\..\\secret.txt' leaves the folder of its scheme."},
};

}  // namespace

TEST_F(PathResolution, PathsForReadingResolveToTheirFileOrAreRefusedWithALine)
{
    ASSERT_TRUE(HVI_AddSearchPath("user://"));
    ASSERT_TRUE(HVI_AddSearchPath("res://gfx"));
    for (const ReadCase& row : kReadCases) {
        SCOPED_TRACE(row.path);
        LogCapture log;
        EXPECT_EQ(HV_FileSystem_FindPath(row.path), *row.found != '\0');
        EXPECT_EQ(log.Text(), *row.line ? std::string(row.line) + "\n" : "");
        ResolvedPath resolved;
        if (*row.found && HVI_ResolvePathForReading("test", row.path, resolved)) {
            EXPECT_EQ(resolved.systemPath.GetText(), Native(row.found));
        }
    }
}

TEST_F(PathResolution, PathWithoutSchemeNeedsASearchPath)
{
    ResolvedPath resolved;
    EXPECT_FALSE(HV_FileSystem_FindPath("a.txt"));
    EXPECT_FALSE(HVI_ResolvePathForWriting("test", "1.sav", resolved));
    EXPECT_TRUE(m_log.Contains("test: there is no search path to write '1.sav' to."));
    EXPECT_FALSE(HVI_AddSearchPath("gfx/"));
    EXPECT_FALSE(HVI_AddSearchPath("http://example.com/"));
    EXPECT_FALSE(HVI_AddSearchPath("ftp://x/"));
    EXPECT_EQ(HVI_GetSearchPaths().GetCount(), 0);
    // Writing goes to the first search path.
    UseRoot(HV_PATH_SCHEME_SAVE, "save");
    ASSERT_TRUE(HVI_AddSearchPath("save://slots/"));
    ASSERT_TRUE(HVI_AddSearchPath("res://"));
    ASSERT_TRUE(HVI_ResolvePathForWriting("test", "1.sav", resolved));
    EXPECT_EQ(resolved.systemPath.GetText(), Native("save/slots/1.sav"));
}

TEST_F(PathResolution, OpeningRefusesWhatResolvingRefuses)
{
    EXPECT_EQ(HV_FileSystem_OpenFile("resource://a.txt", "w"), nullptr);
    EXPECT_TRUE(m_log.Contains("File System OpenFile: path 'resource://a.txt' has no known scheme."));
    EXPECT_EQ(HV_FileSystem_OpenFile("project://src/a.txt", "r"), nullptr);
    EXPECT_EQ(HV_FileSystem_OpenFile("res://./../secret.txt", "r"), nullptr);
    EXPECT_EQ(HV_FileSystem_OpenFile("res://../res2/x.txt", "w"), nullptr);
    EXPECT_FALSE(std::filesystem::exists(m_folder / "res2"));
    HV_FileInfo info;
    EXPECT_EQ(HV_FileSystem_OpenFile("res://folder", "r"), nullptr);
    EXPECT_FALSE(HV_FileSystem_GetFileInfo("res://folder", &info));
}

TEST_F(PathResolution, StaticPathsBecomeTheNativePathBelowTheRootFileOrNot)
{
    const struct {
        const char* path;
        const char* native;  // under the test's folder; "" for none
    } rows[] = {
        {"res://", "res/"},
        {"res://module-steam.dll", "res/module-steam.dll"},
        {"res://new/b.txt", "res/new/b.txt"},  // the file need not exist
        {"project://src/a.txt", ""},           // outside developer mode
        {"a.txt", ""},
        {"ftp://a.txt", ""},
        {"http://host/a.txt", ""},
        {"docs://a.txt", ""},
        {nullptr, ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(HV_ConvertStaticPathToNativeOSPath(row.path).GetText(), Native(row.native))
            << (row.path ? row.path : "(null)");
    }
    HVI_SetFileSystemDeveloperMode(true);
    EXPECT_TRUE(HV_FileSystem_FindPath("project://src/a.txt"));
    EXPECT_EQ(HV_ConvertStaticPathToNativeOSPath("project://src/a.txt").GetText(), Native("project/src/a.txt"));
}

TEST_F(PathResolution, RootGetsItsTrailingSeparatorOnce)
{
    for (const char* root : {"/tmp/logs", "/tmp/logs/"}) {
        HVI_SetSchemeRoot(HV_PATH_SCHEME_LOGS, root);
        EXPECT_STREQ(HVI_GetSchemeRoot(HV_PATH_SCHEME_LOGS).GetText(), "/tmp/logs/");
    }
    HVI_SetSchemeRoot(HV_PATH_SCHEME_LOGS, nullptr);
    EXPECT_STREQ(HVI_GetSchemeRoot(HV_PATH_SCHEME_LOGS).GetText(), "");
}
