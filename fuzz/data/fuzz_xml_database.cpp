// Reads any bytes as an XML database. Whatever fails must leave the database
// empty. Whatever reads must write as XML that reads back as the same
// database (every array and node id, every key and value, in order), and
// writing that again must give the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "data/xml_database_reader.h"
#include "data/xml_database_writer.h"

namespace {

bool SameText(const char* a, const char* b)
{
    return a == b || (a != nullptr && b != nullptr && std::strcmp(a, b) == 0);
}

bool SamePairs(const DMPairList& a, const DMPairList& b)
{
    if (a.GetCount() != b.GetCount())
        return false;
    for (int i = 0; i < a.GetCount(); ++i) {
        if (!(a.GetPair(i).key == b.GetPair(i).key) || !(a.GetPair(i).value == b.GetPair(i).value))
            return false;
    }
    return true;
}

bool SameDatabase(const DMDatabase& a, const DMDatabase& b)
{
    if (a.GetArrayCount() != b.GetArrayCount())
        return false;
    for (int i = 0; i < a.GetArrayCount(); ++i) {
        const DMArray& x = *a.GetArray(i);
        const DMArray& y = *b.GetArray(i);
        if (!SameText(x.GetId(), y.GetId()) || !SamePairs(x.GetAttributes(), y.GetAttributes()) ||
            x.GetNodeCount() != y.GetNodeCount())
            return false;
        for (int j = 0; j < x.GetNodeCount(); ++j) {
            if (!SameText(x.GetNode(j)->GetId(), y.GetNode(j)->GetId()) ||
                !SamePairs(x.GetNode(j)->GetPairs(), y.GetNode(j)->GetPairs()))
                return false;
        }
    }
    return true;
}

}  // namespace

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
    if (!SameDatabase(database, reread))
        __builtin_trap();
    ByteBuffer again;
    if (!HVI_WriteXMLDatabase(reread, again, reason) || again.GetSize() != written.GetSize() ||
        std::memcmp(again.GetData(), written.GetData(), size_t(written.GetSize())) != 0)
        __builtin_trap();
    return 0;
}
