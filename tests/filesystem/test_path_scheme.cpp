#include <gtest/gtest.h>

#include <cstring>

#include "filesystem/path_scheme.h"

TEST(PathScheme, KnowsEveryNamedSchemeByItsId)
{
    EXPECT_EQ(HVI_GetPathScheme("cache://a"), 0);
    EXPECT_EQ(HVI_GetPathScheme("docs://a"), 1);
    EXPECT_EQ(HVI_GetPathScheme("http://a"), 2);
    EXPECT_EQ(HVI_GetPathScheme("logs://a"), 3);
    EXPECT_EQ(HVI_GetPathScheme("project://a"), 4);
    EXPECT_EQ(HVI_GetPathScheme("res://a"), 5);
    EXPECT_EQ(HVI_GetPathScheme("save://a"), 6);
    EXPECT_EQ(HVI_GetPathScheme("user://a"), 7);
    EXPECT_EQ(HVI_GetPathScheme("ugc://a"), 8);
}

TEST(PathScheme, PathWithoutSchemeIsTen)
{
    EXPECT_EQ(HVI_GetPathScheme("images/a.png"), 10);
    EXPECT_EQ(HVI_GetPathScheme(""), 10);
    EXPECT_EQ(HVI_GetPathScheme(nullptr), 10);
    EXPECT_EQ(HVI_GetPathScheme("res:/a"), 10);
    EXPECT_EQ(HVI_GetPathScheme("://a"), 10);
    EXPECT_EQ(HVI_GetPathScheme("folder/res://a"), 10);
}

TEST(PathScheme, UnknownNameIsEleven)
{
    EXPECT_EQ(HVI_GetPathScheme("ftp://host/a"), 11);
    EXPECT_EQ(HVI_GetPathScheme("resources://a"), 11);
    EXPECT_EQ(HVI_GetPathScheme("re://a"), 11);
}

TEST(PathScheme, RestIsTheTextAfterTheScheme)
{
    const char* rest = nullptr;
    HVI_GetPathScheme("save://slot/1.sav", &rest);
    EXPECT_STREQ(rest, "slot/1.sav");
    const char* plain = "a/b.txt";
    HVI_GetPathScheme(plain, &rest);
    EXPECT_EQ(rest, plain);
}
