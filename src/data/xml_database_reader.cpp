#include "data/xml_database_reader.h"

#include <pugixml.hpp>

#include "data/data_messages.h"
#include "foundation/string.h"

namespace {

// Standard XML normalisation of line ends and attribute white space; white
// space that is the whole content of an element is kept as its text.
constexpr unsigned int kParseOptions = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_eol |
                                       pugi::parse_wconv_attribute | pugi::parse_ws_pcdata_single;

template <class Record>
void ReadAttributes(const pugi::xml_node& element, Record& record)
{
    for (const pugi::xml_attribute& attribute : element.attributes())
        record.SetValue(attribute.name(), attribute.value());
}

void ReadNode(const pugi::xml_node& element, DMNode& node)
{
    ReadAttributes(element, node);
    // Mixed content: all text pieces form "DATA" and all CDATA sections "CDATA",
    // each in document order. Comments and deeper elements are not part of a node.
    String text, cdata;
    bool hasText = false, hasCData = false;
    for (const pugi::xml_node& child : element.children()) {
        if (child.type() == pugi::node_pcdata) {
            text.Append(child.value());
            hasText = true;
        } else if (child.type() == pugi::node_cdata) {
            cdata.Append(child.value());
            hasCData = true;
        }
    }
    if (hasText)
        node.SetValue(DMNode::kDataKey, text.GetText());
    if (hasCData)
        node.SetValue(DMNode::kCDataKey, cdata.GetText());
}

}  // namespace

bool HVI_ParseXMLDatabase(const void* bytes, int64_t size, DMDatabase& database, XMLDatabaseFault& fault)
{
    pugi::xml_document document;
    const pugi::xml_parse_result result =
        document.load_buffer(bytes, size_t(size > 0 ? size : 0), kParseOptions, pugi::encoding_auto);
    if (!result) {
        fault.reason = result.description();
        fault.offset = int64_t(result.offset);
        return false;
    }
    int rootCount = 0;
    for (const pugi::xml_node& child : document.children())
        rootCount += child.type() == pugi::node_element ? 1 : 0;
    if (rootCount != 1) {
        fault.reason = kReasonNotOneRootElement;
        fault.offset = 0;
        return false;
    }
    // The whole text parsed: building the records below cannot fail halfway.
    for (const pugi::xml_node& arrayElement : document.document_element().children()) {
        if (arrayElement.type() != pugi::node_element)
            continue;
        DMArray* array = database.AddArray(nullptr);
        ReadAttributes(arrayElement, *array);
        for (const pugi::xml_node& nodeElement : arrayElement.children()) {
            if (nodeElement.type() == pugi::node_element)
                ReadNode(nodeElement, *array->AddNode(nullptr));
        }
    }
    return true;
}
