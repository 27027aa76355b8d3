#include <cstring>

#include "shadertool/parser/tree_builder.h"
#include "shadertool/sema/checks.h"
#include "shadertool/sema/expression.h"
#include "shadertool/sema/semantic_messages.h"

namespace ShaderTool {

namespace {

// The names of the stage variables, which no variable may take.
bool IsBuiltInVariableName(const char* name)
{
    return std::strcmp(name, "input") == 0 || std::strcmp(name, "output") == 0 || std::strcmp(name, "texture") == 0;
}

// An item of an initialiser list has exactly the element type, unconverted.
bool ItemMatchesElement(const Type& element, const Type& item)
{
    return element.baseType == item.baseType && element.vectorSize == item.vectorSize &&
           element.matrixSize == item.matrixSize && element.textureDimension == item.textureDimension &&
           element.isBuffer == item.isBuffer && element.name == item.name && item.arraySize == 0;
}

void ReportAt(ParseContext& context, SourceLocation location, const char* message)
{
    ReportError(context, location.line, location.column, message);
}

}  // namespace

bool DeclareSymbol(ParseContext& context, VariableNode* variable)
{
    if (variable == nullptr || variable->name.IsEmpty()) {
        return false;
    }
    if (context.symbols.Find(variable->name.GetText()) != nullptr) {
        ReportErrorAt(context, variable,
                      String::Formatted(SemanticMessage::kAlreadyDeclared, variable->name.GetText()).GetText());
        return false;
    }
    context.symbols.Declare(variable);
    return true;
}

Node* DeclareVariable(ParseContext& context, const Type& type, const char* name, SourceLocation nameLocation,
                      Node* initializer, SourceLocation assignLocation)
{
    if (type.baseType == BaseType::TEXTURE || type.baseType == BaseType::VOID) {
        ReportAt(context, nameLocation, SemanticMessage::kInvalidTypeSpecifier);
    }
    if (IsBuiltInVariableName(name)) {
        ReportAt(context, nameLocation, String::Formatted(SemanticMessage::kVariableNamedLikeBuiltIn, name).GetText());
    }
    VariableNode* variable = CreateVariableNode(context, type, name, nameLocation);
    if ((type.qualifiers & QUALIFIER_CONST) != 0) {
        const Type* initializerType = GetNodeType(initializer);
        if (initializer == nullptr) {
            ReportAt(context, nameLocation, SemanticMessage::kConstNotInitialized);
        } else if (initializerType == nullptr || initializerType->isConstant == 0) {
            ReportErrorAt(context, initializer, SemanticMessage::kConstInitializerNotConstant);
        } else if (type.arraySize != 0) {
            ReportAt(context, nameLocation, SemanticMessage::kConstArray);
        } else {
            variable->type.isConstant = 1;
        }
    }
    Node* declarator = variable;
    if (initializer != nullptr) {
        OperatorNode* assignment = CreateOperatorNode(context, OP_ASSIGN, assignLocation);
        assignment->flags |= NODE_FLAG_INITIALIZATION;
        CheckOperator(context, assignment, variable, initializer);
        declarator = assignment;
    }
    DeclareSymbol(context, variable);
    return declarator;
}

void CheckArrayInitializer(ParseContext& context, TypeSpecifier& specifier, GroupNode* list, SourceLocation location)
{
    const int itemCount = list != nullptr ? list->children.GetCount() : 0;
    if (specifier.arraySize == 0) {
        ReportAt(context, location, SemanticMessage::kArraySizeZero);
    } else if (specifier.arraySize == UNSIZED_ARRAY) {
        if (list != nullptr) {
            specifier.arraySize = itemCount;
        } else {
            ReportAt(context, location, SemanticMessage::kArraySizeRequired);
        }
    } else if (list != nullptr && itemCount != specifier.arraySize) {
        ReportAt(context, location, SemanticMessage::kArraySizeMismatch);
    }
    if (list == nullptr) {
        return;
    }
    list->type = MakeTypeFromSpecifier(specifier);
    const Type element = MakeTypeFromSpecifier([&specifier] {
        TypeSpecifier single = specifier;
        single.arraySize = 0;
        return single;
    }());
    bool allConstant = true;
    for (Node* item : list->children) {
        const Type* itemType = GetNodeType(item);
        if (itemType == nullptr || !ItemMatchesElement(element, *itemType)) {
            ReportErrorAt(context, item, SemanticMessage::kListItemMismatch);
        }
        allConstant = allConstant && itemType != nullptr && itemType->isConstant != 0;
    }
    list->type.isConstant = allConstant ? 1 : 0;
}

TypeSpecifier DeclareStruct(ParseContext& context, const char* name, SourceLocation nameLocation,
                            const GroupNode* members)
{
    StructEntry declared;
    declared.name.Assign(name);
    const int memberCount = members != nullptr ? members->children.GetCount() : 0;
    for (int index = 0; index < memberCount; ++index) {
        const VariableNode* member = AsVariable(members->children[index]);
        if (member == nullptr) {
            continue;
        }
        if (!declared.AddMember(member->name.GetText(), member->type, {member->column, member->line})) {
            ReportErrorAt(context, member,
                          String::Formatted(SemanticMessage::kDuplicateMember, name, member->name.GetText()).GetText());
        }
    }
    bool added = false;
    StructEntry* entry = context.structs.Insert(name, &added);
    if (!added) {
        ReportAt(context, nameLocation, String::Formatted(SemanticMessage::kStructAlreadyDeclared, name).GetText());
    } else if (entry != nullptr) {
        entry->members = declared.members;
    }
    return MakeStructSpecifier(name, true);
}

GroupNode* MakeStructDeclarationGroup(ParseContext& context, const char* structName)
{
    GroupNode* group = CreateNode(context, StructDeclaration);
    group->type = Type::MakeStruct(structName);
    if (const StructEntry* entry = context.structs.Find(structName)) {
        for (const StructMember& member : entry->members) {
            AppendChild(group, CreateVariableNode(context, member.type, member.name.GetText(), member.location));
        }
    }
    return group;
}

void CheckUserType(ParseContext& context, const char* name, SourceLocation location)
{
    const StructEntry* entry = context.structs.Find(name);
    if (entry != nullptr && entry->isStageStruct) {
        ReportAt(context, location, String::Formatted(SemanticMessage::kStageStructAsType, name).GetText());
    }
}

GroupNode* CreateStructDeclaration(ParseContext& context, const TypeSpecifier& specifier, SourceLocation location)
{
    if (specifier.qualifiers != 0) {
        ReportAt(context, location, SemanticMessage::kQualifiedStructDeclaration);
        return nullptr;
    }
    if (context.currentFunction != nullptr) {
        ReportAt(context, location, SemanticMessage::kStructNotGlobal);
        return nullptr;
    }
    if (specifier.baseType != BaseType::STRUCT || context.structs.Find(specifier.structName) == nullptr) {
        ReportAt(context, location, SemanticMessage::kInvalidDeclaration);
        return nullptr;
    }
    return MakeStructDeclarationGroup(context, specifier.structName);
}

}  // namespace ShaderTool
