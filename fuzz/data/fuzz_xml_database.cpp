// Reads any bytes as an XML database. Whatever reads must write as XML that
// reads again; whatever fails must leave the database empty.
#include <cstddef>
#include <cstdint>

#include "data/xml_database_reader.h"
#include "data/xml_database_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DMDatabase database("fuzz");
    XMLDatabaseFault fault;
    if (!HVI_ParseXMLDatabase(data, int64_t(size), database, fault)) {
        if (database.GetArrayCount() != 0)
            __builtin_trap();
        return 0;
    }
    ByteBuffer written;
    const char* reason = "";
    if (!HVI_WriteXMLDatabase(database, written, reason))
        return 0;
    DMDatabase reread("reread");
    if (!HVI_ParseXMLDatabase(written.GetData(), written.GetSize(), reread, fault))
        __builtin_trap();
    if (reread.GetArrayCount() != database.GetArrayCount())
        __builtin_trap();
    return 0;
}
