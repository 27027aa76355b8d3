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

TEST_F(BaseTranslatorTest, StatementsOfOneKindStayTogetherAndSpacedOnesStandApart)
{
    const std::string source =
        "float Sum(float a, float b)\n{\n\tfloat s = a;\n\ts += b;\n\tfor (int i = 0; i < 2; i++)\n\t\ts += 1.0;\n"
        "\tif (s > 1.0)\n\t\ts = 1.0;\n\treturn s;\n}\n\n"
        "void main()\n{\n\toutput.color = float4(Sum(1.0, 2.0));\n}\n";
    EXPECT_EQ(
        Body(source),
        "float Sum(float a, float b)\n{\n\tfloat s = a;\n\ts += b;\n\n\tfor (int i = 0; i < 2; i++)\n\t\ts += 1.0f;\n"
        "\n\tif (s > 1.0f)\n\t\ts = 1.0f;\n\n\treturn s;\n}\n\n"
        "void main()\n{\n\toutput.color = float4(Sum(1.0f, 2.0f));\n}\n");
}

TEST_F(BaseTranslatorTest, ElseIfChainsStayOnOneLineEach)
{
    const std::string source =
        "void main()\n{\n\tfloat x = input.uv.x;\n\tif (x < 0.25)\n\t\tx = 0.0;\n\telse if (x < 0.5)\n\t{\n"
        "\t\tx = 0.5;\n\t}\n\telse\n\t\tx = 1.0;\n\toutput.color = float4(x);\n}\n";
    EXPECT_EQ(Body(source),
              "void main()\n{\n\tfloat x = input.uv.x;\n\n\tif (x < 0.25f)\n\t\tx = 0.0f;\n\telse if (x < 0.5f)\n"
              "\t{\n\t\tx = 0.5f;\n\t}\n\telse\n\t\tx = 1.0f;\n\n\toutput.color = float4(x);\n}\n");
}

TEST_F(BaseTranslatorTest, DoLoopIsClosedByItsCondition)
{
    const std::string source =
        "void main()\n{\n\tfloat x = 1.0;\n\tdo\n\t{\n\t\tx *= 0.5;\n\t} while (x > 0.1);\n"
        "\twhile (x < 1.0)\n\t\tx += 0.25;\n\toutput.color = float4(x);\n}\n";
    EXPECT_EQ(Body(source),
              "void main()\n{\n\tfloat x = 1.0f;\n\n\tdo\n\t{\n\t\tx *= 0.5f;\n\t}\t\n\twhile (x > 0.1f);\n\n"
              "\twhile (x < 1.0f)\n\t\tx += 0.25f;\n\n\toutput.color = float4(x);\n}\n");
}

TEST_F(BaseTranslatorTest, InitialisedArrayListsOneElementPerLine)
{
    const std::string source =
        "float weights[2] = {0.25, 0.75};\n\nvoid main()\n{\n\toutput.color = float4(weights[1]);\n}\n";
    EXPECT_EQ(Body(source),
              "float weights[2] =\n{\n\t0.25f,\n\t0.75f\n};\n\n"
              "void main()\n{\n\toutput.color = float4(weights[1]);\n}\n");
}

TEST_F(BaseTranslatorTest, OperatorsAreSpacedByTheirForm)
{
    const std::string source =
        "void main()\n{\n\tfloat4 c = float4(1.0);\n\tfloat x = -c.x;\n\tint i = 0;\n\ti++;\n\t--i;\n"
        "\tx = (x + 1.0) * 2.0;\n\tx = x > 0.5 ? 1.0 : 0.0;\n\tbool b = !(x > 0.0);\n\toutput.color = c.xxyy;\n}\n";
    EXPECT_EQ(Body(source),
              "void main()\n{\n\tfloat4 c = float4(1.0f);\n\tfloat x = -c.x;\n\tint i = 0;\n\ti++;\n\t--i;\n"
              "\tx = (x + 1.0f) * 2.0f;\n\tx = x > 0.5f ? 1.0f : 0.0f;\n\tbool b = !(x > 0.0f);\n\toutput.color = "
              "c.xxyy;\n}\n");
}

TEST_F(BaseTranslatorTest, EmptyFunctionAndPrototype)
{
    const std::string source =
        "void Nothing();\n\nvoid Nothing()\n{\n}\n\nvoid main()\n{\n\tNothing();\n"
        "\toutput.color = float4(0.0);\n}\n";
    EXPECT_EQ(Body(source),
              "void Nothing();\n\nvoid Nothing()\n{\n}\n\n"
              "void main()\n{\n\tNothing();\n\toutput.color = float4(0.0f);\n}\n");
}

TEST_F(BaseTranslatorTest, StructDeclarationListsItsMembers)
{
    const std::string source =
        "struct Light\n{\n\tfloat3 direction;\n\tfloat power;\n};\n\n"
        "void main()\n{\n\tLight l;\n\tl.power = 1.0;\n\toutput.color = float4(l.power);\n}\n";
    EXPECT_EQ(Body(source),
              "struct Light\n{\n\tfloat3 direction;\n\tfloat power;\n};\n\n"
              "void main()\n{\n\tLight l;\n\tl.power = 1.0f;\n\toutput.color = float4(l.power);\n}\n");
}

TEST_F(BaseTranslatorTest, BitwiseOperatorIsWrittenAndReportedOnce)
{
    Translator translator(&frontEnd.stepLog);
    EXPECT_FALSE(Translate(translator, "void main()\n{\n\tint a = 6 & 3;\n\toutput.color = float4(float(a));\n}\n",
                           STAGE_PIXEL, TARGET_HLSL11));
    EXPECT_EQ(LogText(), "Error: bit-wise operations are not supported.\n");
    EXPECT_NE(std::string(translator.GetBody().GetText()).find("int a = 6 & 3;"), std::string::npos);
}

TEST_F(BaseTranslatorTest, BitwiseOperatorIsWrittenWhenAllowed)
{
    Translator translator(&frontEnd.stepLog);
    translator.SetBitwiseAllowed(true);
    EXPECT_TRUE(Translate(translator, "void main()\n{\n\tint a = 6 >> 1;\n\toutput.color = float4(float(a));\n}\n",
                          STAGE_PIXEL, TARGET_HLSL11));
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
