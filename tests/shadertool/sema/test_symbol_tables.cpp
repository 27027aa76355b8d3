// The symbol table's scopes and the struct table's entries.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "shadertool/sema/struct_table.h"
#include "shadertool/sema/symbol_table.h"

namespace {

// The same name declared in nested scopes (the checks refuse it in a source,
// the table itself does not) is found at its innermost declaration, and
// closing that scope forgets its own names and uncovers the one before,
// however many names are open; the global scope never closes.
TEST(SymbolTable, ANameFoundAtItsLatestDeclarationUncoversTheOneBeforeWhenItsScopeCloses)
{
    std::vector<std::unique_ptr<ShaderTool::VariableNode>> variables;
    auto make = [&](const std::string& name) {
        variables.push_back(std::make_unique<ShaderTool::VariableNode>());
        variables.back()->name = name.c_str();
        return variables.back().get();
    };
    ShaderTool::SymbolTable symbols;
    ShaderTool::VariableNode* global = make("x");
    symbols.Declare(global);
    for (int index = 0; index < 2000; ++index) symbols.Declare(make("g" + std::to_string(index)));
    symbols.PushScope();
    ShaderTool::VariableNode* middle = make("x");
    symbols.Declare(middle);
    symbols.PushScope();
    ShaderTool::VariableNode* inner = make("x");
    symbols.Declare(inner);
    symbols.Declare(make("only_inner"));
    EXPECT_EQ(symbols.Find("x"), inner);
    EXPECT_EQ(symbols.Find("g1999")->name, "g1999");
    symbols.PopScope();
    EXPECT_EQ(symbols.Find("x"), middle);
    EXPECT_EQ(symbols.Find("only_inner"), nullptr);
    symbols.PopScope();
    EXPECT_EQ(symbols.Find("x"), global);
    symbols.PopScope();  // the global scope stays open
    EXPECT_EQ(symbols.Find("x"), global);
    EXPECT_EQ(symbols.GetScopeDepth(), 1);
    symbols.Clear();
    EXPECT_EQ(symbols.Find("x"), nullptr);
    EXPECT_EQ(symbols.Find("g0"), nullptr);
    EXPECT_EQ(symbols.Find(nullptr), nullptr);
}

TEST(StructTable, EntriesStayWhereTheyAreWhileTheTableGrows)
{
    ShaderTool::StructTable structs;
    ShaderTool::StructEntry* first = structs.Insert("First");
    first->AddMember("value", ShaderTool::Type::MakeVector(ShaderTool::BaseType::FLOAT, 1), {});
    for (int index = 0; index < 1000; ++index) structs.Insert(("S" + std::to_string(index)).c_str());
    EXPECT_EQ(structs.Find("First"), first);
    EXPECT_EQ(first->members.GetCount(), 1);
    EXPECT_TRUE(structs.HoldsTypeName("S999"));
    EXPECT_FALSE(structs.HoldsTypeName("S1000"));
    bool added = true;
    EXPECT_EQ(structs.Insert("First", &added), first);
    EXPECT_FALSE(added);
    EXPECT_EQ(structs.GetEntry(0).name, "First");
}

}  // namespace
