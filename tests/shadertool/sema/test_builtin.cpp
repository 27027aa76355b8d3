#include "shadertool/sema/builtin.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "shadertool/sema/builtin_tables.h"
#include "shadertool/sema/function_table.h"

namespace ShaderTool {
namespace {

Type Vec(BaseType base, int size) { return Type::MakeVector(base, size); }

Type Float(int size) { return Vec(BaseType::FLOAT, size); }

std::vector<std::string> Signatures(const Array<FunctionNode*>& records)
{
    std::vector<std::string> signatures;
    for (const FunctionNode* record : records) {
        signatures.push_back(record->signature.GetText());
    }
    return signatures;
}

bool HasRecordNamed(const Array<FunctionNode*>& records, const char* name)
{
    for (const FunctionNode* record : records) {
        if (record->name == name) {
            return true;
        }
    }
    return false;
}

// Result types are judged row by row by the reference GLSL compiler; here:
// signatures are unique and the forms GLSL has but this language lacks are
// absent.
TEST(GeneralBuiltIns, SignaturesAreUniqueAndForeignFormsAbsent)
{
    BuiltInTable table;
    RegisterBuiltInFunctions(table.general);
    const std::vector<std::string> list = Signatures(table.general);
    const std::set<std::string> signatures(list.begin(), list.end());
    EXPECT_EQ(signatures.size(), 241u) << "signatures must be unique";
    for (const char* foreign : {"all,b2", "abs,i", "cross,f4,f4"}) EXPECT_EQ(signatures.count(foreign), 0u) << foreign;
}

TEST(IntrinsicIds, TableRowsAreInIdOrder)
{
    uint32_t expected = FIRST_INTRINSIC_ID;
    for (const IntrinsicName& row : kIntrinsicNames) {
        EXPECT_EQ(static_cast<uint32_t>(row.id), expected++);
    }
}

std::vector<std::string> StageSignatures(int32_t stage)
{
    BuiltInTable table;
    RegisterStageIntrinsics(table, stage);
    if (stage >= 0 && stage < STAGE_COUNT) {
        return Signatures(table.stage[stage]);
    }
    // An invalid stage makes no records anywhere.
    std::vector<std::string> all;
    for (const Array<FunctionNode*>& records : table.stage) {
        const std::vector<std::string> signatures = Signatures(records);
        all.insert(all.end(), signatures.begin(), signatures.end());
    }
    return all;
}

TEST(StageBuiltIns, RecordsPerStage)
{
    EXPECT_EQ(StageSignatures(STAGE_VERTEX).size(), 0u);
    EXPECT_EQ(StageSignatures(STAGE_PIXEL).size(), 12u);
    EXPECT_EQ(StageSignatures(STAGE_RCHIT).size(), 12u);
    EXPECT_EQ(StageSignatures(STAGE_RGEN).size(), 12u);
    EXPECT_EQ(StageSignatures(STAGE_RMISS).size(), 9u);
    EXPECT_EQ(StageSignatures(STAGE_INVALID).size(), 0u);
    EXPECT_EQ(StageSignatures(-1).size(), 0u);
    EXPECT_EQ(StageSignatures(31).size(), 0u);
}

// Result types with a GLSL counterpart are judged by the reference compiler;
// here: the ray-only records and the const resources every record reads.
TEST(StageBuiltIns, RayOnlyResultTypesAndConstResources)
{
    BuiltInTable table;
    RegisterStageIntrinsics(table, STAGE_RGEN);
    for (const FunctionNode* record : table.stage[STAGE_RGEN]) {
        const GroupNode* block = AsGroup(record->children[0]);
        const Type& first = AsVariable(block->children[0])->type;
        if (record->subKind == INTRINSIC_TRACE) {
            EXPECT_EQ(record->type.baseType, BaseType::VOID);
            EXPECT_EQ(block->children.GetCount(), 9);
        } else if (record->subKind == INTRINSIC_LOAD_INDICES) {
            EXPECT_EQ(GetTypeText(record->type, false), "uint3");
            EXPECT_EQ(first.isBuffer, 1);
        } else {
            EXPECT_EQ(first.qualifiers, QUALIFIER_CONST) << record->signature.GetText();
            EXPECT_EQ(first.baseType, record->subKind == INTRINSIC_STORE_IMAGE ? BaseType::IMAGE : BaseType::TEXTURE);
        }
    }
}

class PreparedFunctions : public ::testing::Test {
protected:
    void SetUp() override { RegisterBuiltInFunctions(table.general); }

    void Prepare(int32_t stage) { PrepareBuiltInsForStage(table, functions, stage); }

