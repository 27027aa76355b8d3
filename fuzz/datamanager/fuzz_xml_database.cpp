// Reads any bytes as an XML database. Whatever fails must leave the database
// empty. Whatever reads must write as XML that reads back as the same
// database (every array and node id in order, every key with its value), and
// writing that again must give the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "data/dm_node.h"
#include "data/xml_database_reader.h"
#include "data/xml_database_writer.h"

namespace {

bool SameText(const char* a, const char* b)
{
    return a == b || (a != nullptr && b != nullptr && std::strcmp(a, b) == 0);
}

// The pairs of a record read back: every key with its value, in any order
// (the text of a node, "DATA" and "CDATA", is written after its attributes),
// except an empty "DATA", which the writer leaves out: XML cannot tell empty
// text from none.
bool SamePairs(const DMPairList& original, const DMPairList& reread)
{
    int kept = 0;
    for (int i = 0; i < original.GetCount(); ++i) {
        const DMPair& pair = original.GetPair(i);
        const char* value = reread.GetValue(pair.key.GetText());
        if (value == nullptr && pair.key == DMNode::kDataKey && *pair.value.GetText() == 0) continue;
        if (!SameText(value, pair.value.GetText())) return false;
        ++kept;
    }
    return kept == reread.GetCount();
}

bool SameDatabase(const DMDatabase& a, const DMDatabase& b)
{
    if (a.GetArrayCount() != b.GetArrayCount()) return false;
    for (int i = 0; i < a.GetArrayCount(); ++i) {
        const DMArray& x = *a.GetArray(i);
        const DMArray& y = *b.GetArray(i);
        if (!SameText(x.GetId(), y.GetId()) || !SamePairs(x.GetPairs(), y.GetPairs()) ||
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
        if (database.GetArrayCount() != 0) __builtin_trap();
        return 0;
    }
    ByteBuffer written;
    const char* reason = "";
    if (!HVI_WriteXMLDatabase(database, written, reason)) return 0;
    DMDatabase reread("reread");
    if (!HVI_ParseXMLDatabase(written.GetData(), written.GetSize(), reread, fault)) __builtin_trap();
    if (!SameDatabase(database, reread)) __builtin_trap();
    ByteBuffer again;
    if (!HVI_WriteXMLDatabase(reread, again, reason) || again.GetSize() != written.GetSize() ||
        std::memcmp(again.GetData(), written.GetData(), size_t(written.GetSize())) != 0)
        __builtin_trap();
    return 0;
}
