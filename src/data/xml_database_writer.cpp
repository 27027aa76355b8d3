#include "data/xml_database_writer.h"

#include <cstdio>
#include <cstring>

#include "data/data_messages.h"

namespace {

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
constexpr char kRootElement[] = "database";
constexpr char kArrayElement[] = "array";
constexpr char kNodeElement[] = "node";

// Letters, '_' and ':' start a name; digits, '-' and '.' may follow. Bytes of
// multi-byte UTF-8 characters are accepted as name characters.
bool IsXMLName(const char* name)
{
    const auto* byte = reinterpret_cast<const unsigned char*>(name);
    if (*byte == 0) return false;
    for (int i = 0; byte[i] != 0; ++i) {
        const unsigned char c = byte[i];
        const bool starter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
        const bool follower = (c >= '0' && c <= '9') || c == '-' || c == '.';
        if (!starter && !(follower && i > 0)) return false;
    }
    return true;
}

class XMLTextWriter {
public:
    explicit XMLTextWriter(ByteBuffer& out) : m_out(out) {}

    void Raw(const char* text) { Bytes(text, int(std::strlen(text))); }

    // "<element" after the indentation; the attributes and the tag's end follow.
    void StartTag(const char* indentation, const char* element)
    {
        Raw(indentation);
        Raw("<");
        Raw(element);
    }

    // "</element>" and a line feed after the indentation.
    void EndTag(const char* indentation, const char* element)
    {
        Raw(indentation);
        Raw("</");
        Raw(element);
        Raw(">\n");
    }

    // Attribute values keep tabs and line feeds through the reader's attribute
    // normalisation only as character references.
    void AttributeValue(const char* text)
    {
        for (const char* c = text; *c != 0; ++c) {
            switch (*c) {
            case '&': Raw("&amp;"); break;
            case '<': Raw("&lt;"); break;
            case '>': Raw("&gt;"); break;
            case '"': Raw("&quot;"); break;
            case '\t': Raw("&#9;"); break;
            case '\n': Raw("&#10;"); break;
            default: Character(*c, false);
            }
        }
    }

    // Element text; white space alone would be dropped when the node also has
    // a CDATA section, so such text is written as character references.
    void Text(const char* text)
    {
        const bool onlyWhiteSpace = text[std::strspn(text, " \t\r\n")] == 0;
        for (const char* c = text; *c != 0; ++c) {
            switch (*c) {
            case '&': Raw("&amp;"); break;
            case '<': Raw("&lt;"); break;
            case '>': Raw("&gt;"); break;
            default: Character(*c, onlyWhiteSpace);
            }
        }
    }

    // "]]>" cannot stand inside a section: it is split across two sections.
    // A carriage return inside a section is read back as a line feed.
    void CData(const char* text)
    {
        Raw("<![CDATA[");
        for (const char* c = text; *c != 0; ++c) {
            if (std::strncmp(c, "]]>", 3) == 0) {
                Raw("]]]]><![CDATA[>");
                c += 2;
            } else {
                Bytes(c, 1);
            }
        }
        Raw("]]>");
    }

    bool Failed() const { return m_failed; }

private:
    // Control characters, and carriage returns, which line-end normalisation
    // would turn into line feeds, become references; so does white space when asked.
    void Character(char c, bool referenceWhiteSpace)
    {
        const auto byte = static_cast<unsigned char>(c);
        const bool whiteSpace = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        if ((byte < 0x20 && c != '\t' && c != '\n') || (whiteSpace && referenceWhiteSpace)) {
            char reference[8];
            std::snprintf(reference, sizeof reference, "&#%d;", byte);
            Raw(reference);
        } else {
            Bytes(&c, 1);
        }
    }

    void Bytes(const char* bytes, int count)
    {
        if (!m_failed && !m_out.WriteBytes(bytes, count)) m_failed = true;
    }

    ByteBuffer& m_out;
    bool m_failed = false;
};

bool WriteAttributes(XMLTextWriter& writer, const char* id, const DMPairList& pairs, bool skipText)
{
    if (id != nullptr) {
        writer.Raw(" id=\"");
        writer.AttributeValue(id);
        writer.Raw("\"");
    }
    for (int i = 0; i < pairs.GetCount(); ++i) {
        const DMPair& pair = pairs.GetPair(i);
        if (skipText && (pair.key == DMNode::kDataKey || pair.key == DMNode::kCDataKey)) continue;
        if (!IsXMLName(pair.key.GetText())) return false;
        writer.Raw(" ");
        writer.Raw(pair.key.GetText());
        writer.Raw("=\"");
        writer.AttributeValue(pair.value.GetText());
        writer.Raw("\"");
    }
    return true;
}

bool WriteNode(XMLTextWriter& writer, const DMNode& node)
{
    writer.StartTag("\t\t", kNodeElement);
    if (!WriteAttributes(writer, node.GetId(), node.GetPairs(), true)) return false;
    const char* text = node.GetPairs().GetValue(DMNode::kDataKey);
    if (text != nullptr && *text == 0) text = nullptr;  // XML cannot tell empty text from none
    const char* cdata = node.GetPairs().GetValue(DMNode::kCDataKey);
    if (text == nullptr && cdata == nullptr) {
        writer.Raw("/>\n");
        return true;
    }
    writer.Raw(">");
    if (text != nullptr) writer.Text(text);
    if (cdata != nullptr) writer.CData(cdata);
    writer.EndTag("", kNodeElement);
    return true;
}

bool WriteArray(XMLTextWriter& writer, const DMArray& array)
{
    writer.StartTag("\t", kArrayElement);
    if (!WriteAttributes(writer, array.GetId(), array.GetPairs(), false)) return false;
    writer.Raw(">\n");
    for (int i = 0; i < array.GetNodeCount(); ++i) {
        if (!WriteNode(writer, *array.GetNode(i))) return false;
    }
    writer.EndTag("\t", kArrayElement);
    return true;
}

}  // namespace

bool HVI_WriteXMLDatabase(const DMDatabase& database, ByteBuffer& out, const char*& reason)
{
    XMLTextWriter writer(out);
    writer.Raw(kDeclaration);
    writer.StartTag("", kRootElement);
    writer.Raw(">\n");
    for (int i = 0; i < database.GetArrayCount(); ++i) {
        if (!WriteArray(writer, *database.GetArray(i))) {
            reason = kReasonInvalidKey;
            return false;
        }
    }
    writer.EndTag("", kRootElement);
    if (writer.Failed()) {
        reason = kReasonTooLarge;
        return false;
    }
    return true;
}