    std::string Resolve(const char* name, std::vector<Type> arguments)
    {
        FunctionEntry* entry =
            FindFunctionForArguments(functions, name, arguments.data(), static_cast<int>(arguments.size()));
        return entry != nullptr ? entry->signature.GetText() : "";
    }

    BuiltInTable table;
    FunctionTable functions;
};

TEST_F(PreparedFunctions, GeneralThenStageRecordsWithClearFlags)
{
    Prepare(STAGE_PIXEL);
    ASSERT_EQ(functions.GetCount(), 241 + 12);
    EXPECT_EQ(functions.GetEntry(0).signature, "bool,b");
    EXPECT_EQ(functions.GetEntry(240).signature, "unpackUnorm4ToFloat4,u");
    EXPECT_EQ(functions.GetEntry(241).signature, "sampleTexture,t2,f2");
    for (int index = 0; index < functions.GetCount(); ++index) {
        EXPECT_FALSE(functions.GetEntry(index).defined);
        EXPECT_FALSE(functions.GetEntry(index).referenced);
        EXPECT_TRUE(functions.GetEntry(index).function->isBuiltIn);
    }
    // A table emptied by someone else is filled again from the start.
    functions.Clear();
    Prepare(STAGE_PIXEL);
    EXPECT_EQ(functions.GetCount(), 241 + 12);
    EXPECT_EQ(functions.GetEntry(0).signature, "bool,b");
}

TEST_F(PreparedFunctions, PixelSourceSeesSampleTextureButRayAndVertexSourcesDoNot)
{
    Prepare(STAGE_PIXEL);
    EXPECT_EQ(Resolve("sampleTexture", {Type::MakeTexture(TEXTURE_2D), Float(2)}), "sampleTexture,t2,f2");
    Prepare(STAGE_RCHIT);
    EXPECT_EQ(Resolve("sampleTexture", {Type::MakeTexture(TEXTURE_2D), Float(2)}), "");
    EXPECT_EQ(Resolve("sampleTextureLod", {Type::MakeTexture(TEXTURE_CUBE), Float(3), Float(1)}),
              "sampleTextureLod,tc,f3,f");
    Prepare(STAGE_VERTEX);
    EXPECT_EQ(functions.GetCount(), 241);
    EXPECT_EQ(Resolve("sampleTextureLod", {Type::MakeTexture(TEXTURE_2D), Float(2), Float(1)}), "");
}

TEST_F(PreparedFunctions, MissSourceSeesNoTraceLoadIndicesOrStoreImage)
{
    Prepare(STAGE_RMISS);
    EXPECT_EQ(Resolve("sampleTextureGrad", {Type::MakeTexture(TEXTURE_2D), Float(2), Float(2), Float(2)}),
              "sampleTextureGrad,t2,f2,f2,f2");
    Array<FunctionEntry*> entries;
    functions.CollectFunctionsByName("trace", entries);
    functions.CollectFunctionsByName("loadIndices", entries);
    functions.CollectFunctionsByName("storeImage", entries);
    EXPECT_EQ(entries.GetCount(), 0);
}

// The first record that accepts the arguments, int arguments converted, and
// none for shapes no record takes; what each returns the reference GLSL
// compiler judges.
TEST_F(PreparedFunctions, CallsResolveToTheFirstAcceptingRecord)
{
    Prepare(STAGE_VERTEX);
    EXPECT_EQ(Resolve("lerp", {Float(3), Float(3), Float(1)}), "lerp,f3,f3,f");
    EXPECT_EQ(Resolve("lerp", {Float(3), Float(3), Float(3)}), "lerp,f3,f3,f3");
    EXPECT_EQ(Resolve("float4", {Float(2), Float(2)}), "float4,f2,f2");
    EXPECT_EQ(Resolve("float4", {Float(2), Float(3)}), "");
    EXPECT_EQ(Resolve("transpose", {Type::MakeMatrix(4)}), "transpose,fx4");
    EXPECT_EQ(Resolve("transpose", {Float(4)}), "");
    EXPECT_EQ(Resolve("cross", {Float(3), Float(3)}), "cross,f3,f3");
    EXPECT_EQ(Resolve("cross", {Float(4), Float(4)}), "");
    EXPECT_EQ(Resolve("abs", {Vec(BaseType::INT, 1)}), "abs,f");
    EXPECT_EQ(Resolve("float", {Vec(BaseType::INT, 1)}), "float,i");
    EXPECT_EQ(Resolve("uint3", {Vec(BaseType::INT, 1)}), "uint3,u");
    EXPECT_EQ(Resolve("abs", {Vec(BaseType::BOOL, 1)}), "");
    EXPECT_EQ(Resolve("nothing", {}), "");
}

TEST_F(PreparedFunctions, SecondStageReplacesTheFirstStagesRecords)
{
    Prepare(STAGE_RGEN);
    EXPECT_TRUE(HasRecordNamed(table.stage[STAGE_RGEN], "storeImage"));
    EXPECT_NE(functions.Find("storeImage,im2,u2,f4"), nullptr);
    Prepare(STAGE_PIXEL);
    EXPECT_EQ(table.stage[STAGE_PIXEL].GetCount(), 12);
    EXPECT_FALSE(HasRecordNamed(table.stage[STAGE_PIXEL], "storeImage"));
    EXPECT_FALSE(HasRecordNamed(table.stage[STAGE_PIXEL], "trace"));
    EXPECT_EQ(functions.GetCount(), 241 + 12);
    EXPECT_EQ(functions.Find("storeImage,im2,u2,f4"), nullptr);
    Array<FunctionEntry*> stores;
    functions.CollectFunctionsByName("storeImage", stores);
    EXPECT_EQ(stores.GetCount(), 0);
}

// A parse leaves user entries and flags behind; the next preparation, of the
// same stage or of another, starts from the built-ins alone with clear flags
// and keeps the records it made, which calls of earlier trees point to.
TEST_F(PreparedFunctions, LaterPreparationsForgetUserEntriesAndFlagsAndKeepRecords)
{
    Prepare(STAGE_PIXEL);
    const FunctionNode* sample = functions.Find("sampleTexture,t2,f2")->function;
    FunctionNode user(NodeKind::Function);
    functions.Insert("abs,b", &user);
    functions.Insert("shade,f", &user);
    functions.Find("abs,f")->referenced = true;
    functions.Find("sampleTexture,t2,f2")->defined = true;
    for (int32_t stage : {STAGE_PIXEL, STAGE_VERTEX, STAGE_PIXEL}) {
        Prepare(stage);
        EXPECT_EQ(functions.Find("shade,f"), nullptr);
        EXPECT_EQ(functions.Find("abs,b"), nullptr);
        Array<FunctionEntry*> overloads;
        functions.CollectFunctionsByName("abs", overloads);
        for (FunctionEntry* entry : overloads) EXPECT_TRUE(entry->function->isBuiltIn);
        for (int index = 0; index < functions.GetCount(); ++index) {
            EXPECT_FALSE(functions.GetEntry(index).defined);
            EXPECT_FALSE(functions.GetEntry(index).referenced);
        }
        functions.Insert("shade,f", &user);
        functions.Find("abs,f")->referenced = true;
    }
    EXPECT_EQ(functions.GetCount(), 241 + 12 + 1);
    EXPECT_EQ(functions.Find("sampleTexture,t2,f2")->function, sample);
}

TEST(BuiltInRecords, InsertSymbolMakesAnEmptyRecordThatRegisteringFills)
{
    Array<FunctionNode*> records;
    FunctionNode* record = InsertSymbol("lerp", INTRINSIC_LERP, records);
    ASSERT_EQ(records.GetCount(), 1);
    EXPECT_EQ(records[0], record);
    EXPECT_EQ(record->type.baseType, BaseType::UNDEFINED);
    EXPECT_EQ(record->subKind, INTRINSIC_LERP);
    EXPECT_TRUE(record->signature.IsEmpty());
    EXPECT_TRUE(record->isBuiltIn);
    EXPECT_TRUE(record->hasBody);
    ASSERT_EQ(record->children.GetCount(), 1);
    EXPECT_EQ(AsGroup(record->children[0])->children.GetCount(), 0);
    // Registering fills the block with unnamed parameters and the signature.
    const Type parameters[] = {Float(3), Float(3), Float(1)};
    RegisterBuiltInFunction(*record, Float(3), parameters, 3);
    EXPECT_EQ(record->signature, "lerp,f3,f3,f");
    EXPECT_EQ(record->kind, NodeKind::Function);
    const GroupNode* block = AsGroup(record->children[0]);
    ASSERT_EQ(block->children.GetCount(), 3);
    EXPECT_TRUE(AsVariable(block->children[2])->name.IsEmpty());
    EXPECT_EQ(AsVariable(block->children[2])->type.vectorSize, 1);
    ClearFunctionRecords(records);
    EXPECT_EQ(records.GetCount(), 0);
}

}  // namespace
}  // namespace ShaderTool
