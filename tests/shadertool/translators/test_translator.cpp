// The statement and expression forms that every target shares, written by
// the base translator.
#include "shadertool/support/translator_test_support.h"

using namespace ShaderTool;

namespace {

class BaseTranslatorTest : public TranslatorFixture {
protected:
    // The body text of a pixel source translated by the base translator.
    std::string Body(const std::string& text)
    {
        Translator translator(&frontEnd.stepLog);
        EXPECT_TRUE(Translate(translator, text, STAGE_PIXEL, TARGET_HLSL11)) << LogText();
        return translator.GetBody().GetText();
    }
};

// A source of each statement and declaration form in
// tests/data/shaders/expected/base (<form>.hvsl) and its text beside it (<form>.hlsl).
TEST_F(BaseTranslatorTest, EveryFormIsWrittenAsItsExpectedText)
{
    int forms = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(HALVO_TEST_DATA_DIR) / "shaders/expected/base")) {
        if (entry.path().extension() != ".hvsl") continue;
        SCOPED_TRACE(entry.path().filename().string());
        std::filesystem::path expected = entry.path();
        EXPECT_EQ(Body(ReadFileText(entry.path())), ReadFileText(expected.replace_extension(".hlsl")));
        ++forms;
    }
    EXPECT_EQ(forms, 7);
}

TEST_F(BaseTranslatorTest, BitwiseOperatorIsWrittenAndReportedOnceUnlessAllowed)
{
    Translator translator(&frontEnd.stepLog);
    EXPECT_FALSE(Translate(translator, Main("\tint a = 6 & 3;\n\toutput.color = float4(float(a));\n"), STAGE_PIXEL,
                           TARGET_HLSL11));
    EXPECT_EQ(LogText(), "Error: bit-wise operations are not supported.\n");
    EXPECT_NE(std::string(translator.GetBody().GetText()).find("int a = 6 & 3;"), std::string::npos);
    translator.SetBitwiseAllowed(true);
    EXPECT_TRUE(Translate(translator, Main("\tint a = 6 >> 1;\n\toutput.color = float4(float(a));\n"), STAGE_PIXEL,
                          TARGET_HLSL11));
    EXPECT_EQ(LogText(), "");
}

TEST_F(BaseTranslatorTest, RenamesApplyToBuiltInCallsOnly)
{
    Translator translator(&frontEnd.stepLog);
    translator.AddRename("saturate", "clamp01");
    translator.AddRename("Brighten", "Other");
    ASSERT_TRUE(Translate(translator,
                          "float Brighten(float x)\n{\n\treturn x * 2.0;\n}\n\nvoid main()\n{\n"
                          "\toutput.color = float4(saturate(Brighten(0.3)));\n}\n",
                          STAGE_PIXEL, TARGET_HLSL11))
        << LogText();
    EXPECT_NE(result.find("float4(clamp01(Brighten(0.3f)))"), std::string::npos) << result;
}

TEST_F(BaseTranslatorTest, ResetEmptiesTheTextsAndKeepsTheLevel)
{
    Translator translator(&frontEnd.stepLog);
    ASSERT_TRUE(Translate(translator, kPixelColorMain, STAGE_PIXEL, TARGET_HLSL11, FEATURE_LEVEL_HLSL11_LOW));
    translator.Reset();
    EXPECT_STREQ(translator.GetBody().GetText(), "");
    EXPECT_STREQ(translator.GetHeader().GetText(), "");
    EXPECT_EQ(translator.GetTarget(), 0u);
    EXPECT_TRUE(translator.Succeeded());
}

TEST(TranslatorFactory, EveryTargetGetsATranslator)
{
    Log log;
    for (uint32_t bit = 1; bit <= 256; bit <<= 1) {
        std::unique_ptr<Translator> translator(CreateTranslator(bit, &log));
        EXPECT_NE(translator, nullptr) << bit;
    }
    EXPECT_EQ(CreateTranslator(0, &log), nullptr);
    EXPECT_EQ(CreateTranslator(48, &log), nullptr);
    EXPECT_EQ(CreateTranslator(512, &log), nullptr);
}

}  // namespace
