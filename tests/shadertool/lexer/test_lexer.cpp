#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "shadertool/lexer/lexer.h"
#include "shadertool/preprocessor/preprocessor_tokenizer.h"

using namespace ShaderTool;

namespace {

struct Scanned {
    uint32_t kind;
    std::string text;
    int line;
    int column;
};

// Scans the whole text (comments stripped) into a list ending with the end token.
class LexerTest : public ::testing::Test {
protected:
    std::vector<Scanned> Scan(const char* text, Tokenizer& tokenizer, bool strip = true, int firstLine = 1)
    {
        m_source.path = "shader.hvsl";
        m_source.text = text;
        m_source.firstLine = firstLine;
        tokenizer.SetLog(&m_log);
        tokenizer.Reset();
        tokenizer.SetSource(m_source, strip);
        std::vector<Scanned> tokens;
        for (int guard = 0; guard < 1000; ++guard) {
            Token token;
            token.Clear();
            tokenizer.GetNextToken(token);
            tokens.push_back({token.kind, token.text, token.line, token.column});
            if (token.kind == TOKEN_END) break;
        }
        return tokens;
    }
    std::vector<Scanned> Scan(const char* text) { return Scan(text, m_tokenizer); }

    ShaderSource m_source;
    Log m_log;
    Tokenizer m_tokenizer;
};

// The type names a source has declared: only "Light".
class LightTypeName : public TypeNameTable {
public:
    bool HoldsTypeName(const char* name) const override { return std::string(name) == "Light"; }
};

const LightTypeName kLightTypeName;

// One token a text must scan into: its kind and, where given, its text, line
// and column.
struct Expected {
    uint32_t kind;
    const char* text = nullptr;
    int line = 0;
    int column = 0;
};

// A text, every token it scans into up to the end token, and the step log;
// scanned by the shader tokenizer with comments stripped, from line 1, unless
// the row says otherwise.
struct ScanRow {
    const char* source;
    std::vector<Expected> tokens;
    const char* log = "";
    bool preprocessor = false;
    bool strip = true;
    int firstLine = 1;
    const TypeNameTable* types = nullptr;
};

// A name longer than a token may be, and the 128 characters it keeps.
const std::string kOverlongName = "  " + std::string(130, 'q');
const std::string kKeptName(128, 'q');

const ScanRow kScanRows[] = {
    // Keywords, types and the boolean constants.
    {"float4x4 uint3 void while true false struct", {{263}, {270}, {272}, {287}, {294}, {294}, {286}, {0}}},
    // Preprocessor words are plain identifiers in shader text.
    {"define defined include", {{296}, {296}, {296}, {0}}},
    {"0x 0x1Fu 0XaB", {{297, "0x"}, {299, "0x1Fu"}, {297, "0XaB"}, {0}}},
    {"\n  019", {{297, "019"}, {0}}, "shader.hvsl(2:3) error: unexpected digit in octal literal.\n"},
    // Octal digits followed by a point are a float.
    {"019.5 017u 12u 12", {{295, "019.5"}, {299}, {299, "12u"}, {297}, {0}}},
    {"a = 1e ;",
     {{296}, {328}, {295, "1e"}, {335}, {0}},
     "shader.hvsl(1:5) error: unexpected character in floating point literal.\n"},
    {".5f 1.5e-3F 2E+4 3. a.b", {{295, ".5f"}, {295, "1.5e-3F"}, {295, "2E+4"}, {295, "3."}, {296}, {331}, {296}, {0}}},
    {"x  Texture2D", {{296}, {347, nullptr, 1, 4}, {0}}, "shader.hvsl(1:4) error: 'Texture2D' is a reserved word.\n"},
    // An overlong name keeps its first 128 characters and is reported once.
    {kOverlongName.c_str(),
     {{296, kKeptName.c_str()}, {0}},
     "shader.hvsl(1:3) error: too many characters in token (maximum is 128).\n"},
    // A file marker switches the name and the line of what follows.
    {"a\n@f \"inc/other.hvsl\" 10\nTexture3D\n@f \"main\" 4 rest\nTexture2D",
     {{296, nullptr, 1}, {347, nullptr, 10}, {347, nullptr, 5}, {0}},
     "inc/other.hvsl(10:1) error: 'Texture3D' is a reserved word.\nmain(5:1) error: 'Texture2D' is a reserved word.\n"},
    // Names in the type table are user types.
    {"Light light", {{276}, {296}, {0}}, "", false, true, 1, &kLightTypeName},
    // A tab counts four columns.
    {"\tx\n\t\ty z", {{296, nullptr, 1, 5}, {296, nullptr, 2, 9}, {296, nullptr, 2, 11}, {0}}},
    // Block comments keep the column of what follows.
    {"/**//**/x", {{296, nullptr, 1, 9}, {0}}},
    // "@" is skipped with the character after it.
    {"@x y", {{296, "y"}, {0}}},
    // High bytes and carriage returns give their own code.
    {"\xC8 $", {{200, ""}, {'$'}, {0}}, "", false, false},
    {"a\r\nb", {{296}, {13}, {296}, {0}}, "", false, false},
    // A string cut by the end of its line or of the text.
    {"\"a b\" \"cut\nx", {{298, "a b"}, {348}, {296, nullptr, 2}, {0}}},
    {"\"open", {{348}, {0}}},
    // Operators take their longest form and carry no text.
    {"<<= << <= < >>= >> >= > && &= & || |= | ++ += + -- -= - != ! == = %= % *= * /= / ^= ^ # ~ ? : ; , ( ) [ ] { }",
     {{316, ""}, {305, ""}, {306, ""}, {340, ""}, {320, ""}, {311, ""}, {304, ""}, {344, ""}, {309, ""},
      {314, ""}, {300, ""}, {310, ""}, {319, ""}, {312, ""}, {303, ""}, {313, ""}, {333, ""}, {302, ""},
      {321, ""}, {327, ""}, {308, ""}, {329, ""}, {307, ""}, {328, ""}, {317, ""}, {330, ""}, {318, ""},
      {324, ""}, {315, ""}, {336, ""}, {322, ""}, {301, ""}, {332, ""}, {337, ""}, {334, ""}, {325, ""},
      {335, ""}, {326, ""}, {341, ""}, {345, ""}, {339, ""}, {343, ""}, {338, ""}, {342, ""}, {0}}},
    // A token at the end of the text is followed by the end.
    {"abc", {{296}, {0}}},
    {"12", {{297}, {0}}},
    {"<=", {{306}, {0}}},
    {"1.5", {{295}, {0}}},
    // Lines count from the source's first line; huge numbers are bounded.
    {"a\nb", {{296, nullptr, 7}, {296, nullptr, 8}, {0}}, "", false, true, 7},
    {"@f \"a\" 99999999999999999999\n\n x", {{296, nullptr, (1 << 30) + 1}, {0}}},
    {"\n\n x", {{296, nullptr, (1 << 30) + 2}, {0}}, "", false, true, INT32_MAX},
    // A cut file marker ends at the end of the text.
    {"@f \"name", {{0}}},
    {"@f \"name\" 12", {{0}}},
    {"@f", {{0}}},
    {"@", {{0}}},
    {"@f \"n\" 3 junk", {{0}}},
    // The preprocessor's tokenizer: whole lines other than directives are
    // one token located at their start; it has no reserved words.
    {"#define A 1.5\n\n  x = A;\n\t# if defined(A)\n#endif",
     {{332, nullptr, 1, 1},
      {288, nullptr, 1, 2},
      {296, nullptr, 1, 9},
      {295, nullptr, 1, 11},
      {346, nullptr, 2, 1},
      {346, nullptr, 3, 1},
      {332, nullptr, 4, 5},
      {292, nullptr, 4, 7},
      {323, nullptr, 4, 10},
      {341, nullptr, 4, 17},
      {296, nullptr, 4, 18},
      {345, nullptr, 4, 19},
      {332, nullptr, 5, 1},
      {291, nullptr, 5, 2},
      {0, nullptr, 5, 7}},
     "",
     true},
    {"#if Texture2D float", {{332}, {292}, {296}, {296}, {0}}, "", true},
};

TEST_F(LexerTest, ScanRows)
{
    for (const ScanRow& row : kScanRows) {
        SCOPED_TRACE(row.source);
        m_log.Clear();
        m_tokenizer.SetTypeNames(row.types);
        PreprocessorTokenizer preprocessor;
        const auto tokens = Scan(row.source, row.preprocessor ? preprocessor : m_tokenizer, row.strip, row.firstLine);
        ASSERT_EQ(tokens.size(), row.tokens.size());
        for (size_t i = 0; i < tokens.size(); ++i) {
            const Expected& expected = row.tokens[i];
            EXPECT_EQ(tokens[i].kind, expected.kind) << "token " << i;
            // What a row leaves out is compared with itself.
            EXPECT_EQ(tokens[i].text, expected.text != nullptr ? expected.text : tokens[i].text) << "token " << i;
            EXPECT_EQ(tokens[i].line, expected.line != 0 ? expected.line : tokens[i].line) << "token " << i;
            EXPECT_EQ(tokens[i].column, expected.column != 0 ? expected.column : tokens[i].column) << "token " << i;
        }
        EXPECT_STREQ(m_log.text.GetText(), row.log);
    }
}

// Comments become spaces so that what follows keeps its line and column;
// file markers at the start of a line are no comments, whatever their path.
TEST_F(LexerTest, StripComments)
{
    const std::pair<std::string, std::string> rows[] = {
        {"a // c\r\nb", "a   \nb"},
        {"x/*\tq\r\nr*/y", "x  \t \n   y"},
        {"x/* open", "x       "},
        {"a\r\r\nb", "a\nb"},
        {"a\n@f \"res://x/*y*/z.hvsl\" 1\nb // c\n@f \"res://s.xml\" 3",
         "a\n@f \"res://x/*y*/z.hvsl\" 1\nb   \n@f \"res://s.xml\" 3"},
        // With its terminating zero; a marker inside a line is none.
        {std::string("a @f \"r://q\" 1", 15), "a @f \"r:  "},
    };
    for (const auto& [text, stripped] : rows) {
        EXPECT_STREQ(StripComments(text.data(), static_cast<int>(text.size())).GetText(), stripped.c_str()) << text;
    }
}

// The kind of a constant's first token, without writing errors for what a
// tokenizer with a log would report.
TEST_F(LexerTest, ClassifyConstant)
{
    const std::pair<std::string, uint32_t> rows[] = {
        {"1.5", 1u},  {"3", 3u}, {"0x10", 3u}, {"true", 0u}, {"false", 0u},     {"-1", 8u},
        {"name", 8u}, {"", 8u},  {"019", 3u},  {"1e", 1u},   {"Texture2D", 8u}, {std::string(200, '7'), 3u},
    };
    for (const auto& [text, kind] : rows) EXPECT_EQ(ClassifyConstant(text.c_str()), kind) << text;
}

TEST_F(LexerTest, InsertTextGoesBehindWhatWasRead)
{
    m_source.path = "s";
    m_source.text = "ab cd";
    m_tokenizer.SetLog(&m_log);
    m_tokenizer.Reset();
    m_tokenizer.SetSource(m_source, true);
    Token token;
    token.Clear();
    m_tokenizer.GetNextToken(token);
    EXPECT_STREQ(token.text, "ab");
    ASSERT_TRUE(m_tokenizer.InsertText(" XY", 3));
    EXPECT_STREQ(m_tokenizer.GetText(), "ab XY cd");
    EXPECT_EQ(m_tokenizer.GetLength(), 8);
    token.Clear();
    m_tokenizer.GetNextToken(token);
    EXPECT_STREQ(token.text, "XY");
    token.Clear();
    m_tokenizer.GetNextToken(token);
    EXPECT_STREQ(token.text, "cd");
}

TEST_F(LexerTest, PreprocessorTokenizerReadsFileMarkersOnOrdinaryLines)
{
    PreprocessorTokenizer tokenizer;
    const auto tokens = Scan("#if 1\n@f \"x.h\" 1\n#endif", tokenizer);
    EXPECT_EQ(tokens[3].kind, 346u);
    EXPECT_EQ(tokens[4].kind, 332u);
    EXPECT_EQ(tokens[4].line, 1);
    EXPECT_STREQ(tokenizer.GetSourceName().GetText(), "x.h");
}

TEST_F(LexerTest, PreprocessorTokenizerEndsOnCutMarkerAndCutString)
{
    PreprocessorTokenizer tokenizer;
    for (const char* text : {"@f \"x", "x\n@f", "#include \"abc", "\t@f \"a\" 5"}) {
        const auto tokens = Scan(text, tokenizer);
        EXPECT_EQ(tokens.back().kind, 0u) << text;
        EXPECT_LE(tokens.size(), 4u) << text;
    }
}

}  // namespace
