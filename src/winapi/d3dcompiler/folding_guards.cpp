#include "winapi/d3dcompiler/folding_guards.h"

#include <algorithm>
#include <cstring>

#include "winapi/d3dcompiler/source_text.h"

namespace halvo::d3dcompiler {
namespace {

// Markers are numbers no source writes by chance as the left of a comma.
constexpr int kFirstMarker = 0x5a170000;

enum class Statement { kOther, kInteger, kScalarConstant };

// What a statement whose text so far is `statement` declares: integers (or
// it is a case label), whose operations may have to stay constant; a float
// scalar constant, which may be used so; or something else.
Statement ReadStatement(std::string_view statement)
{
    static constexpr const char* kQualifiers[] = {"static", "const", "uniform", "extern"};
    static constexpr const char* kIntegerTypes[] = {"int",       "uint",     "dword", "min16int",
                                                    "min16uint", "min12int", "case"};
    static constexpr const char* kFloatScalars[] = {"float", "half", "double", "min16float", "min10float"};
    bool constant = false;
    size_t i = 0;
    for (;;) {
        while (i < statement.size() && !IsIdentifierCharacter(statement[i])) ++i;
        size_t end = i;
        while (end < statement.size() && IsIdentifierCharacter(statement[end])) ++end;
        const std::string_view word = statement.substr(i, end - i);
        if (word.empty()) return Statement::kOther;
        if (std::find(std::begin(kQualifiers), std::end(kQualifiers), word) != std::end(kQualifiers)) {
            constant = constant || word == "const";
            i = end;
            continue;
        }
        const bool integer = std::any_of(std::begin(kIntegerTypes), std::end(kIntegerTypes), [word](const char* type) {
            const size_t length = std::strlen(type);
            // int, int2, int3x3 and the like; "case" only whole.
            return word.substr(0, length) == type &&
                   (word.size() == length ||
                    (std::strcmp(type, "case") != 0 && word[length] >= '1' && word[length] <= '4'));
        });
        if (integer) return Statement::kInteger;
        const bool scalar =
            std::find(std::begin(kFloatScalars), std::end(kFloatScalars), word) != std::end(kFloatScalars);
        return constant && scalar ? Statement::kScalarConstant : Statement::kOther;
    }
}

// Whether `word` names a type that takes template arguments.
bool IsTemplate(std::string_view word)
{
    static constexpr const char* kTemplatePrefixes[] = {"vector",
                                                        "matrix",
                                                        "Texture",
                                                        "RWTexture",
                                                        "Buffer",
                                                        "RWBuffer",
                                                        "Structured",
                                                        "RWStructured",
                                                        "AppendStructured",
                                                        "ConsumeStructured",
                                                        "RasterizerOrdered",
                                                        "ConstantBuffer",
                                                        "InputPatch",
                                                        "OutputPatch",
                                                        "PointStream",
                                                        "LineStream",
                                                        "TriangleStream",
                                                        "FeedbackTexture"};
    return std::any_of(std::begin(kTemplatePrefixes), std::end(kTemplatePrefixes),
                       [word](const char* prefix) { return word.substr(0, std::strlen(prefix)) == prefix; });
}

// Whether `word` names one of HLSL's functions that apply to each
// component of a matrix.
bool IsComponentFunction(std::string_view word)
{
    static constexpr const char* kFunctions[] = {
        "abs",     "acos", "asin",       "atan",  "atan2",   "ceil",  "clamp", "cos",      "cosh",
        "degrees", "exp",  "exp2",       "floor", "frac",    "lerp",  "log",   "log10",    "log2",
        "mad",     "max",  "min",        "pow",   "radians", "round", "rsqrt", "saturate", "sign",
        "sin",     "sinh", "smoothstep", "sqrt",  "step",    "tan",   "tanh",  "trunc"};
    return std::find(std::begin(kFunctions), std::end(kFunctions), word) != std::end(kFunctions);
}

// The argument at `index` (0 or 1) of the call whose argument list opens at `open`.
bool Argument(std::string_view text, const Brackets& brackets, size_t open, int index, FoldingGuard& guard)
{
    const size_t close = brackets.Closing(open);
    if (close == std::string_view::npos) return false;
    size_t start = open + 1;
    for (size_t i = open + 1; i <= close;) {
        const char c = text[i];
        if (i < close && (c == '(' || c == '[' || c == '{')) {
            i = brackets.Closing(i);
            if (i == std::string_view::npos) return false;
            ++i;
            continue;
        }
        if (c == ',' || i == close) {
            if (index-- == 0) {
                guard.start = start;
                while (guard.start < i && std::strchr(" \t\n\r", text[guard.start]) != nullptr) ++guard.start;
                guard.end = i;
                while (guard.end > guard.start && std::strchr(" \t\n\r", text[guard.end - 1]) != nullptr) --guard.end;
                return guard.end > guard.start;
            }
            start = i + 1;
        }
        ++i;
    }
    return false;
}

}  // namespace

int GuardMarker(size_t index) { return kFirstMarker + static_cast<int>(index); }

std::vector<FoldingGuard> FindFoldingGuards(std::string_view text)
{
    const Brackets brackets(text);
    std::vector<FoldingGuard> guards;
    size_t statementStart = 0;
    int subscriptDepth = 0;
    int templateDepth = 0;  // inside Texture2D<float4> and the like
    std::string_view lastWord;
    size_t lastWordEnd = 0;
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const size_t skipped = PastDirectiveOrString(text, i);  // such as #line
        if (skipped != i) {
            i = skipped;
            continue;
        }
        if (IsIdentifierCharacter(c)) {
            size_t end = i;
            while (end < text.size() && IsIdentifierCharacter(text[end])) ++end;
            size_t open = end;
            while (open < text.size() && (text[open] == ' ' || text[open] == '\t')) ++open;
            const std::string_view word = text.substr(i, end - i);
            const bool call = !(i > 0 && text[i - 1] == '.') && open < text.size() && text[open] == '(';
            FoldingGuard guard;
            if (call && word == "fmod" && Argument(text, brackets, open, 1, guard)) guards.push_back(guard);
            guard.kind = GuardKind::kFunction;
            if (call && IsComponentFunction(word) && subscriptDepth == 0 &&
                ReadStatement(text.substr(statementStart, i - statementStart)) != Statement::kInteger &&
                Argument(text, brackets, open, 0, guard)) {
                guards.push_back(guard);
            }
            lastWord = text.substr(i, end - i);
            lastWordEnd = end;
            i = end;
            continue;
        }
        const bool afterWord = lastWordEnd <= i && text.find_first_not_of(" \t", lastWordEnd) == i;
        if ((c == '<' || c == '>') && next == c) {  // shifts
            i += 2;
            continue;
        }
        if (c == '<' && afterWord && IsTemplate(lastWord)) {
            ++templateDepth;
            ++i;
            continue;
        }
        if (c == '>' && templateDepth > 0) {
            --templateDepth;
            ++i;
            continue;
        }
        if (c == ';' || c == '{' || c == '}') statementStart = i + 1;
        if (c == '[') ++subscriptDepth;
        if (c == ']' && subscriptDepth > 0) --subscriptDepth;
        const bool arithmetic = (c == '*' || c == '%') && next != '=';
        const bool equality = (c == '=' || c == '!') && next == '=';
        const bool comparison = c == '<' || c == '>' || equality;
        const Statement statement = arithmetic || comparison
                                        ? ReadStatement(text.substr(statementStart, i - statementStart))
                                        : Statement::kOther;
        if ((arithmetic || comparison) && subscriptDepth == 0 && statement != Statement::kInteger) {
            FoldingGuard guard;
            guard.kind = arithmetic ? GuardKind::kArithmetic : GuardKind::kComparison;
            guard.inScalarConstant = statement == Statement::kScalarConstant;
            const size_t operand = comparison && next == '=' ? i + 2 : i + 1;
            guard.end = EndOfOperand(text, brackets, operand, guard.start);
            if (guard.end != std::string_view::npos) guards.push_back(guard);
        }
        i += equality ? 2 : 1;
    }
    return guards;
}

std::string WriteFoldingGuards(std::string_view text, const std::vector<FoldingGuard>& guards,
                               const std::vector<bool>& keep)
{
    struct Insertion {
        size_t at;
        bool opens;
        std::string text;
    };
    std::vector<Insertion> insertions;
    for (size_t i = 0; i < guards.size(); ++i) {
        if (i >= keep.size() || !keep[i]) continue;
        insertions.push_back({guards[i].start, true, "(" + std::to_string(GuardMarker(i)) + ", "});
        insertions.push_back({guards[i].end, false, ")"});
    }
    // At one place, a guard that ends closes before one that starts opens.
    std::stable_sort(insertions.begin(), insertions.end(), [](const Insertion& a, const Insertion& b) {
        return a.at != b.at ? a.at < b.at : (!a.opens && b.opens);
    });
    std::string out;
    size_t copied = 0;
    for (const Insertion& insertion : insertions) {
        out.append(text.substr(copied, insertion.at - copied)).append(insertion.text);
        copied = insertion.at;
    }
    out.append(text.substr(copied));
    return out;
}

}  // namespace halvo::d3dcompiler
