#include <windows.h>

#include <gtest/gtest.h>

#include "support/scoped_variable.h"

namespace {

// The locale variables are unset for each test and restored after it.
class GeoInfoTest : public ::testing::Test {
protected:
    ScopedVariable m_all{"LC_ALL", std::nullopt};
    ScopedVariable m_messages{"LC_MESSAGES", std::nullopt};
    ScopedVariable m_lang{"LANG", std::nullopt};
};

TEST_F(GeoInfoTest, NationComesFromTheLocaleTerritoryWhenThereIsOne)
{
    EXPECT_EQ(GetUserGeoID(GEOCLASS_NATION), GEOID_NOT_AVAILABLE);
    SetEnvironmentVariableA("LANG", "en_GB.UTF-8");
    EXPECT_EQ(GetUserGeoID(GEOCLASS_NATION), 242);
    SetEnvironmentVariableA("LC_ALL", "de_DE@euro");
    EXPECT_EQ(GetUserGeoID(GEOCLASS_NATION), 94);
    SetEnvironmentVariableA("LC_ALL", nullptr);
    SetEnvironmentVariableA("LANG", "C.UTF-8");
    EXPECT_EQ(GetUserGeoID(GEOCLASS_NATION), GEOID_NOT_AVAILABLE);
    SetEnvironmentVariableA("LANG", "en_US.UTF-8");
    EXPECT_EQ(GetUserGeoID(GEOCLASS_REGION), GEOID_NOT_AVAILABLE);
}

TEST_F(GeoInfoTest, InfoGivesCodesAndNamesAndChecksItsArguments)
{
    char text[64];
    EXPECT_EQ(GetGeoInfoA(244, GEO_ISO2, text, sizeof text, 0), 3);
    EXPECT_STREQ(text, "US");
    EXPECT_EQ(GetGeoInfoA(244, GEO_ISO3, text, sizeof text, 0), 4);
    EXPECT_STREQ(text, "USA");
    EXPECT_EQ(GetGeoInfoA(122, GEO_FRIENDLYNAME, text, sizeof text, 0), 6);
    EXPECT_STREQ(text, "Japan");
    EXPECT_EQ(GetGeoInfoA(84, GEO_NATION, text, sizeof text, 0), 3);
    EXPECT_STREQ(text, "84");
    EXPECT_EQ(GetGeoInfoA(244, GEO_ISO3, nullptr, 0, 0), 4);
    EXPECT_EQ(GetGeoInfoA(244, GEO_ISO3, text, 2, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(GetGeoInfoA(99999, GEO_ISO2, text, sizeof text, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace
