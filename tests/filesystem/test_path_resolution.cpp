#include <gtest/gtest.h>

#include "file_system_fixture.h"
#include "filesystem/file_operations.h"
#include "filesystem/path_resolution.h"
#include "filesystem/scheme_roots.h"

using PathResolution = FileSystemTest;

TEST_F(PathResolution, SchemedPathGoesToItsOwnRoot)
{
    const auto res = UseRoot(HV_PATH_SCHEME_RES, "res");
    const auto user = UseRoot(HV_PATH_SCHEME_USER, "user");
    WriteText(res / "a.txt", "from res");
    WriteText(user / "a.txt", "from user");

    ResolvedPath resolved;
    ASSERT_TRUE(HVI_ResolvePathForReading("test", "user://a.txt", resolved));
    EXPECT_EQ(resolved.scheme, HV_PATH_SCHEME_USER);
    EXPECT_EQ(std::string(resolved.systemPath.GetText()), (user / "a.txt").string());
    EXPECT_TRUE(HV_FileSystem_FindPath("res://a.txt"));
    EXPECT_FALSE(HV_FileSystem_FindPath("save://a.txt"));
}

TEST_F(PathResolution, SearchPathsAreTriedInOrderAndFirstHitWins)
{
    const auto res = UseRoot(HV_PATH_SCHEME_RES, "res");
    const auto user = UseRoot(HV_PATH_SCHEME_USER, "user");
    WriteText(res / "gfx/only-res.png", "r");
    WriteText(res / "gfx/both.png", "r");
    WriteText(user / "both.png", "u");
    ASSERT_TRUE(HVI_AddSearchPath("user://"));
    ASSERT_TRUE(HVI_AddSearchPath("res://gfx"));

    ResolvedPath resolved;
    ASSERT_TRUE(HVI_ResolvePathForReading("test", "both.png", resolved));
    EXPECT_EQ(std::string(resolved.systemPath.GetText()), (user / "both.png").string());
    ASSERT_TRUE(HVI_ResolvePathForReading("test", "only-res.png", resolved));
    EXPECT_EQ(std::string(resolved.systemPath.GetText()), (res / "gfx/only-res.png").string());
    EXPECT_FALSE(HVI_ResolvePathForReading("test", "missing.png", resolved));
    EXPECT_FALSE(HV_FileSystem_FindPath("missing.png"));
}

TEST_F(PathResolution, PathWithoutSchemeIsNotFoundWithoutSearchPaths)
{
    const auto res = UseRoot(HV_PATH_SCHEME_RES, "res");
    WriteText(res / "a.txt", "x");
    EXPECT_FALSE(HV_FileSystem_FindPath("a.txt"));
}

TEST_F(PathResolution, WritingWithoutSchemeGoesToTheFirstSearchPath)
{
    const auto save = UseRoot(HV_PATH_SCHEME_SAVE, "save");
    UseRoot(HV_PATH_SCHEME_RES, "res");
    ASSERT_TRUE(HVI_AddSearchPath("save://slots/"));
    ASSERT_TRUE(HVI_AddSearchPath("res://"));
    ResolvedPath resolved;
    ASSERT_TRUE(HVI_ResolvePathForWriting("test", "1.sav", resolved));
    EXPECT_EQ(std::string(resolved.systemPath.GetText()), (save / "slots/1.sav").string());
}

TEST_F(PathResolution, SearchPathNeedsASchemeWithAFolder)
{
    EXPECT_FALSE(HVI_AddSearchPath("gfx/"));
    EXPECT_FALSE(HVI_AddSearchPath("http://example.com/"));
    EXPECT_FALSE(HVI_AddSearchPath("ftp://x/"));
    EXPECT_EQ(HVI_GetSearchPaths().GetCount(), 0);
}

TEST_F(PathResolution, ProjectSchemeOnlyInDeveloperMode)
{
    const auto project = UseRoot(HV_PATH_SCHEME_PROJECT, "project");
    WriteText(project / "src/a.txt", "x");

    EXPECT_FALSE(HV_FileSystem_FindPath("project://src/a.txt"));
    EXPECT_TRUE(m_log.Contains(
        "File System FindPath: 'project://' is only available in developer mode ('project://src/a.txt')."));
    EXPECT_EQ(HV_FileSystem_OpenFile("project://src/a.txt", "r"), nullptr);
    EXPECT_STREQ(HV_ConvertStaticPathToNativeOSPath("project://src/a.txt").GetText(), "");

    HVI_SetFileSystemDeveloperMode(true);
    EXPECT_TRUE(HV_FileSystem_FindPath("project://src/a.txt"));
    EXPECT_EQ(std::string(HV_ConvertStaticPathToNativeOSPath("project://src/a.txt").GetText()),
              (project / "src/a.txt").string());
}

