// The #if expressions that this preprocessor shares with the C preprocessor
// (integers, + - * /, comparisons, && || !, unary minus, parentheses,
// defined() and names without a macro) are judged by the system's cpp.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "preprocessor_test_support.h"
#include "shadertool/support/file_text.h"
#include "support/temporary_folder.h"

namespace fs = std::filesystem;

namespace {

constexpr int kCaseCount = 600;

// Random expressions over the shared subset. Each case keeps only values
// inside 32 bits with no division by zero, where both evaluators must agree.
class ExpressionGenerator {
public:
    explicit ExpressionGenerator(uint32_t seed) : m_random(seed) {}

    std::string Next()
    {
        for (;;) {
            m_valid = true;
            const auto [text, value] = Expression(4);
            if (m_valid) return text;
        }
    }

private:
    struct Result {
        std::string text;
        int64_t value;
    };

    int Pick(int count) { return int(m_random() % uint32_t(count)); }

    int64_t Check(int64_t value)
    {
        if (value < INT32_MIN || value > INT32_MAX) m_valid = false;
        return value;
    }

    Result Leaf()
    {
        switch (Pick(6)) {
        case 0: return {"A", 3};
        case 1: return {"B", -5};
        case 2: return {"UNDEFINED_NAME", 0};
        case 3: return {Pick(2) ? "defined(A)" : "defined(C)", 0};
        default: {
            const int64_t value = Pick(4) == 0 ? Pick(100000) + 1 : Pick(20);
            return {std::to_string(value), value};
        }
        }
    }

    // The value of a, then b, under the operator of kOperators[op].
    static int64_t Apply(int op, int64_t a, int64_t b)
    {
        switch (op) {
        case 0: return a * b;
        case 1: return b != 0 ? a / b : 0;
        case 2: return a + b;
        case 3: return a - b;
        case 4: return a < b;
        case 5: return a > b;
        case 6: return a <= b;
        case 7: return a >= b;
        case 8: return a == b;
        case 9: return a != b;
        case 10: return a && b;
        default: return a || b;
        }
    }

    Result Expression(int depth)
    {
        if (depth == 0 || Pick(4) == 0) {
            Result leaf = Leaf();
            if (leaf.text == "defined(A)") leaf.value = 1;
            return leaf;
        }
        switch (Pick(4)) {
        case 0: {
            const Result inner = Expression(depth - 1);
            return {"( " + inner.text + " )", inner.value};
        }
        case 1: {
            const Result inner = Expression(depth - 1);
            if (Pick(2)) return {"- " + inner.text, Check(-inner.value)};
            return {"! " + inner.text, inner.value == 0 ? 1 : 0};
        }
        default: break;
        }
        static const char* const kOperators[] = {"*", "/", "+", "-", "<", ">", "<=", ">=", "==", "!=", "&&", "||"};
        const int op = Pick(12);
        // Operands are parenthesized so that the text means the tree built here.
        const Result left = Expression(depth - 1);
        const Result right = Expression(depth - 1);
        if (op == 1 && right.value == 0) m_valid = false;
        const int64_t value = Check(Apply(op, left.value, right.value));
        return {"( " + left.text + " ) " + kOperators[op] + " ( " + right.text + " )", value};
    }

    std::mt19937 m_random;
    bool m_valid = true;
};

// The verdict ("case <i> 1" or "case <i> 0" lines) of each case in a text.
std::vector<std::string> CaseLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) {
        if (line.rfind("case ", 0) == 0) lines.push_back(line);
    }
    return lines;
}

class CppCheck : public PreprocessorFixture {};

TEST_F(CppCheck, IfExpressionsAgreeWithTheSystemPreprocessor)
{
    ExpressionGenerator generator(20240611);
    std::string batch = "#define A 3\n#define B -5\n";
    for (int i = 0; i < kCaseCount; ++i) {
        const std::string index = std::to_string(i);
        batch += "#if " + generator.Next() + "\ncase " + index + " 1\n#else\ncase " + index + " 0\n#endif\n";
    }

    const TemporaryFolder folder("halvo-cpp");
    const fs::path input = folder.Path() / "batch.h";
    const fs::path output = folder.Path() / "batch.out";
    std::ofstream(input) << batch;
    const std::string command = "cpp -P -undef -nostdinc " + input.string() + " > " + output.string();
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::vector<std::string> expected = CaseLines(ReadFileText(output));
    ASSERT_EQ(expected.size(), size_t(kCaseCount));

    ASSERT_TRUE(Run(batch)) << LogText();
    const std::vector<std::string> actual = CaseLines(Output());
    ASSERT_EQ(actual.size(), size_t(kCaseCount));
    int mismatches = 0;
    for (int i = 0; i < kCaseCount; ++i) {
        if (actual[i] != expected[i] && ++mismatches <= 10)
            ADD_FAILURE() << "cpp says '" << expected[i] << "', we say '" << actual[i] << "'";
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
