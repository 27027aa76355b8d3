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

bool IsBool(const TIntermNode* node, bool value)
{
    const glslang::TIntermConstantUnion* constant = node != nullptr ? node->getAsConstantUnion() : nullptr;
    return constant != nullptr && constant->getType().getBasicType() == glslang::EbtBool &&
           constant->getConstArray().size() == 1 && constant->getConstArray()[0].getBConst() == value;
}

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
            if ((node->getLeft()->getType().isMatrix() || node->getRight()->getType().isMatrix()) &&
                !ReducedAsWhole(*node)) {
                Refuse(*node, node->getOp() == glslang::EOpEqual ? kMatricesComparedEqual : kMatricesComparedNotEqual);
            }
            break;
        default: break;
        }
        return true;
    }

    bool refused = false;

private:
    // glslang compares two matrices whole: == is true when every component
    // is equal, != when any differs. That is HLSL's all(a == b) and
    // any(a != b), which reach the tree as all((a == b) ? true : false) and
    // any((a != b) ? true : false) (reduced_comparisons.h).
    bool ReducedAsWhole(const TIntermBinary& comparison) const
    {
        if (path.size() < 2) return false;
        const glslang::TIntermSelection* select = path[path.size() - 1]->getAsSelectionNode();
        const glslang::TIntermUnary* reduction = path[path.size() - 2]->getAsUnaryNode();
        const glslang::TOperator wanted = comparison.getOp() == glslang::EOpEqual ? glslang::EOpAll : glslang::EOpAny;
        return select != nullptr && reduction != nullptr && reduction->getOp() == wanted &&
               select->getCondition() == &comparison && IsBool(select->getTrueBlock(), true) &&
               IsBool(select->getFalseBlock(), false);
    }

    void Refuse(const TIntermBinary& node, const char* format)
    {
        refused = true;
        errors_ += FormatMessageText(format, node.getLoc().getFilenameStr(), node.getLoc().line);
    }

    std::string& errors_;
};

}  // namespace

bool GiveHlslMeanings(glslang::TIntermediate& tree, std::string& errors)
{
    if (tree.getTreeRoot() == nullptr) return true;
    MeaningTraverser traverser(errors);
    tree.getTreeRoot()->traverse(&traverser);
    return !traverser.refused;
}

}  // namespace halvo::d3dcompiler
