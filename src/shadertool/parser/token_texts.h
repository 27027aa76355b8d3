#pragma once

#include <memory>
#include <vector>

namespace ShaderTool {

// The texts of one parse's tokens, kept in large blocks until the next
// parse: a grammar symbol carries a pointer to its text, so the parser's
// value stack moves a few words per symbol instead of the text itself.
class TokenTexts {
public:
    // A copy of the text's length characters, followed by a 0, valid until
    // Clear.
    const char* Keep(const char* text, int length);

    // Forgets every text; the first block is kept for the next parse.
    void Clear();

private:
    static constexpr int kBlockSize = 16384;

    std::vector<std::unique_ptr<char[]>> m_blocks;
    int m_used = kBlockSize;  // bytes taken in the last block
};

}  // namespace ShaderTool
