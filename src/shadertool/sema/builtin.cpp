#include "shadertool/sema/builtin.h"

#include "shadertool/sema/builtin_tables.h"
#include "shadertool/sema/function_table.h"

namespace ShaderTool {

namespace {

using BuiltInTables::kGeneralBuiltIns;
using BuiltInTables::kStageBuiltIns;

void DeleteRecord(FunctionNode* record)
{
    for (Node* child : record->children) {
        if (GroupNode* block = AsGroup(child)) {
            for (Node* parameter : block->children) {
                delete parameter;
            }
        }
        delete child;
    }
    delete record;
}

// Makes one record from a table row: the name of its id, its result and its
// parameters up to the first None.
void RegisterRow(Array<FunctionNode*>& records, IntrinsicId id, TypeCode result, const TypeCode* parameterCodes)
{
    Type parameters[kMaxBuiltInParameters];
    int parameterCount = 0;
    while (parameterCount < kMaxBuiltInParameters && parameterCodes[parameterCount] != TypeCode::None) {
        parameters[parameterCount] = MakeTypeFromCode(parameterCodes[parameterCount]);
        ++parameterCount;
    }
    FunctionNode* record = InsertSymbol(GetIntrinsicName(id), id, records);
    RegisterBuiltInFunction(*record, MakeTypeFromCode(result), parameters, parameterCount);
}

}  // namespace

const char* GetIntrinsicName(uint32_t id)
{
    if (id < FIRST_INTRINSIC_ID || id > LAST_INTRINSIC_ID) {
        return "";
    }
    return kIntrinsicNames[id - FIRST_INTRINSIC_ID].name;
}

BuiltInTable::~BuiltInTable()
{
    ClearFunctionRecords(general);
    for (Array<FunctionNode*>& records : stage) {
        ClearFunctionRecords(records);
    }
}

FunctionNode* InsertSymbol(const char* name, uint32_t id, Array<FunctionNode*>& records)
{
    FunctionNode* record = new FunctionNode(NodeKind::Function);
    record->name.Assign(name);
    record->subKind = id;
    record->isBuiltIn = true;
    record->hasBody = true;
    record->children.Add(new GroupNode(Block));
    records.Add(record);
    return record;
}

void RegisterBuiltInFunction(FunctionNode& record, const Type& returnType, const Type* parameters, int parameterCount)
{
    record.type = returnType;
    GroupNode* block = record.children.GetCount() > 0 ? AsGroup(record.children[0]) : nullptr;
    if (block == nullptr) {
        block = new GroupNode(Block);
        record.children.InsertAt(0, block);
    }
    for (int index = 0; parameters != nullptr && index < parameterCount; ++index) {
        VariableNode* parameter = new VariableNode;
        parameter->type = parameters[index];
        block->children.Add(parameter);
    }
    record.signature = BuildSignature(record);
}

void RegisterBuiltInFunctions(Array<FunctionNode*>& general)
{
    for (const BuiltInTables::GeneralBuiltIn& row : kGeneralBuiltIns) {
        RegisterRow(general, row.id, row.result, row.parameters);
    }
}

void RegisterStageIntrinsics(BuiltInTable& table, int32_t stage)
{
    if (stage < 0 || stage >= STAGE_COUNT || table.stageMade[stage]) {
        return;
    }
    const uint32_t stageFlag = 1u << stage;
    for (const BuiltInTables::StageBuiltIn& row : kStageBuiltIns) {
        if ((row.stageFlags & stageFlag) != 0) {
            RegisterRow(table.stage[stage], row.id, row.result, row.parameters);
        }
    }
    table.stageMade[stage] = true;
}

void ClearFunctionRecords(Array<FunctionNode*>& records)
{
    for (FunctionNode* record : records) {
        DeleteRecord(record);
    }
    records.Clear();
}

namespace {

// Whether the table still begins with the general entries that the last
// preparation entered into it.
bool HoldsGeneralEntries(const BuiltInTable& table, FunctionTable& functions)
{
    return table.preparedTable == &functions && table.generalEntryCount > 0 &&
           functions.GetCount() >= table.generalEntryCount &&
           &functions.GetEntry(table.generalEntryCount - 1) == table.lastGeneralEntry;
}

}  // namespace

void PrepareBuiltInsForStage(BuiltInTable& table, FunctionTable& functions, int32_t stage)
{
    if (!HoldsGeneralEntries(table, functions)) {
        functions.Clear();
        for (FunctionNode* record : table.general) {
            functions.Insert(record->signature.GetText(), record);
        }
        table.preparedTable = &functions;
        table.generalEntryCount = functions.GetCount();
        table.lastGeneralEntry =
            table.generalEntryCount > 0 ? &functions.GetEntry(table.generalEntryCount - 1) : nullptr;
        table.preparedStage = STAGE_INVALID;
    }
    if (stage == table.preparedStage && functions.GetCount() >= table.preparedEntryCount) {
        functions.Truncate(table.preparedEntryCount);
        return;
    }
    functions.Truncate(table.generalEntryCount);
    RegisterStageIntrinsics(table, stage);
    if (stage >= 0 && stage < STAGE_COUNT) {
        for (FunctionNode* record : table.stage[stage]) {
            functions.Insert(record->signature.GetText(), record);
        }
    }
    table.preparedStage = stage;
    table.preparedEntryCount = functions.GetCount();
}

}  // namespace ShaderTool
