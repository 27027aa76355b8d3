#include <cstring>

#include "filesystem/whole_file.h"
#include "shadertool/shaderxml/shader_xml_reader.h"

namespace ShaderTool {
namespace {

// Ranges of the text's comments, from "<!--" to the end of "-->".
class CommentRanges {
public:
    explicit CommentRanges(const String& text)
    {
        const char* begin = text.GetText();
        const char* at = begin;
        while ((at = std::strstr(at, "<!--")) != nullptr) {
            const char* end = std::strstr(at + 4, "-->");
            const int from = static_cast<int>(at - begin);
            const int to = end != nullptr ? static_cast<int>(end - begin) + 3 : text.GetLength();
            m_starts.Add(from);
            m_ends.Add(to);
            if (end == nullptr) break;
            at = end + 3;
        }
    }
    bool Contains(int position) const
    {
        for (int i = 0; i < m_starts.GetCount(); ++i) {
            if (position >= m_starts[i] && position < m_ends[i]) return true;
        }
        return false;
    }

private:
    Array<int> m_starts;
    Array<int> m_ends;
};

bool IsXmlBlank(char character)
{
    return character == ' ' || character == '\t' || character == '\r' || character == '\n';
}

// Whether the tag that starts at tag has the attribute id="sources" (double quotes).
bool HasSourcesId(const char* tag)
{
    const char* end = std::strchr(tag, '>');
    for (const char* at = tag; *at != '\0' && (end == nullptr || at < end); ++at) {
        if (!IsXmlBlank(at[0]) || at[1] != 'i' || at[2] != 'd') continue;
        const char* value = at + 3;
        while (IsXmlBlank(*value)) ++value;
        if (*value != '=') continue;
        ++value;
        while (IsXmlBlank(*value)) ++value;
        if (std::strncmp(value, "\"sources\"", 9) == 0) return true;
    }
    return false;
}

// The first occurrence of pattern at or after from that lies outside comments.
const char* FindOutsideComments(const char* text, const char* from, const char* pattern, const CommentRanges& comments)
{
    for (const char* at = std::strstr(from, pattern); at != nullptr; at = std::strstr(at + 1, pattern)) {
        if (!comments.Contains(static_cast<int>(at - text))) return at;
    }
    return nullptr;
}

// Line numbers of positions met in increasing order, counted from 1.
class LineCounter {
public:
    explicit LineCounter(const char* text) : m_at(text) {}
    int LineOf(const char* position)
    {
        for (; m_at < position; ++m_at) m_line += *m_at == '\n' ? 1 : 0;
        return m_line;
    }

private:
    const char* m_at;
    int m_line = 1;
};

}  // namespace

bool ShaderXMLReader::ReadTextFile(const char* path, String& text)
{
    ByteBuffer bytes;
    if (!HVI_ReadWholeFile(path, bytes)) return false;
    text.Assign(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetSize());
    return true;
}

void ShaderXMLReader::FindSourceLines()
{
    m_sourceLines.Clear();
    String document = m_text;
    if (document.IsEmpty() && !ReadTextFile(m_path.GetText(), document)) return;
    const char* text = document.GetText();
    const CommentRanges comments(document);

    const char* array = nullptr;
    for (const char* at = FindOutsideComments(text, text, "<array", comments); at != nullptr;
         at = FindOutsideComments(text, at + 1, "<array", comments)) {
        if (HasSourcesId(at + 6)) {
            array = at;
            break;
        }
    }
    if (array == nullptr) return;
    const char* arrayEnd = FindOutsideComments(text, array, "</array", comments);
    LineCounter lines(text);

    for (const char* node = FindOutsideComments(text, array, "<node", comments);
         node != nullptr && (arrayEnd == nullptr || node < arrayEnd);
         node = FindOutsideComments(text, node + 1, "<node", comments)) {
        // The node's own part of the text ends at "/>" (or "</node" when no
        // "/>" follows), and never reaches into the next node.
        const char* end = std::strstr(node, "/>");
        if (end == nullptr) end = std::strstr(node, "</node");
        const char* next = FindOutsideComments(text, node + 1, "<node", comments);
        if (next != nullptr && (end == nullptr || next < end)) end = next;
        const char* cdata = std::strstr(node, "<![CDATA[");
        const bool hasCData = cdata != nullptr && (end == nullptr || cdata < end);
        m_sourceLines.Add(hasCData ? lines.LineOf(cdata) : 1);
    }
}

}  // namespace ShaderTool
