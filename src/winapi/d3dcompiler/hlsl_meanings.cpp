#include "winapi/d3dcompiler/hlsl_meanings.h"

#include <optional>

#include <glslang/Include/intermediate.h>
#include <glslang/MachineIndependent/localintermediate.h>

#include "winapi/d3dcompiler/folding_guards.h"
#include "winapi/d3dcompiler/messages.h"

namespace halvo::d3dcompiler {
namespace {

using glslang::TIntermBinary;
using glslang::TSourceLoc;

// Whether `a` and `b` are known places in the same file.
bool Comparable(const TSourceLoc& a, const TSourceLoc& b)
{
    if (a.line == 0 || b.line == 0) return false;
    return a.name == b.name || (a.name != nullptr && b.name != nullptr && *a.name == *b.name);
}

// glslang gives a product the place of its operator (`a * b`: after a's
// start) or of the call (`mul(a, b)`: before both arguments), and keeps
// mul()'s arguments swapped, so an operator is told by its left operand not
// starting after it. (A constant folded from a constructor takes the place
// of the token after it: the operator itself.)
bool WrittenAsOperator(const TIntermBinary& node)
{
    const TSourceLoc& left = node.getLeft()->getLoc();
    const TSourceLoc& place = node.getLoc();
    if (!Comparable(left, place)) return false;
    return left.line < place.line || (left.line == place.line && left.column <= place.column);
}

bool IsBool(const TIntermNode* node, bool value)
{
    const glslang::TIntermConstantUnion* constant = node != nullptr ? node->getAsConstantUnion() : nullptr;
    return constant != nullptr && constant->getType().getBasicType() == glslang::EbtBool &&
           constant->getConstArray().size() == 1 && constant->getConstArray()[0].getBConst() == value;
}

bool IsConversion(glslang::TOperator op)
{
    return op >= glslang::EOpConvInt8ToBool && op <= glslang::EOpConvUvec2ToAccStruct;
}

// Whether `op` is one of the functions that apply to each component.
bool IsComponentFunction(glslang::TOperator op)
{
    return (op >= glslang::EOpRadians && op <= glslang::EOpLdexp) || op == glslang::EOpMod;
}

// The index of the folding guard (folding_guards.h) that `operand` is, when
// it is one: a comma expression whose left is the guard's marker, maybe
// converted or widened to a vector.
std::optional<size_t> GuardIndexOf(TIntermNode* operand, size_t count)
{
    for (;;) {  // through conversions and a scalar's constructor
        glslang::TIntermUnary* conversion = operand != nullptr ? operand->getAsUnaryNode() : nullptr;
        if (conversion != nullptr && IsConversion(conversion->getOp())) {
            operand = conversion->getOperand();
            continue;
        }
        const glslang::TIntermAggregate* constructor = operand != nullptr ? operand->getAsAggregate() : nullptr;
        if (constructor == nullptr || !constructor->isConstructor() || constructor->getSequence().size() != 1) break;
        operand = constructor->getSequence()[0];
    }
    const glslang::TIntermAggregate* comma = operand != nullptr ? operand->getAsAggregate() : nullptr;
    if (comma == nullptr || comma->getOp() != glslang::EOpComma || comma->getSequence().size() != 2) return {};
    const glslang::TIntermConstantUnion* marker = comma->getSequence()[0]->getAsConstantUnion();
    if (marker == nullptr || marker->getType().getBasicType() != glslang::EbtInt ||
        marker->getConstArray().size() != 1) {
        return {};
    }
    const long long index = static_cast<long long>(marker->getConstArray()[0].getIConst()) - GuardMarker(0);
    if (index < 0 || index >= static_cast<long long>(count)) return {};
    return static_cast<size_t>(index);
}

bool IsFloat(const glslang::TType& type)
{
    const glslang::TBasicType basic = type.getBasicType();
    return basic == glslang::EbtFloat || basic == glslang::EbtDouble || basic == glslang::EbtFloat16;
}

// Marks the guarded operations that glslang folds otherwise than HLSL.
class GuardTraverser : public glslang::TIntermTraverser {
public:
    explicit GuardTraverser(size_t count) : keep(count, false) {}

    bool visitBinary(glslang::TVisit, TIntermBinary* node) override
    {
        const std::optional<size_t> index = GuardIndexOf(node->getRight(), keep.size());
        if (!index) return true;
        switch (node->getOp()) {
        case glslang::EOpMatrixTimesMatrix:
        case glslang::EOpMatrixTimesVector:
        case glslang::EOpVectorTimesMatrix: keep[*index] = true; break;
        case glslang::EOpMod: keep[*index] = IsFloat(node->getType()); break;
        case glslang::EOpLessThan:
        case glslang::EOpGreaterThan:
        case glslang::EOpLessThanEqual:
        case glslang::EOpGreaterThanEqual: keep[*index] = node->getType().isVector(); break;
        case glslang::EOpEqual:
        case glslang::EOpNotEqual:
            keep[*index] = node->getLeft()->getType().isMatrix() || node->getRight()->getType().isMatrix();
            break;
        default: break;
        }
        return true;
    }

    bool visitUnary(glslang::TVisit, glslang::TIntermUnary* node) override
    {
        KeepFunction(*node, node->getOperand());
        return true;
    }

    bool visitAggregate(glslang::TVisit, glslang::TIntermAggregate* node) override
    {
        if (!node->getSequence().empty()) KeepFunction(*node, node->getSequence()[0]);
        return true;
    }

    std::vector<bool> keep;

private:
    void KeepFunction(const glslang::TIntermOperator& node, TIntermNode* firstArgument)
    {
        const std::optional<size_t> index = GuardIndexOf(firstArgument, keep.size());
        if (index && IsComponentFunction(node.getOp()) && node.getType().isMatrix()) keep[*index] = true;
    }
};

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

    bool visitUnary(glslang::TVisit, glslang::TIntermUnary* node) override
    {
        if ((node->getOp() == glslang::EOpAll || node->getOp() == glslang::EOpAny) &&
            node->getOperand()->getType().isMatrix()) {
            Refuse(*node, node->getOp() == glslang::EOpAll ? kMatrixReducedByAll : kMatrixReducedByAny);
        }
        if (IsComponentFunction(node->getOp()) && node->getType().isMatrix()) Refuse(*node, kMatrixFunction);
        return true;
    }

    bool visitAggregate(glslang::TVisit, glslang::TIntermAggregate* node) override
    {
        if (IsComponentFunction(node->getOp()) && node->getType().isMatrix()) Refuse(*node, kMatrixFunction);
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

    void Refuse(const glslang::TIntermOperator& node, const char* format)
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

std::vector<bool> GuardsToKeep(glslang::TIntermediate& tree, size_t count)
{
    GuardTraverser traverser(count);
    if (tree.getTreeRoot() != nullptr) tree.getTreeRoot()->traverse(&traverser);
    return std::move(traverser.keep);
}

}  // namespace halvo::d3dcompiler
