#include "data/xml_database_reader.h"

#include <pugixml.hpp>

#include <cstring>
#include <utility>

#include "data/data_messages.h"
#include "foundation/array.h"
#include "foundation/string.h"

namespace {

// Standard XML normalisation of line ends and attribute white space; white
// space that is the whole content of an element is kept as its text.
constexpr unsigned int kParseOptions = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_eol |
                                       pugi::parse_wconv_attribute | pugi::parse_ws_pcdata_single;

// Text pieces of one kind inside a node, joined in document order. A single
// piece, the common case, is used where it stands.
class JoinedText {
public:
    void Add(const char* piece)
    {
        if (m_count++ == 0) {
            m_first = piece;
            return;
        }
        if (m_count == 2) m_joined.Assign(m_first);
        m_joined.Append(piece);
    }
    bool IsPresent() const { return m_count > 0; }
    const char* GetText() const { return m_count > 1 ? m_joined.GetText() : m_first; }

private:
    int m_count = 0;
    const char* m_first = "";
    String m_joined;
};

// A pair about to be stored, with the lengths counted once.
struct CountedPair {
    const char* key;
    int64_t keyLength;
    const char* value;
    int64_t valueLength;
};

// Reads elements into records. Each record's pairs take one block of the size
// they need; the pairs are gathered first in a list kept from record to record.
class RecordReader {
public:
    // Reads the element's attributes and the given texts into the record's pairs.
    template <class Record>
    void ReadPairs(const pugi::xml_node& element, Record& record, const JoinedText* data = nullptr,
                   const JoinedText* cdata = nullptr)
    {
        m_pending.Clear();
        int64_t textBytes = 0;
        for (const pugi::xml_attribute& attribute : element.attributes()) {
            const char* name = attribute.name();
            if (std::strcmp(name, DMNode::kIdKey) == 0) {
                record.SetId(attribute.value());  // the record's id is kept apart from its pairs
                continue;
            }
            textBytes += Add(name, attribute.value());
        }
        const std::pair<const char*, const JoinedText*> texts[] = {{DMNode::kDataKey, data},
                                                                   {DMNode::kCDataKey, cdata}};
        for (const auto& [key, text] : texts) {
            if (text != nullptr && text->IsPresent()) textBytes += Add(key, text->GetText());
        }
        // Reserving checks the total size, so every length below fits an int.
        record.ReservePairs(m_pending.GetCount(), textBytes);
        for (const CountedPair& pair : m_pending)
            record.SetPair(pair.key, int(pair.keyLength), pair.value, int(pair.valueLength));
    }

    void ReadNode(const pugi::xml_node& element, DMNode& node)
    {
        // Mixed content: all text pieces form "DATA" and all CDATA sections "CDATA",
        // each in document order. Comments and deeper elements are not part of a node.
        JoinedText data, cdata;
        for (const pugi::xml_node& child : element.children()) {
            if (child.type() == pugi::node_pcdata)
                data.Add(child.value());
            else if (child.type() == pugi::node_cdata)
                cdata.Add(child.value());
        }
        ReadPairs(element, node, &data, &cdata);
    }

private:
    // Adds the pair to those pending and returns the bytes its texts take.
    int64_t Add(const char* key, const char* value)
    {
        const CountedPair pair = {key, int64_t(std::strlen(key)), value, int64_t(std::strlen(value))};
        m_pending.Add(pair);
        return pair.keyLength + pair.valueLength + 2;
    }

    Array<CountedPair> m_pending;
};

// Builds the database from the parsed document.
bool BuildDatabase(const pugi::xml_document& document, const pugi::xml_parse_result& result, DMDatabase& database,
                   XMLDatabaseFault& fault)
{
    if (!result) {
        fault.reason = result.description();
        fault.offset = int64_t(result.offset);
        return false;
    }
    int rootCount = 0;
    for (const pugi::xml_node& child : document.children()) rootCount += child.type() == pugi::node_element ? 1 : 0;
    if (rootCount != 1) {
        fault.reason = kReasonNotOneRootElement;
        fault.offset = 0;
        return false;
    }
    // The whole text parsed: building the records below cannot fail halfway.
    RecordReader reader;
    for (const pugi::xml_node& arrayElement : document.document_element().children()) {
        if (arrayElement.type() != pugi::node_element) continue;
        DMArray* array = database.AddArray(nullptr);
        reader.ReadPairs(arrayElement, *array);
        for (const pugi::xml_node& nodeElement : arrayElement.children()) {
            if (nodeElement.type() == pugi::node_element) reader.ReadNode(nodeElement, *array->AddNode(nullptr));
        }
    }
    return true;
}

}  // namespace

bool HVI_ParseXMLDatabase(const void* bytes, int64_t size, DMDatabase& database, XMLDatabaseFault& fault)
{
    pugi::xml_document document;
    const pugi::xml_parse_result result =
        document.load_buffer(bytes, size_t(size > 0 ? size : 0), kParseOptions, pugi::encoding_auto);
    return BuildDatabase(document, result, database, fault);
}

bool HVI_ParseXMLDatabaseInPlace(void* bytes, int64_t size, DMDatabase& database, XMLDatabaseFault& fault)
{
    pugi::xml_document document;
    // With its terminator the text ends as a copy made by pugixml would end,
    // so both ways read the same.
    const pugi::xml_parse_result result =
        document.load_buffer_inplace(bytes, size_t(size > 0 ? size : 0) + 1, kParseOptions, pugi::encoding_auto);
    return BuildDatabase(document, result, database, fault);
}
