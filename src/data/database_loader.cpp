#include "data/database_loader.h"

#include "data/data_messages.h"
#include "data/scrambled_container.h"
#include "data/xml_database_reader.h"
#include "foundation/byte_buffer.h"
#include "foundation/log.h"

bool HVI_LoadDatabaseFromBytes(const char* operation, const char* source, const uint8_t* bytes, int64_t size,
                               DMDatabase& database)
{
    ByteBuffer plain;
    if (HVI_IsScrambledContainer(bytes, size)) {
        const char* reason = "";
        if (!HVI_UnscrambleContainer(bytes, size, plain, reason)) {
            HVI_Log(HV_LOG_ERROR, kMessageDamagedContainer, operation, source, reason);
            return false;
        }
        bytes = plain.GetData();
        size = plain.GetSize();
    }
    XMLDatabaseFault fault;
    if (!HVI_ParseXMLDatabase(bytes, size, database, fault)) {
        HVI_Log(HV_LOG_ERROR, kMessageInvalidXML, operation, source, fault.reason, static_cast<long long>(fault.offset));
        return false;
    }
    return true;
}
