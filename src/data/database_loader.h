#pragma once

#include <cstdint>

#include "data/dm_database.h"

// Fills the empty database from the bytes of a database file, which hold
// either the scrambled container or plain XML. On a fault it logs one ERROR
// line that begins with the operation's name, names the source, and leaves
// the database empty: never a part of the data.
bool HVI_LoadDatabaseFromBytes(const char* operation, const char* source, const uint8_t* bytes, int64_t size,
                               DMDatabase& database);
