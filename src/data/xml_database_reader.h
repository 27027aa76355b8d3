#pragma once

#include <cstdint>

#include "data/dm_database.h"

// Why a text is not an XML database: a fixed description and the byte
// offset in the text where the fault was found.
struct XMLDatabaseFault {
    const char* reason = "";
    int64_t offset = 0;
};

// Builds the database from XML text (see xml_database_format.md). The
// database must be empty; on a fault it stays empty and the fault is filled.
bool HVI_ParseXMLDatabase(const void* bytes, int64_t size, DMDatabase& database, XMLDatabaseFault& fault);
// The same from text the reader may change as it reads, followed by a zero
// byte (at bytes[size]): it is parsed where it stands instead of being copied
// first.
bool HVI_ParseXMLDatabaseInPlace(void* bytes, int64_t size, DMDatabase& database, XMLDatabaseFault& fault);
