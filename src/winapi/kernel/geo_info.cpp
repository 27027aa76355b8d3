// GetUserGeoID and GetGeoInfoA over the nations of geo_locations.h.
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include <windows.h>

#include "winapi/kernel/geo_locations.h"

using halvo::kernel::GeoLocation;
using halvo::kernel::kGeoLocations;

namespace {

// The territory of a locale name such as "en_GB.UTF-8" or "de_DE@euro".
std::string TerritoryOf(const char* locale)
{
    const char* underscore = std::strchr(locale, '_');
    if (underscore == nullptr) return {};
    std::string territory;
    for (const char* c = underscore + 1; *c != '\0' && *c != '.' && *c != '@'; ++c) {
        territory += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    }
    return territory;
}

const GeoLocation* FindById(GEOID id)
{
    for (const GeoLocation& row : kGeoLocations) {
        if (row.id == id) return &row;
    }
    return nullptr;
}

}  // namespace

GEOID WINAPI GetUserGeoID(GEOCLASS GeoClass)
{
    if (GeoClass != GEOCLASS_NATION) return GEOID_NOT_AVAILABLE;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* locale = std::getenv(variable);
        if (locale == nullptr || locale[0] == '\0') continue;
        const std::string territory = TerritoryOf(locale);
        for (const GeoLocation& row : kGeoLocations) {
            if (territory == row.iso2) return static_cast<GEOID>(row.id);
        }
        return GEOID_NOT_AVAILABLE;
    }
    return GEOID_NOT_AVAILABLE;
}

int WINAPI GetGeoInfoA(GEOID Location, GEOTYPE GeoType, LPSTR lpGeoData, int cchData, LANGID)
{
    const GeoLocation* location = FindById(Location);
    if (location == nullptr || cchData < 0 || (cchData > 0 && lpGeoData == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string text;
    switch (GeoType) {
    case GEO_NATION: text = std::to_string(location->id); break;
    case GEO_ISO2: text = location->iso2; break;
    case GEO_ISO3: text = location->iso3; break;
    case GEO_FRIENDLYNAME:
    case GEO_OFFICIALNAME: text = location->name; break;
    default: SetLastError(ERROR_INVALID_FLAGS); return 0;
    }
    // Sizes count characters including the terminating zero.
    const int needed = static_cast<int>(text.size() + 1);
    if (cchData == 0) return needed;
    if (cchData < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(lpGeoData, text.c_str(), text.size() + 1);
    return needed;
}
