#include "data/database_loader.h"

#include "data/data_messages.h"
#include "data/scrambled_container.h"
#include "data/xml_database_reader.h"
#include "foundation/byte_buffer.h"
#include "foundation/engine_log.h"

bool HVI_LoadDatabaseFromBytes(const char* operation, const char* source, const uint8_t* bytes, int64_t size,
                               DMDatabase& database)
{
    ByteBuffer plain;
    XMLDatabaseFault fault;
    bool parsed;
    if (HVI_IsScrambledContainer(bytes, size)) {
        const char* reason = "";
        if (!HVI_UnscrambleContainer(bytes, size, plain, reason)) {
            HVI_Log(HV_LOG_ERROR, kMessageDamagedContainer, operation, source, reason);
            return false;
        }
        // The unscrambled text is ours: with a terminating zero behind it, it
        // is parsed where it lies instead of being copied again.
        const int textSize = plain.GetSize();
        uint8_t* terminator = plain.Extend(1);
        if (terminator != nullptr) {
            *terminator = 0;
            parsed = HVI_ParseXMLDatabaseInPlace(plain.GetWritableData(), textSize, database, fault);
        } else {
            parsed = HVI_ParseXMLDatabase(plain.GetData(), textSize, database, fault);
        }
    } else {
        parsed = HVI_ParseXMLDatabase(bytes, size, database, fault);
    }
    if (!parsed) {
        HVI_Log(HV_LOG_ERROR, kMessageInvalidXML, operation, source, fault.reason,
                static_cast<long long>(fault.offset));
        return false;
    }
    return true;
}
