#include <gtest/gtest.h>

#include <cstring>

#include "filesystem/path_scheme.h"

TEST(PathScheme, NamedSchemesAreTheirIdsPlainPathsTenAndUnknownNamesEleven)
{
    const struct {
        const char* path;
        int scheme;
    } cases[] = {
        {"cache://a", 0},        //
        {"docs://a", 1},         //
        {"http://a", 2},         //
        {"logs://a", 3},         //
        {"project://a", 4},      //
        {"res://a", 5},          //
        {"save://a", 6},         //
        {"user://a", 7},         //
        {"ugc://a", 8},          //
        {"images/a.png", 10},    // no scheme
        {"", 10},                //
        {nullptr, 10},           //
        {"res:/a", 10},          //
        {"://a", 10},            //
        {"folder/res://a", 10},  //
        {"ftp://host/a", 11},    // a name no scheme has
        {"resources://a", 11},   //
        {"re://a", 11},          //
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HVI_GetPathScheme(c.path), c.scheme) << (c.path ? c.path : "(null)");
    }
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
