#include "shadertool/sema/function_table.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "shadertool/parser/declared_type.h"

namespace ShaderTool {
namespace {

// Function nodes for the table to point at; the table never owns them.
class FunctionTableTest : public ::testing::Test {
protected:
    FunctionNode* MakeFunction(const char* name, std::vector<Type> parameters)
    {
        auto function = std::make_unique<FunctionNode>(NodeKind::Function);
        function->name = name;
        auto block = std::make_unique<GroupNode>(Block);
        for (const Type& type : parameters) {
            auto parameter = std::make_unique<VariableNode>();
            parameter->type = type;
            block->children.Add(parameter.get());
            nodes.push_back(std::move(parameter));
        }
        function->children.Add(block.get());
        nodes.push_back(std::move(block));
        function->signature = BuildSignature(*function);
        FunctionNode* result = function.get();
        nodes.push_back(std::move(function));
        return result;
    }

    FunctionEntry* Enter(FunctionNode* function, bool* added = nullptr)
    {
        return table.Insert(function->signature.GetText(), function, added);
    }

    std::vector<std::unique_ptr<Node>> nodes;
    FunctionTable table;
};

TEST_F(FunctionTableTest, InsertedSignatureIsFoundWithClearFlagsAndKeepsItsFirstEntry)
{
    FunctionNode* function = MakeFunction("shade", {Type::MakeVector(BaseType::FLOAT, 3)});
    bool added = false;
    FunctionEntry* entry = Enter(function, &added);
    EXPECT_TRUE(added);
    ASSERT_EQ(table.Find("shade,f3"), entry);
    EXPECT_EQ(entry->function, function);
    EXPECT_FALSE(entry->defined);
    EXPECT_FALSE(entry->referenced);
    EXPECT_EQ(table.Find("shade,f4"), nullptr);
    EXPECT_EQ(table.Find("shade"), nullptr);
    EXPECT_EQ(table.Find(nullptr), nullptr);
    // Entering the signature again keeps the first entry as it is.
    entry->defined = true;
    EXPECT_EQ(Enter(MakeFunction("shade", {Type::MakeVector(BaseType::FLOAT, 3)}), &added), entry);
    EXPECT_FALSE(added);
    EXPECT_EQ(entry->function, function);
    EXPECT_TRUE(entry->defined);
    EXPECT_EQ(table.GetCount(), 1);
}

TEST_F(FunctionTableTest, ManyEntriesStayFindableInInsertionOrder)
{
    std::vector<std::string> signatures;
    for (int index = 0; index < 3000; ++index) {
        std::string name = "f" + std::to_string(index);
        FunctionNode* function = MakeFunction(name.c_str(), {Type::MakeVector(BaseType::INT, 1 + index % 4)});
        Enter(function);
        signatures.push_back(function->signature.GetText());
    }
    ASSERT_EQ(table.GetCount(), 3000);
    for (int index = 0; index < 3000; ++index) {
        EXPECT_EQ(table.GetEntry(index).signature, signatures[index].c_str());
        FunctionEntry* found = table.Find(signatures[index].c_str());
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found, &table.GetEntry(index));
    }
}

TEST_F(FunctionTableTest, CollectByNameNeedsTheCommaAfterTheName)
{
    Enter(MakeFunction("atan", {Type::MakeVector(BaseType::FLOAT, 1)}));
    Enter(MakeFunction("atan2", {Type::MakeVector(BaseType::FLOAT, 1), Type::MakeVector(BaseType::FLOAT, 1)}));
    Enter(MakeFunction("atan", {Type::MakeVector(BaseType::FLOAT, 2)}));
    Enter(MakeFunction("at", {}));
    Enter(MakeFunction("atan2", {Type::MakeVector(BaseType::FLOAT, 2)}));
    Array<FunctionEntry*> entries;
    table.CollectFunctionsByName("atan", entries);
    ASSERT_EQ(entries.GetCount(), 2);
    EXPECT_EQ(entries[0]->signature, "atan,f");
    EXPECT_EQ(entries[1]->signature, "atan,f2");
    Array<FunctionEntry*> none;
    table.CollectFunctionsByName("ata", none);
    table.CollectFunctionsByName(nullptr, none);
    EXPECT_EQ(none.GetCount(), 0);
    // A name with a "," spans the name and the first parameter: it finds what
    // a comparison of the text would.
    Array<FunctionEntry*> spanning;
    table.CollectFunctionsByName("atan2,f", spanning);
    ASSERT_EQ(spanning.GetCount(), 1);
    EXPECT_EQ(spanning[0]->signature, "atan2,f,f");
}

// Truncating forgets the later entries for every lookup and clears the flags
// of those kept; entries made afterwards are found in their place.
TEST_F(FunctionTableTest, TruncateForgetsLaterEntriesAndClearsTheFlagsOfTheRest)
{
    for (int index = 0; index < 600; ++index) {
        Enter(MakeFunction(index % 2 == 0 ? "even" : ("f" + std::to_string(index)).c_str(),
                           {Type::MakeVector(BaseType::FLOAT, 1 + index % 4)}));
    }
    table.GetEntry(0).referenced = true;
    table.GetEntry(1).defined = true;
    table.Truncate(3);
    ASSERT_EQ(table.GetCount(), 3);
    EXPECT_FALSE(table.GetEntry(0).referenced);
    EXPECT_FALSE(table.GetEntry(1).defined);
    EXPECT_EQ(table.Find("f599,f4"), nullptr);
    EXPECT_NE(table.Find("f1,f2"), nullptr);
    Array<FunctionEntry*> evens;
    table.CollectFunctionsByName("even", evens);
    ASSERT_EQ(evens.GetCount(), 2);
    EXPECT_EQ(evens[0]->signature, "even,f");
    EXPECT_EQ(evens[1]->signature, "even,f3");
    Enter(MakeFunction("even", {Type::MakeVector(BaseType::FLOAT, 2)}));
    Array<FunctionEntry*> again;
    table.CollectFunctionsByName("even", again);
    ASSERT_EQ(again.GetCount(), 3);
    EXPECT_EQ(again[2]->signature, "even,f2");
    EXPECT_EQ(table.Find("even,f2"), again[2]);
}

TEST_F(FunctionTableTest, ClearForgetsEveryEntryAndAcceptsNewOnes)
{
    Enter(MakeFunction("a", {}));
    Enter(MakeFunction("b", {}));
    table.Clear();
    EXPECT_EQ(table.GetCount(), 0);
    EXPECT_EQ(table.Find("a,"), nullptr);
    Enter(MakeFunction("b", {}));
    EXPECT_NE(table.Find("b,"), nullptr);
    EXPECT_EQ(table.GetCount(), 1);
}

TEST_F(FunctionTableTest, ArgumentMatchTakesTheFirstAcceptingFunctionWithConversionAndArraySizes)
{
    Enter(MakeFunction("f", {Type::MakeVector(BaseType::FLOAT, 1)}));
    Enter(MakeFunction("f", {Type::MakeVector(BaseType::UINT, 1)}));
    Type intArgument = Type::MakeVector(BaseType::INT, 1);
    Type uintArgument = Type::MakeVector(BaseType::UINT, 1);
    EXPECT_EQ(FindFunctionForArguments(table, "f", &intArgument, 1)->signature, "f,f");
    EXPECT_EQ(FindFunctionForArguments(table, "f", &uintArgument, 1)->signature, "f,f");
    EXPECT_EQ(FindFunctionForArguments(table, "f", nullptr, 0), nullptr);
    EXPECT_EQ(FindFunctionForArguments(table, "f", &intArgument, -1), nullptr);
    // Array sizes must be equal, an unsized parameter takes any array.
    Enter(MakeFunction("f", {Type::MakeVector(BaseType::FLOAT, 1, 0, 2)}));
    Enter(MakeFunction("g", {Type::MakeVector(BaseType::FLOAT, 1, 0, UNSIZED_ARRAY)}));
    const Type array4 = Type::MakeVector(BaseType::FLOAT, 1, 0, 4);
    const Type array2 = Type::MakeVector(BaseType::INT, 1, 0, 2);
    const Type scalar = Type::MakeVector(BaseType::FLOAT, 1);
    EXPECT_EQ(FindFunctionForArguments(table, "f", &array4, 1), nullptr);
    EXPECT_EQ(FindFunctionForArguments(table, "f", &array2, 1)->signature, "f,f[2");
    EXPECT_EQ(FindFunctionForArguments(table, "f", &scalar, 1)->signature, "f,f");
    EXPECT_EQ(FindFunctionForArguments(table, "g", &array4, 1)->signature, "g,f[-1");
    EXPECT_EQ(FindFunctionForArguments(table, "g", &scalar, 1), nullptr);
}

}  // namespace
}  // namespace ShaderTool
