#include "shadertool/parser/token_texts.h"

#include <cstring>

namespace ShaderTool {

const char* TokenTexts::Keep(const char* text, int length)
{
    const int size = length + 1;
    if (m_blocks.empty() || m_used + size > kBlockSize) {
        // A text longer than a block gets a block of its own.
        m_blocks.push_back(std::make_unique<char[]>(size > kBlockSize ? size : kBlockSize));
        m_used = 0;
    }
    char* kept = m_blocks.back().get() + m_used;
    std::memcpy(kept, text, static_cast<size_t>(length));
    kept[length] = 0;
    m_used += size;
    return kept;
}

void TokenTexts::Clear()
{
    if (m_blocks.size() > 1) m_blocks.resize(1);
    m_used = 0;
}

}  // namespace ShaderTool
