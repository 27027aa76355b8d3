// Nations that GetUserGeoID and GetGeoInfoA know, one row per nation: the
// platform's geographical location id, the ISO 3166 two- and three-letter
// codes and the English name.
#pragma once

namespace halvo::kernel {

struct GeoLocation {
    long id;
    const char* iso2;
    const char* iso3;
    const char* name;
};

inline constexpr GeoLocation kGeoLocations[] = {
    {11, "AR", "ARG", "Argentina"},       {12, "AU", "AUS", "Australia"},
    {14, "AT", "AUT", "Austria"},         {21, "BE", "BEL", "Belgium"},
    {32, "BR", "BRA", "Brazil"},          {35, "BG", "BGR", "Bulgaria"},
    {39, "CA", "CAN", "Canada"},          {45, "CN", "CHN", "China"},
    {46, "CL", "CHL", "Chile"},           {51, "CO", "COL", "Colombia"},
    {61, "DK", "DNK", "Denmark"},         {67, "EG", "EGY", "Egypt"},
    {68, "IE", "IRL", "Ireland"},         {70, "EE", "EST", "Estonia"},
    {75, "CZ", "CZE", "Czechia"},         {77, "FI", "FIN", "Finland"},
    {84, "FR", "FRA", "France"},          {94, "DE", "DEU", "Germany"},
    {98, "GR", "GRC", "Greece"},          {104, "HK", "HKG", "Hong Kong SAR"},
    {108, "HR", "HRV", "Croatia"},        {109, "HU", "HUN", "Hungary"},
    {110, "IS", "ISL", "Iceland"},        {111, "ID", "IDN", "Indonesia"},
    {113, "IN", "IND", "India"},          {117, "IL", "ISR", "Israel"},
    {118, "IT", "ITA", "Italy"},          {122, "JP", "JPN", "Japan"},
    {134, "KR", "KOR", "Korea"},          {140, "LV", "LVA", "Latvia"},
    {141, "LT", "LTU", "Lithuania"},      {143, "SK", "SVK", "Slovakia"},
    {147, "LU", "LUX", "Luxembourg"},     {166, "MX", "MEX", "Mexico"},
    {167, "MY", "MYS", "Malaysia"},       {176, "NL", "NLD", "Netherlands"},
    {177, "NO", "NOR", "Norway"},         {183, "NZ", "NZL", "New Zealand"},
    {190, "PK", "PAK", "Pakistan"},       {191, "PL", "POL", "Poland"},
    {193, "PT", "PRT", "Portugal"},       {200, "RO", "ROU", "Romania"},
    {201, "PH", "PHL", "Philippines"},    {203, "RU", "RUS", "Russia"},
    {205, "SA", "SAU", "Saudi Arabia"},   {209, "ZA", "ZAF", "South Africa"},
    {212, "SI", "SVN", "Slovenia"},       {215, "SG", "SGP", "Singapore"},
    {217, "ES", "ESP", "Spain"},          {221, "SE", "SWE", "Sweden"},
    {223, "CH", "CHE", "Switzerland"},    {224, "AE", "ARE", "United Arab Emirates"},
    {227, "TH", "THA", "Thailand"},       {235, "TR", "TUR", "Turkey"},
    {237, "TW", "TWN", "Taiwan"},         {241, "UA", "UKR", "Ukraine"},
    {242, "GB", "GBR", "United Kingdom"}, {244, "US", "USA", "United States"},
    {246, "UY", "URY", "Uruguay"},        {249, "VE", "VEN", "Venezuela"},
    {251, "VN", "VNM", "Vietnam"},
};

}  // namespace halvo::kernel
