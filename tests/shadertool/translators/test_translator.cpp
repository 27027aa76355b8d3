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

// A source of each statement and declaration form, and its text under
// tests/data/shaders/expected/base.
TEST_F(BaseTranslatorTest, EveryFormIsWrittenAsItsExpectedText)
{
    const struct {
        const char* file;
        std::string source;
    } rows[] = {
        {"statement_spacing.hlsl",
         "float Sum(float a, float b)\n{\n\tfloat s = a;\n\ts += b;\n\tfor (int i = 0; i < 2; i++)\n\t\ts += 1.0;\n"
         "\tif (s > 1.0)\n\t\ts = 1.0;\n\treturn s;\n}\n\n"
         "void main()\n{\n\toutput.color = float4(Sum(1.0, 2.0));\n}\n"},
        {"else_if_chain.hlsl", Main("\tfloat x = input.uv.x;\n\tif (x < 0.25)\n\t\tx = 0.0;\n\telse if (x < 0.5)\n\t{\n"
                                    "\t\tx = 0.5;\n\t}\n\telse\n\t\tx = 1.0;\n\toutput.color = float4(x);\n")},
        {"do_while_loops.hlsl", Main("\tfloat x = 1.0;\n\tdo\n\t{\n\t\tx *= 0.5;\n\t} while (x > 0.1);\n"
                                     "\twhile (x < 1.0)\n\t\tx += 0.25;\n\toutput.color = float4(x);\n")},
        {"initialised_array.hlsl",
         "float weights[2] = {0.25, 0.75};\n\nvoid main()\n{\n\toutput.color = float4(weights[1]);\n}\n"},
        {"operator_spacing.hlsl", Main("\tfloat4 c = float4(1.0);\n\tfloat x = -c.x;\n\tint i = 0;\n\ti++;\n\t--i;\n"
                                       "\tx = (x + 1.0) * 2.0;\n\tx = x > 0.5 ? 1.0 : 0.0;\n\tbool b = !(x > 0.0);\n"
                                       "\toutput.color = c.xxyy;\n")},
        {"empty_function_and_prototype.hlsl",
         "void Nothing();\n\nvoid Nothing()\n{\n}\n\nvoid main()\n{\n\tNothing();\n\toutput.color = float4(0.0);\n}\n"},
        {"struct_declaration.hlsl", "struct Light\n{\n\tfloat3 direction;\n\tfloat power;\n};\n\n" +
                                        Main("\tLight l;\n\tl.power = 1.0;\n\toutput.color = float4(l.power);\n")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        EXPECT_EQ(Body(row.source), ExpectedShader(std::string("base/") + row.file));
    }
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
