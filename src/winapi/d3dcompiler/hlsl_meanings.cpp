#include "winapi/d3dcompiler/hlsl_meanings.h"

#include <glslang/Include/intermediate.h>
#include <glslang/MachineIndependent/localintermediate.h>

#include "winapi/d3dcompiler/messages.h"

namespace halvo::d3dcompiler {
namespace {

using glslang::TIntermBinary;
using glslang::TSourceLoc;

// Whether `a` comes before `b` in the same file.
bool Before(const TSourceLoc& a, const TSourceLoc& b)
{
    if (a.line == 0 || b.line == 0) return false;
    const bool sameFile = a.name == b.name || (a.name != nullptr && b.name != nullptr && *a.name == *b.name);
    if (!sameFile) return false;
    return a.line < b.line || (a.line == b.line && a.column < b.column);
}

// glslang gives a product the place of its operator (`a * b`: after a's
// start) or of the call (`mul(a, b)`: before both arguments), and keeps
// mul()'s arguments swapped, so an operator is told by its left operand
// starting before it.
bool WrittenAsOperator(const TIntermBinary& node) { return Before(node.getLeft()->getLoc(), node.getLoc()); }

class MeaningTraverser : public glslang::TIntermTraverser {
public:
    explicit MeaningTraverser(std::string& errors) : errors_(errors) {}

    bool visitBinary(glslang::TVisit, TIntermBinary* node) override
    {
        switch (node->getOp()) {
        case glslang::EOpMatrixTimesMatrix:
        case glslang::EOpMatrixTimesMatrixAssign:
            if (!WrittenAsOperator(*node)) break;
            if (node->getLeft()->getType() != node->getRight()->getType()) {
                Refuse(*node, kMatrixShapesMultiplied);
                break;
            }
            node->setOp(node->getOp() == glslang::EOpMatrixTimesMatrix ? glslang::EOpMul : glslang::EOpMulAssign);
            break;
        case glslang::EOpMatrixTimesVector:
        case glslang::EOpVectorTimesMatrix:
        case glslang::EOpVectorTimesMatrixAssign:
            if (WrittenAsOperator(*node)) Refuse(*node, kMatrixVectorMultiplied);
            break;
        case glslang::EOpEqual:
        case glslang::EOpNotEqual:
            if (node->getLeft()->getType().isMatrix() || node->getRight()->getType().isMatrix()) {
                Refuse(*node, node->getOp() == glslang::EOpEqual ? kMatricesComparedEqual : kMatricesComparedNotEqual);
            }
            break;
        default: break;
        }
        return true;
    }

    bool refused = false;

private:
    void Refuse(const TIntermBinary& node, const char* format)
    {
        refused = true;
        errors_ += FormatMessageText(format, node.getLoc().getFilenameStr(), node.getLoc().line);
    }

    std::string& errors_;
};

// SPIR-V: an instruction's first word holds its word count (high half) and opcode.
constexpr uint32_t kHeaderWords = 5;
constexpr uint32_t kOpSRem = 138;
constexpr uint32_t kOpSMod = 139;
constexpr uint32_t kOpFRem = 140;
constexpr uint32_t kOpFMod = 141;

}  // namespace

bool GiveHlslMeanings(glslang::TIntermediate& tree, std::string& errors)
{
    if (tree.getTreeRoot() == nullptr) return true;
    MeaningTraverser traverser(errors);
    tree.getTreeRoot()->traverse(&traverser);
    return !traverser.refused;
}

void TruncateRemainders(std::vector<uint32_t>& words)
{
    for (size_t at = kHeaderWords; at < words.size();) {
        const uint32_t count = words[at] >> 16;
        const uint32_t opcode = words[at] & 0xffff;
        if (opcode == kOpSMod || opcode == kOpFMod) {
            words[at] = (count << 16) | (opcode == kOpSMod ? kOpSRem : kOpFRem);
        }
        if (count == 0) break;
        at += count;
    }
}

}  // namespace halvo::d3dcompiler