TEST_F(PathResolution, UnknownSchemeIsReportedAndNotFound)
{
    UseRoot(HV_PATH_SCHEME_RES, "res");
    EXPECT_FALSE(HV_FileSystem_FindPath("ftp://a.txt"));
    EXPECT_TRUE(m_log.Contains("File System FindPath: path 'ftp://a.txt' has no known scheme."));
    EXPECT_EQ(HV_FileSystem_OpenFile("resource://a.txt", "w"), nullptr);
    EXPECT_TRUE(m_log.Contains("File System OpenFile: path 'resource://a.txt' has no known scheme."));
}

TEST_F(PathResolution, SchemeWithoutRootIsReported)
{
    EXPECT_FALSE(HV_FileSystem_FindPath("ugc://a.txt"));
    EXPECT_TRUE(m_log.Contains("File System FindPath: the scheme of 'ugc://a.txt' has no folder."));
}

TEST_F(PathResolution, PathThatClimbsAboveItsRootIsRefused)
{
    const auto res = UseRoot(HV_PATH_SCHEME_RES, "res");
    WriteText(m_folder / "secret.txt", "s");
    WriteText(res / "a/b.txt", "b");

    EXPECT_FALSE(HV_FileSystem_FindPath("res://../secret.txt"));
    EXPECT_TRUE(m_log.Contains("File System FindPath: path 'res://../secret.txt' leaves the folder of its scheme."));
    EXPECT_FALSE(HV_FileSystem_FindPath("res://a/../../secret.txt"));
    EXPECT_FALSE(HV_FileSystem_FindPath("res://a\\..\\..\\secret.txt"));
    EXPECT_EQ(HV_FileSystem_OpenFile("res://./../secret.txt", "r"), nullptr);
    EXPECT_EQ(HV_FileSystem_OpenFile("res://../res2/x.txt", "w"), nullptr);
    EXPECT_FALSE(std::filesystem::exists(m_folder / "res2"));
    // Climbing within the root is fine.
    EXPECT_TRUE(HV_FileSystem_FindPath("res://a/../a/b.txt"));
}

TEST_F(PathResolution, StaticPathBecomesTheNativePathBelowTheRoot)
{
    const auto res = UseRoot(HV_PATH_SCHEME_RES, "res");
    EXPECT_EQ(std::string(HV_ConvertStaticPathToNativeOSPath("res://").GetText()), res.string() + "/");
    EXPECT_EQ(std::string(HV_ConvertStaticPathToNativeOSPath("res://module-steam.dll").GetText()),
              (res / "module-steam.dll").string());
    // The file need not exist.
    EXPECT_EQ(std::string(HV_ConvertStaticPathToNativeOSPath("res://new/b.txt").GetText()),
              (res / "new/b.txt").string());
}

TEST_F(PathResolution, StaticPathWithoutUsableSchemeIsEmpty)
{
    UseRoot(HV_PATH_SCHEME_RES, "res");
    EXPECT_STREQ(HV_ConvertStaticPathToNativeOSPath("a.txt").GetText(), "");
    EXPECT_STREQ(HV_ConvertStaticPathToNativeOSPath("ftp://a.txt").GetText(), "");
    EXPECT_STREQ(HV_ConvertStaticPathToNativeOSPath("http://host/a.txt").GetText(), "");
    EXPECT_STREQ(HV_ConvertStaticPathToNativeOSPath("docs://a.txt").GetText(), "");
    EXPECT_STREQ(HV_ConvertStaticPathToNativeOSPath(nullptr).GetText(), "");
}

TEST_F(PathResolution, RootGetsItsTrailingSeparatorOnce)
{
    HVI_SetSchemeRoot(HV_PATH_SCHEME_LOGS, "/tmp/logs");
    EXPECT_STREQ(HVI_GetSchemeRoot(HV_PATH_SCHEME_LOGS).GetText(), "/tmp/logs/");
    HVI_SetSchemeRoot(HV_PATH_SCHEME_LOGS, "/tmp/logs/");
    EXPECT_STREQ(HVI_GetSchemeRoot(HV_PATH_SCHEME_LOGS).GetText(), "/tmp/logs/");
    HVI_SetSchemeRoot(HV_PATH_SCHEME_LOGS, nullptr);
    EXPECT_STREQ(HVI_GetSchemeRoot(HV_PATH_SCHEME_LOGS).GetText(), "");
}
