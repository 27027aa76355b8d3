#pragma once

#include "data/dm_database.h"
#include "foundation/byte_buffer.h"

// Appends the database as XML text (see xml_database_format.md) to the
// buffer. False, with the reason, when a key is not a valid XML attribute
// name or the text would not fit in the buffer; the buffer is then partial
// and must not be used.
bool HVI_WriteXMLDatabase(const DMDatabase& database, ByteBuffer& out, const char*& reason);
