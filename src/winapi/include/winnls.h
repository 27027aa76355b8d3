// The user's geographical location.
// The nation is taken from the territory of the user's locale ("en_GB.UTF-8"
// gives GB) in LC_ALL, LC_MESSAGES or LANG, in that order.
#pragma once

#include <minwinbase.h>

typedef LONG GEOID;
typedef DWORD GEOTYPE;
typedef DWORD GEOCLASS;
typedef WORD LANGID;

#define GEOID_NOT_AVAILABLE (-1)
#define GEOCLASS_NATION 16
#define GEOCLASS_REGION 14
#define GEOCLASS_ALL 0

#define GEO_NATION 0x0001
#define GEO_LATITUDE 0x0002
#define GEO_LONGITUDE 0x0003
#define GEO_ISO2 0x0004
#define GEO_ISO3 0x0005
#define GEO_RFC1766 0x0006
#define GEO_LCID 0x0007
#define GEO_FRIENDLYNAME 0x0008
#define GEO_OFFICIALNAME 0x0009

#ifdef __cplusplus
extern "C" {
#endif

GEOID WINAPI GetUserGeoID(GEOCLASS GeoClass);
int WINAPI GetGeoInfoA(GEOID Location, GEOTYPE GeoType, LPSTR lpGeoData, int cchData, LANGID LangId);

#ifdef __cplusplus
}
#endif

#define GetGeoInfo GetGeoInfoA
