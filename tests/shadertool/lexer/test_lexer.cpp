#include <gtest/gtest.h>

#include <cstring>
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
    std::vector<Scanned> Scan(const char* text, Tokenizer& tokenizer, bool strip = true)
    {
        m_source.path = "shader.hvsl";
        m_source.text = text;
        m_source.firstLine = 1;
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

// A text, the kinds of all its tokens up to the end token, the texts of
// some of them by index, and the step log.
struct ScanRow {
    const char* source;
    std::vector<uint32_t> kinds;
    std::vector<std::pair<size_t, std::string>> texts;
    const char* log;
};

const ScanRow kScanRows[] = {
    // Keywords, types and the boolean constants.
    {"float4x4 uint3 void while true false struct", {263, 270, 272, 287, 294, 294, 286, 0}, {}, ""},
    // Preprocessor words are plain identifiers in shader text.
    {"define defined include", {296, 296, 296, 0}, {}, ""},
    {"0x 0x1Fu 0XaB", {297, 299, 297, 0}, {{0, "0x"}, {1, "0x1Fu"}, {2, "0XaB"}}, ""},
    {"\n  019", {297, 0}, {{0, "019"}}, "shader.hvsl(2:3) error: unexpected digit in octal literal.\n"},
    // Octal digits followed by a point are a float.
    {"019.5 017u 12u 12", {295, 299, 299, 297, 0}, {{0, "019.5"}, {2, "12u"}}, ""},
    {"a = 1e ;",
     {296, 328, 295, 335, 0},
     {{2, "1e"}},
     "shader.hvsl(1:5) error: unexpected character in floating point literal.\n"},
    {".5f 1.5e-3F 2E+4 3. a.b",
     {295, 295, 295, 295, 296, 331, 296, 0},
     {{0, ".5f"}, {1, "1.5e-3F"}, {2, "2E+4"}, {3, "3."}},
     ""},
};

TEST_F(LexerTest, ScanRows)
{
    for (const ScanRow& row : kScanRows) {
        SCOPED_TRACE(row.source);
        m_log.Clear();
        const auto tokens = Scan(row.source);
        ASSERT_EQ(tokens.size(), row.kinds.size());
        for (size_t i = 0; i < tokens.size(); ++i) EXPECT_EQ(tokens[i].kind, row.kinds[i]) << "token " << i;
        for (const auto& [index, text] : row.texts) EXPECT_EQ(tokens[index].text, text) << "token " << index;
        EXPECT_STREQ(m_log.text.GetText(), row.log);
    }
}

TEST_F(LexerTest, ReservedWordIsReportedAtItsLocation)
{
    const auto tokens = Scan("x  Texture2D");
    EXPECT_EQ(tokens[1].kind, 347u);
    EXPECT_EQ(tokens[1].column, 4);
    EXPECT_STREQ(m_log.text.GetText(), "shader.hvsl(1:4) error: 'Texture2D' is a reserved word.\n");
    EXPECT_EQ(m_log.error, 1);
}

class TwoTypes : public TypeNameTable {
public:
    bool HoldsTypeName(const char* name) const override { return std::string(name) == "Light"; }
};

TEST_F(LexerTest, NamesInTheTypeTableAreUserTypes)
{
    TwoTypes types;
    m_tokenizer.SetTypeNames(&types);
    const auto tokens = Scan("Light light");
    EXPECT_EQ(tokens[0].kind, 276u);
    EXPECT_EQ(tokens[1].kind, 296u);
}

TEST_F(LexerTest, OverlongIdentifierKeepsItsFirst128CharactersAndIsReportedOnce)
{
    const std::string name(130, 'q');
    const auto tokens = Scan(("  " + name).c_str());
    EXPECT_EQ(tokens[0].text, std::string(128, 'q'));
    EXPECT_EQ(tokens[0].kind, 296u);
    EXPECT_EQ(tokens[1].kind, 0u);
    EXPECT_STREQ(m_log.text.GetText(), "shader.hvsl(1:3) error: too many characters in token (maximum is 128).\n");
}

TEST_F(LexerTest, TabCountsFourColumns)
{
    const auto tokens = Scan("\tx\n\t\ty z");
    EXPECT_EQ(tokens[0].column, 5);
    EXPECT_EQ(tokens[0].line, 1);
    EXPECT_EQ(tokens[1].column, 9);
    EXPECT_EQ(tokens[1].line, 2);
    EXPECT_EQ(tokens[2].column, 11);
}

TEST_F(LexerTest, BlockCommentsKeepTheColumnOfWhatFollows)
{
    const auto tokens = Scan("/**//**/x");
    EXPECT_EQ(tokens[0].kind, 296u);
    EXPECT_EQ(tokens[0].column, 9);
}

TEST_F(LexerTest, AtSignIsSkippedWithTheCharacterAfterIt)
{
    const auto tokens = Scan("@x y");
    EXPECT_EQ(tokens[0].kind, 296u);
    EXPECT_EQ(tokens[0].text, "y");
    EXPECT_EQ(tokens[1].kind, 0u);
}

TEST_F(LexerTest, HighByteAndCarriageReturnGiveTheirOwnCode)
{
    const auto tokens = Scan("\xC8 $", m_tokenizer, false);
    EXPECT_EQ(tokens[0].kind, 200u);
    EXPECT_EQ(tokens[0].text, "");
    EXPECT_EQ(tokens[1].kind, unsigned('$'));
    const auto unstripped = Scan("a\r\nb", m_tokenizer, false);
    EXPECT_EQ(unstripped[1].kind, 13u);
}

TEST_F(LexerTest, StringLiterals)
{
    const auto tokens = Scan("\"a b\" \"cut\nx");
    EXPECT_EQ(tokens[0].kind, 298u);
    EXPECT_EQ(tokens[0].text, "a b");
    EXPECT_EQ(tokens[1].kind, 348u);
    EXPECT_EQ(tokens[2].kind, 296u);
    EXPECT_EQ(tokens[2].line, 2);
    const auto atEnd = Scan("\"open");
    EXPECT_EQ(atEnd[0].kind, 348u);
    EXPECT_EQ(atEnd[1].kind, 0u);
}

TEST_F(LexerTest, OperatorsTakeTheLongestForm)
{
    const auto tokens = Scan(
        "<<= << <= < >>= >> >= > && &= & || |= | ++ += + -- -= - != ! == = %= % *= * /= / ^= ^ # ~ ? : ; , ( ) [ ] { "
        "}");
    const uint32_t expected[] = {316, 305, 306, 340, 320, 311, 304, 344, 309, 314, 300, 310, 319, 312, 303,
                                 313, 333, 302, 321, 327, 308, 329, 307, 328, 317, 330, 318, 324, 315, 336,
                                 322, 301, 332, 337, 334, 325, 335, 326, 341, 345, 339, 343, 338, 342, 0};
    ASSERT_EQ(tokens.size(), sizeof(expected) / sizeof(expected[0]));
    for (size_t i = 0; i < tokens.size(); ++i) {
        EXPECT_EQ(tokens[i].kind, expected[i]) << "token " << i;
        EXPECT_EQ(tokens[i].text, "");
    }
}

TEST_F(LexerTest, TokenAtTheEndOfTheTextIsFollowedByTheEnd)
{
    for (const char* text : {"abc", "12", "<=", "1.5"}) {
        const auto tokens = Scan(text);
        ASSERT_EQ(tokens.size(), 2u) << text;
        EXPECT_EQ(tokens[1].kind, 0u);
    }
}

TEST_F(LexerTest, FileMarkerSwitchesNameAndLine)
{
    const auto tokens = Scan("a\n@f \"inc/other.hvsl\" 10\nTexture3D\n@f \"main\" 4 rest\nb");
    EXPECT_EQ(tokens[0].line, 1);
    EXPECT_EQ(tokens[1].kind, 347u);
    EXPECT_EQ(tokens[1].line, 10);
    EXPECT_EQ(tokens[2].text, "b");
    EXPECT_EQ(tokens[2].line, 5);
    EXPECT_STREQ(m_log.text.GetText(), "inc/other.hvsl(10:1) error: 'Texture3D' is a reserved word.\n");
    EXPECT_STREQ(m_tokenizer.GetSourceName().GetText(), "main");
}

TEST_F(LexerTest, HugeLineNumbersAreBounded)
{
    const auto tokens = Scan("@f \"a\" 99999999999999999999\n\n x");
    EXPECT_EQ(tokens[0].line, (1 << 30) + 1);
    m_source.text = "\n\n x";
    m_source.firstLine = INT32_MAX;
    m_tokenizer.Reset();
    m_tokenizer.SetSource(m_source, true);
    Token token;
    token.Clear();
    m_tokenizer.GetNextToken(token);
    EXPECT_EQ(token.line, (1 << 30) + 2);
}

TEST_F(LexerTest, CutFileMarkerEndsAtTheEndOfTheText)
{
    for (const char* text : {"@f \"name", "@f \"name\" 12", "@f", "@", "@f \"n\" 3 junk"}) {
        const auto tokens = Scan(text);
        ASSERT_EQ(tokens.size(), 1u) << text;
        EXPECT_EQ(tokens[0].kind, 0u);
    }
}

TEST_F(LexerTest, StripCommentsKeepsLinesAndColumns)
{
    const String line = StripComments("a // c\r\nb", 9);
    EXPECT_STREQ(line.GetText(), "a   \nb");
    const String block = StripComments("x/*\tq\r\nr*/y", 11);
    EXPECT_STREQ(block.GetText(), "x  \t \n   y");
    const String open = StripComments("x/* open", 8);
    EXPECT_STREQ(open.GetText(), "x       ");
    const String returns = StripComments("a\r\r\nb", 5);
    EXPECT_STREQ(returns.GetText(), "a\nb");
}

TEST_F(LexerTest, StripCommentsKeepsFileMarkersOfSchemedPaths)
{
    const char* text = "a\n@f \"res://x/*y*/z.hvsl\" 1\nb // c\n@f \"res://s.xml\" 3";
    const String stripped = StripComments(text, static_cast<int>(std::strlen(text)));
    EXPECT_STREQ(stripped.GetText(), "a\n@f \"res://x/*y*/z.hvsl\" 1\nb   \n@f \"res://s.xml\" 3");
    // Only a marker at the start of a line is one.
    const String inner = StripComments("a @f \"r://q\" 1", 15);
    EXPECT_STREQ(inner.GetText(), "a @f \"r:  ");
}

TEST_F(LexerTest, ClassifyConstantLooksAtTheFirstToken)
{
    EXPECT_EQ(ClassifyConstant("1.5"), 1u);
    EXPECT_EQ(ClassifyConstant("3"), 3u);
    EXPECT_EQ(ClassifyConstant("0x10"), 3u);
    EXPECT_EQ(ClassifyConstant("true"), 0u);
    EXPECT_EQ(ClassifyConstant("false"), 0u);
    EXPECT_EQ(ClassifyConstant("-1"), 8u);
    EXPECT_EQ(ClassifyConstant("name"), 8u);
    EXPECT_EQ(ClassifyConstant(""), 8u);
}

TEST_F(LexerTest, ClassifyConstantWritesNoErrors)
{
    // These would report through a tokenizer with a log.
    EXPECT_EQ(ClassifyConstant("019"), 3u);
    EXPECT_EQ(ClassifyConstant("1e"), 1u);
    EXPECT_EQ(ClassifyConstant("Texture2D"), 8u);
    EXPECT_EQ(ClassifyConstant(std::string(200, '7').c_str()), 3u);
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

TEST_F(LexerTest, FirstLineOfTheSourceNumbersTheLines)
{
    m_source.path = "s";
    m_source.text = "a\nb";
    m_source.firstLine = 7;
    m_tokenizer.Reset();
    m_tokenizer.SetSource(m_source, true);
    Token token;
    token.Clear();
    m_tokenizer.GetNextToken(token);
    EXPECT_EQ(token.line, 7);
    token.Clear();
    m_tokenizer.GetNextToken(token);
    EXPECT_EQ(token.line, 8);
}

TEST_F(LexerTest, PreprocessorLinesAndDirectives)
{
    PreprocessorTokenizer tokenizer;
    const auto tokens = Scan("#define A 1.5\n\n  x = A;\n\t# if defined(A)\n#endif", tokenizer);
    const uint32_t expected[] = {332, 288, 296, 295, 346, 346, 332, 292, 323, 341, 296, 345, 332, 291, 0};
    ASSERT_EQ(tokens.size(), sizeof(expected) / sizeof(expected[0]));
    for (size_t i = 0; i < tokens.size(); ++i) EXPECT_EQ(tokens[i].kind, expected[i]) << "token " << i;
    // Whole lines are located at their start.
    EXPECT_EQ(tokens[4].line, 2);
    EXPECT_EQ(tokens[4].column, 1);
    EXPECT_EQ(tokens[5].line, 3);
    EXPECT_EQ(tokens[5].column, 1);
    EXPECT_EQ(tokens[6].line, 4);
    EXPECT_EQ(tokens[6].column, 5);
    EXPECT_EQ(tokens[7].column, 7);
    EXPECT_EQ(m_log.written, 0);
}

TEST_F(LexerTest, PreprocessorTokenizerHasNoReservedWords)
{
    PreprocessorTokenizer tokenizer;
    const auto tokens = Scan("#if Texture2D float", tokenizer);
    EXPECT_EQ(tokens[2].kind, 296u);
    EXPECT_EQ(tokens[3].kind, 296u);
    EXPECT_EQ(m_log.written, 0);
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
