/* The grammar of the shading language. Each production builds its part of
   the syntax tree and runs its checks as it is reduced; precedence and
   associativity come from the layering of the expression rules alone. */

%code requires {
#include "shadertool/parser/grammar_symbol.h"
#include "shadertool/parser/parse_context.h"

#define HVSLSTYPE ShaderTool::GrammarSymbol
#define HVSLSTYPE_IS_TRIVIAL 1
#define HVSLSTYPE_IS_DECLARED 1
}

%code {
#include "shadertool/basic/operator.h"
#include "shadertool/parser/grammar.h"
#include "shadertool/parser/grammar_actions.h"
#include "shadertool/parser/scanner_bridge.h"
#include "shadertool/parser/tree_builder.h"
#include "shadertool/sema/checks.h"
#include "shadertool/sema/expression.h"
#include "shadertool/sema/semantic_messages.h"

using namespace ShaderTool;

static int hvsllex(HVSLSTYPE* symbol, ParseContext& context) {
    return NextToken(context, symbol);
}

static void hvslerror(ParseContext& context, const char* message) {
    ReportError(context, context.tokenLocation.line, context.tokenLocation.column, message);
}
}

%define api.pure full
/* The trace of every step on the standard error stream, off until hvsldebug is set. */
%define parse.trace
%define api.prefix {hvsl}
%param {ShaderTool::ParseContext& context}

/* A state that could still shift reads its lookahead before it reduces, so
   that a bad token is reported before any action of the declaration it
   interrupts runs. */
%define lr.default-reduction consistent

/* The dangling else, settled by shifting: an else belongs to the nearest if. */
%expect 1

%token HVSL_BOOL HVSL_FLOAT HVSL_FLOAT2 HVSL_FLOAT2X2 HVSL_FLOAT3 HVSL_FLOAT3X3 HVSL_FLOAT4 HVSL_FLOAT4X4
%token HVSL_INT HVSL_INT2 HVSL_INT3 HVSL_INT4 HVSL_UINT HVSL_UINT2 HVSL_UINT3 HVSL_UINT4 HVSL_VOID
%token HVSL_TEXTURE2D HVSL_TEXTURE3D HVSL_TEXTURECUBE HVSL_USER_TYPE
%token HVSL_BREAK HVSL_CONST HVSL_CONTINUE HVSL_DISCARD HVSL_DO HVSL_ELSE HVSL_FOR HVSL_IF HVSL_RETURN
%token HVSL_STRUCT HVSL_WHILE
%token HVSL_BOOL_CONSTANT HVSL_FLOAT_CONSTANT HVSL_IDENTIFIER HVSL_INT_CONSTANT HVSL_UINT_CONSTANT
%token HVSL_DECREASE_OP HVSL_INCREASE_OP HVSL_LEFT_SHIFT_OP HVSL_RIGHT_SHIFT_OP
%token HVSL_GREATER_THAN_EQUAL_OP HVSL_LESS_THAN_EQUAL_OP HVSL_EQUAL_OP HVSL_NOT_EQUAL_OP
%token HVSL_LOGICAL_AND_OP HVSL_LOGICAL_OR_OP
%token HVSL_ASSIGN_ADD HVSL_ASSIGN_AND HVSL_ASSIGN_DIVIDE HVSL_ASSIGN_LEFT_SHIFT HVSL_ASSIGN_MODULO
%token HVSL_ASSIGN_MULTIPLY HVSL_ASSIGN_OR HVSL_ASSIGN_RIGHT_SHIFT HVSL_ASSIGN_SUBTRACT HVSL_ASSIGN_XOR
%token HVSL_AMPERSAND HVSL_ASTERISK HVSL_CARET HVSL_COLON HVSL_COMMA HVSL_DASH HVSL_EQUAL HVSL_EXCLAMATION
%token HVSL_PERCENT HVSL_PERIOD HVSL_PLUS HVSL_QUESTION HVSL_SEMICOLON HVSL_SLASH HVSL_TILDE HVSL_VERTICAL_BAR
%token HVSL_LEFT_BRACE HVSL_LEFT_BRACKET HVSL_LEFT_CHEVRON HVSL_LEFT_PARENTHESIS
%token HVSL_RIGHT_BRACE HVSL_RIGHT_BRACKET HVSL_RIGHT_CHEVRON HVSL_RIGHT_PARENTHESIS
%token HVSL_RESERVED

%start translation_unit

%%

variable_identifier
    : HVSL_IDENTIFIER { $$ = $1; $$.node = UseIdentifier(context, $1); }
    ;

primary_expression
    : variable_identifier { $$ = $1; }
    | HVSL_INT_CONSTANT { $$ = $1; $$.node = CreateConstantNode(context, BaseType::INT, $1.text, $1.GetLocation()); }
    | HVSL_UINT_CONSTANT { $$ = $1; $$.node = CreateConstantNode(context, BaseType::UINT, $1.text, $1.GetLocation()); }
    | HVSL_FLOAT_CONSTANT { $$ = $1; $$.node = CreateConstantNode(context, BaseType::FLOAT, $1.text, $1.GetLocation()); }
    | HVSL_BOOL_CONSTANT { $$ = $1; $$.node = CreateConstantNode(context, BaseType::BOOL, $1.text, $1.GetLocation()); }
    | HVSL_LEFT_PARENTHESIS expression HVSL_RIGHT_PARENTHESIS { $$ = $1; $$.node = MakeParentheses(context, $2.node, $1.GetLocation()); }
    ;

postfix_expression
    : primary_expression { $$ = $1; }
    | postfix_expression HVSL_LEFT_BRACKET integer_expression HVSL_RIGHT_BRACKET { $$ = $1; $$.node = CreateSubscript(context, $1.node, $3.node, $2.GetLocation()); }
    | function_call { $$ = $1; }
    | postfix_expression HVSL_PERIOD HVSL_IDENTIFIER { $$ = $1; $$.node = CreateMemberAccess(context, $1.node, $3.text, $2.GetLocation(), $3.GetLocation()); }
    | postfix_expression HVSL_INCREASE_OP { $$ = $1; $$.node = MakeOperator(context, OP_POST_INCREMENT, $1.node, nullptr, $2.GetLocation()); }
    | postfix_expression HVSL_DECREASE_OP { $$ = $1; $$.node = MakeOperator(context, OP_POST_DECREMENT, $1.node, nullptr, $2.GetLocation()); }
    ;

integer_expression
    : expression { $$ = $1; }
    ;

function_call
    : function_call_or_method { $$ = $1; }
    ;

function_call_or_method
    : function_call_generic { $$ = $1; }
    ;

function_call_generic
    : function_call_header_with_parameters HVSL_RIGHT_PARENTHESIS { $$ = $1; FinishCall(context, AsFunction($1.node)); }
    | function_call_header_no_parameters HVSL_RIGHT_PARENTHESIS { $$ = $1; FinishCall(context, AsFunction($1.node)); }
    ;

function_call_header_no_parameters
    : function_call_header { $$ = $1; }
    ;

function_call_header_with_parameters
    : function_call_header assignment_expression { $$ = $1; AppendToChildBlock($1.node, $2.node); }
    | function_call_header_with_parameters HVSL_COMMA assignment_expression { $$ = $1; AppendToChildBlock($1.node, $3.node); }
    ;

function_call_header
    : function_identifier HVSL_LEFT_PARENTHESIS { $$ = $1; $$.node = MakeCallHeader(context, $1, $2.GetLocation()); }
    ;

function_identifier
    : type_specifier { $$ = $1; }
    | HVSL_IDENTIFIER { $$ = $1; }
    ;

unary_expression
    : postfix_expression { $$ = $1; CheckStageVariableUse(context, $1.node, $1.GetLocation()); }
    | HVSL_INCREASE_OP unary_expression { $$ = $1; $$.node = MakeOperator(context, OP_PRE_INCREMENT, $2.node, nullptr, $1.GetLocation()); }
    | HVSL_DECREASE_OP unary_expression { $$ = $1; $$.node = MakeOperator(context, OP_PRE_DECREMENT, $2.node, nullptr, $1.GetLocation()); }
    | unary_operator unary_expression { $$ = $1; $$.node = MakeOperator(context, $1.operatorIndex, $2.node, nullptr, $1.GetLocation()); }
    ;

unary_operator
    : HVSL_PLUS { $$ = $1; $$.operatorIndex = OP_UNARY_PLUS; }
    | HVSL_DASH { $$ = $1; $$.operatorIndex = OP_NEGATE; }
    | HVSL_EXCLAMATION { $$ = $1; $$.operatorIndex = OP_LOGICAL_NOT; }
    | HVSL_TILDE { $$ = $1; $$.operatorIndex = OP_BITWISE_NOT; }
    ;

multiplicative_expression
    : unary_expression { $$ = $1; }
    | multiplicative_expression HVSL_ASTERISK unary_expression { $$ = $1; $$.node = MakeOperator(context, OP_MULTIPLY, $1.node, $3.node, $2.GetLocation()); }
    | multiplicative_expression HVSL_SLASH unary_expression { $$ = $1; $$.node = MakeOperator(context, OP_DIVIDE, $1.node, $3.node, $2.GetLocation()); }
    | multiplicative_expression HVSL_PERCENT unary_expression { $$ = $1; $$.node = MakeOperator(context, OP_MODULO, $1.node, $3.node, $2.GetLocation()); }
    ;

additive_expression
    : multiplicative_expression { $$ = $1; }
    | additive_expression HVSL_PLUS multiplicative_expression { $$ = $1; $$.node = MakeOperator(context, OP_ADD, $1.node, $3.node, $2.GetLocation()); }
    | additive_expression HVSL_DASH multiplicative_expression { $$ = $1; $$.node = MakeOperator(context, OP_SUBTRACT, $1.node, $3.node, $2.GetLocation()); }
    ;

shift_expression
    : additive_expression { $$ = $1; }
    | shift_expression HVSL_LEFT_SHIFT_OP additive_expression { $$ = $1; $$.node = MakeOperator(context, OP_LEFT_SHIFT, $1.node, $3.node, $2.GetLocation()); }
    | shift_expression HVSL_RIGHT_SHIFT_OP additive_expression { $$ = $1; $$.node = MakeOperator(context, OP_RIGHT_SHIFT, $1.node, $3.node, $2.GetLocation()); }
    ;

relational_expression
    : shift_expression { $$ = $1; }
    | relational_expression HVSL_LEFT_CHEVRON shift_expression { $$ = $1; $$.node = MakeOperator(context, OP_LESS_THAN, $1.node, $3.node, $2.GetLocation()); }
    | relational_expression HVSL_RIGHT_CHEVRON shift_expression { $$ = $1; $$.node = MakeOperator(context, OP_GREATER_THAN, $1.node, $3.node, $2.GetLocation()); }
    | relational_expression HVSL_LESS_THAN_EQUAL_OP shift_expression { $$ = $1; $$.node = MakeOperator(context, OP_LESS_THAN_EQUAL, $1.node, $3.node, $2.GetLocation()); }
    | relational_expression HVSL_GREATER_THAN_EQUAL_OP shift_expression { $$ = $1; $$.node = MakeOperator(context, OP_GREATER_THAN_EQUAL, $1.node, $3.node, $2.GetLocation()); }
    ;

equality_expression
    : relational_expression { $$ = $1; }
    | equality_expression HVSL_EQUAL_OP relational_expression { $$ = $1; $$.node = MakeOperator(context, OP_EQUAL, $1.node, $3.node, $2.GetLocation()); }
    | equality_expression HVSL_NOT_EQUAL_OP relational_expression { $$ = $1; $$.node = MakeOperator(context, OP_NOT_EQUAL, $1.node, $3.node, $2.GetLocation()); }
    ;

and_expression
    : equality_expression { $$ = $1; }
    | and_expression HVSL_AMPERSAND equality_expression { $$ = $1; $$.node = MakeOperator(context, OP_BITWISE_AND, $1.node, $3.node, $2.GetLocation()); }
    ;

exclusive_or_expression
    : and_expression { $$ = $1; }
    | exclusive_or_expression HVSL_CARET and_expression { $$ = $1; $$.node = MakeOperator(context, OP_BITWISE_XOR, $1.node, $3.node, $2.GetLocation()); }
    ;

inclusive_or_expression
    : exclusive_or_expression { $$ = $1; }
    | inclusive_or_expression HVSL_VERTICAL_BAR exclusive_or_expression { $$ = $1; $$.node = MakeOperator(context, OP_BITWISE_OR, $1.node, $3.node, $2.GetLocation()); }
    ;

logical_and_expression
    : inclusive_or_expression { $$ = $1; }
    | logical_and_expression HVSL_LOGICAL_AND_OP inclusive_or_expression { $$ = $1; $$.node = MakeOperator(context, OP_LOGICAL_AND, $1.node, $3.node, $2.GetLocation()); }
    ;

logical_or_expression
    : logical_and_expression { $$ = $1; }
    | logical_or_expression HVSL_LOGICAL_OR_OP logical_and_expression { $$ = $1; $$.node = MakeOperator(context, OP_LOGICAL_OR, $1.node, $3.node, $2.GetLocation()); }
    ;

conditional_expression
    : logical_or_expression { $$ = $1; }
    | logical_or_expression HVSL_QUESTION expression HVSL_COLON assignment_expression { $$ = $1; $$.node = MakeConditional(context, $1.node, $3.node, $5.node, $2.GetLocation(), $4.GetLocation()); }
    ;

assignment_expression
    : conditional_expression { $$ = $1; }
    | unary_expression assignment_operator assignment_expression { $$ = $1; $$.node = MakeOperator(context, $2.operatorIndex, $1.node, $3.node, $2.GetLocation()); }
    ;

assignment_operator
    : HVSL_EQUAL { $$ = $1; $$.operatorIndex = OP_ASSIGN; }
    | HVSL_ASSIGN_MULTIPLY { $$ = $1; $$.operatorIndex = OP_ASSIGN_MULTIPLY; }
    | HVSL_ASSIGN_DIVIDE { $$ = $1; $$.operatorIndex = OP_ASSIGN_DIVIDE; }
    | HVSL_ASSIGN_MODULO { $$ = $1; $$.operatorIndex = OP_ASSIGN_MODULO; }
    | HVSL_ASSIGN_ADD { $$ = $1; $$.operatorIndex = OP_ASSIGN_ADD; }
    | HVSL_ASSIGN_SUBTRACT { $$ = $1; $$.operatorIndex = OP_ASSIGN_SUBTRACT; }
    | HVSL_ASSIGN_LEFT_SHIFT { $$ = $1; $$.operatorIndex = OP_ASSIGN_LEFT_SHIFT; }
    | HVSL_ASSIGN_RIGHT_SHIFT { $$ = $1; $$.operatorIndex = OP_ASSIGN_RIGHT_SHIFT; }
    | HVSL_ASSIGN_AND { $$ = $1; $$.operatorIndex = OP_ASSIGN_AND; }
    | HVSL_ASSIGN_XOR { $$ = $1; $$.operatorIndex = OP_ASSIGN_XOR; }
    | HVSL_ASSIGN_OR { $$ = $1; $$.operatorIndex = OP_ASSIGN_OR; }
    ;

expression
    : assignment_expression { $$ = $1; }
    ;

declaration
    : function_prototype HVSL_SEMICOLON { $$ = $1; RegisterFunction(context, AsFunction($1.node), false); }
    | init_declarator_list HVSL_SEMICOLON { $$ = $1; }
    ;

function_prototype
    : function_declarator HVSL_RIGHT_PARENTHESIS { $$ = $1; }
    ;

function_declarator
    : function_header { $$ = $1; }
    | function_header_with_parameters { $$ = $1; }
    ;

function_header_with_parameters
    : function_header parameter_declaration { $$ = $1; AppendToChildBlock($1.node, $2.node); }
    | function_header_with_parameters HVSL_COMMA parameter_declaration { $$ = $1; AppendToChildBlock($1.node, $3.node); }
    ;

function_header
    : fully_specified_type HVSL_IDENTIFIER HVSL_LEFT_PARENTHESIS { $$ = $1; $$.node = MakeFunctionHeader(context, $1.specifier, $2.text, $3.GetLocation()); }
    ;

parameter_declarator
    : type_specifier HVSL_IDENTIFIER { $$ = $1; $$.node = MakeParameter(context, $1.specifier, 0, $2.text, $2.GetLocation()); }
    | type_specifier HVSL_IDENTIFIER array_specifier { $$ = $1; $$.node = MakeParameter(context, $1.specifier, $3.specifier.arraySize, $2.text, $2.GetLocation()); }
    ;

parameter_declaration
    : type_qualifier parameter_declarator { $$ = $2; MakeConst($2.node); }
    | parameter_declarator { $$ = $1; }
    | type_qualifier parameter_type_specifier { $$ = $2; MakeConst($2.node); }
    | parameter_type_specifier { $$ = $1; }
    ;

parameter_type_specifier
    : type_specifier { $$ = $1; $$.node = MakeParameter(context, $1.specifier, 0, "", $1.GetLocation()); }
    ;

init_declarator_list
    : single_declaration { $$ = $1; }
    | init_declarator_list HVSL_COMMA HVSL_IDENTIFIER { $$ = $1; AppendDeclarator(context, $$, DeclareVariable(context, MakeTypeFromSpecifier($1.specifier), $3.text, $3.GetLocation(), nullptr, {})); }
    | init_declarator_list HVSL_COMMA HVSL_IDENTIFIER HVSL_EQUAL initializer { $$ = $1; AppendDeclarator(context, $$, DeclareVariable(context, MakeTypeFromSpecifier($1.specifier), $3.text, $3.GetLocation(), $5.node, $4.GetLocation())); }
    ;

single_declaration
    : fully_specified_type { $$ = $1; $$.node = CreateStructDeclaration(context, $1.specifier, $1.GetLocation()); $$.second = nullptr; }
    | fully_specified_type HVSL_IDENTIFIER { $$ = $1; BeginDeclaration(context, $$, DeclareVariable(context, MakeTypeFromSpecifier($1.specifier), $2.text, $2.GetLocation(), nullptr, {}), true); }
    | fully_specified_type HVSL_IDENTIFIER array_specifier { $$ = $1; $$.specifier.arraySize = $3.specifier.arraySize; BeginDeclaration(context, $$, DeclareArray(context, $$.specifier, nullptr, $2, nullptr, {}), true); $$.specifier.arraySize = 0; }
    | fully_specified_type HVSL_IDENTIFIER array_specifier HVSL_EQUAL HVSL_LEFT_BRACE initializer_list HVSL_RIGHT_BRACE { $$ = $1; $$.specifier.arraySize = $3.specifier.arraySize; BeginDeclaration(context, $$, DeclareArray(context, $$.specifier, AsGroup($6.node), $2, $6.node, $4.GetLocation()), false); $$.specifier.arraySize = 0; }
    | fully_specified_type HVSL_IDENTIFIER HVSL_EQUAL initializer { $$ = $1; BeginDeclaration(context, $$, DeclareVariable(context, MakeTypeFromSpecifier($1.specifier), $2.text, $2.GetLocation(), $4.node, $3.GetLocation()), false); }
    ;

fully_specified_type
    : type_specifier { $$ = $1; }
    | type_qualifier type_specifier { $$ = $2; $$.column = $1.column; $$.line = $1.line; $$.specifier.qualifiers |= QUALIFIER_CONST; }
    ;

type_qualifier
    : single_type_qualifier { $$ = $1; }
    ;

single_type_qualifier
    : storage_qualifier { $$ = $1; }
    ;

storage_qualifier
    : HVSL_CONST { $$ = $1; }
    ;

type_specifier
    : type_specifier_nonarray { $$ = $1; }
    ;

array_specifier
    : HVSL_LEFT_BRACKET HVSL_RIGHT_BRACKET { $$ = $1; $$.specifier.arraySize = UNSIZED_ARRAY; }
    | HVSL_LEFT_BRACKET HVSL_INT_CONSTANT HVSL_RIGHT_BRACKET { $$ = $1; $$.specifier.arraySize = ReadArraySize(context, $2); }
    ;

type_specifier_nonarray
    : HVSL_VOID { $$ = $1; $$.specifier = MakeKeywordSpecifier($1.tokenKind); }
    | HVSL_FLOAT { $$ = $1; $$.specifier = MakeKeywordSpecifier($1.tokenKind); }
    | HVSL_INT { $$ = $1; $$.specifier = MakeKeywordSpecifier($1.tokenKind); }
    | HVSL_UINT { $$ = $1; $$.specifier = MakeKeywordSpecifier($1.tokenKind); }
    | HVSL_BOOL { $$ = $1; $$.specifier = MakeKeywordSpecifier($1.tokenKind); }
    | HVSL_FLOAT2 { $$ = $1; $$.specifier = MakeKeywordSpecifier($1.tokenKind); }
    | HVSL_FLOAT3 { $$ = $1; $$.specifier = MakeKeywordSpecifier($1.tokenKind); }
    | HVSL_FLOAT4 { $$ = $1; $$.specifier = MakeKeywordSpecifier($1.tokenKind); }
    | HVSL_INT2 { $$ = $1; $$.specifier = MakeKeywordSpecifier($1.tokenKind); }
    | HVSL_INT3 { $$ = $1; $$.specifier = MakeKeywordSpecifier($1.tokenKind); }
    | HVSL_INT4 { $$ = $1; $$.specifier = MakeKeywordSpecifier($1.tokenKind); }
    | HVSL_UINT2 { $$ = $1; $$.specifier = MakeKeywordSpecifier($1.tokenKind); }
    | HVSL_UINT3 { $$ = $1; $$.specifier = MakeKeywordSpecifier($1.tokenKind); }
    | HVSL_UINT4 { $$ = $1; $$.specifier = MakeKeywordSpecifier($1.tokenKind); }
    | HVSL_FLOAT2X2 { $$ = $1; $$.specifier = MakeKeywordSpecifier($1.tokenKind); }
    | HVSL_FLOAT3X3 { $$ = $1; $$.specifier = MakeKeywordSpecifier($1.tokenKind); }
    | HVSL_FLOAT4X4 { $$ = $1; $$.specifier = MakeKeywordSpecifier($1.tokenKind); }
    | HVSL_TEXTURE2D { $$ = $1; $$.specifier = MakeKeywordSpecifier($1.tokenKind); }
    | HVSL_TEXTURE3D { $$ = $1; $$.specifier = MakeKeywordSpecifier($1.tokenKind); }
    | HVSL_TEXTURECUBE { $$ = $1; $$.specifier = MakeKeywordSpecifier($1.tokenKind); }
    | struct_specifier { $$ = $1; }
    | HVSL_USER_TYPE { $$ = $1; CheckUserType(context, $1.text, $1.GetLocation()); $$.specifier = MakeStructSpecifier($1.text, false); }
    ;

struct_specifier
    : HVSL_STRUCT HVSL_IDENTIFIER HVSL_LEFT_BRACE struct_declaration_list HVSL_RIGHT_BRACE { $$ = $1; $$.specifier = DeclareStruct(context, $2.text, $2.GetLocation(), AsGroup($4.node)); }
    ;

struct_declaration_list
    : struct_declaration { $$ = $1; }
    | struct_declaration_list struct_declaration { $$ = $1; MoveChildren(AsGroup($1.node), AsGroup($2.node)); }
    ;

struct_declaration
    : type_specifier struct_declarator_list HVSL_SEMICOLON { $$ = $2; SetMemberTypes(AsGroup($2.node), MakeTypeFromSpecifier($1.specifier)); }
    ;

struct_declarator_list
    : struct_declarator { $$ = $1; $$.node = CreateNode(context, Block); AppendChild(AsGroup($$.node), $1.node); }
    | struct_declarator_list HVSL_COMMA struct_declarator { $$ = $1; AppendChild(AsGroup($1.node), $3.node); }
    ;

struct_declarator
    : HVSL_IDENTIFIER { $$ = $1; $$.node = CreateVariableNode(context, Type(), $1.text, $1.GetLocation()); }
    ;

initializer
    : assignment_expression { $$ = $1; }
    ;

initializer_list
    : initializer { $$ = $1; $$.node = CreateNode(context, Block); AppendChild(AsGroup($$.node), $1.node); }
    | initializer_list HVSL_COMMA initializer { $$ = $1; AppendChild(AsGroup($1.node), $3.node); }
    ;

declaration_statement
    : declaration { $$ = $1; RefuseLocalPrototype(context, $1.node); }
    ;

statement
    : compound_statement { $$ = $1; }
    | simple_statement { $$ = $1; }
    ;

simple_statement
    : declaration_statement { $$ = $1; }
    | expression_statement { $$ = $1; }
    | selection_statement { $$ = $1; }
    | iteration_statement { $$ = $1; }
    | jump_statement { $$ = $1; }
    ;

compound_statement
    : HVSL_LEFT_BRACE HVSL_RIGHT_BRACE { $$ = $1; $$.node = nullptr; }
    | HVSL_LEFT_BRACE { context.symbols.PushScope(); } statement_list HVSL_RIGHT_BRACE { context.symbols.PopScope(); $$ = $1; $$.node = MakeBraced($3.node); }
    ;

statement_no_new_scope
    : compound_statement_no_new_scope { $$ = $1; }
    | simple_statement { $$ = $1; }
    ;

statement_scoped
    : compound_statement { $$ = $1; }
    | { context.symbols.PushScope(); } simple_statement { context.symbols.PopScope(); $$ = $2; }
    ;

compound_statement_no_new_scope
    : HVSL_LEFT_BRACE HVSL_RIGHT_BRACE { $$ = $1; $$.node = MakeBraced(CreateNode(context, Block)); }
    | HVSL_LEFT_BRACE statement_list HVSL_RIGHT_BRACE { $$ = $1; $$.node = MakeBraced($2.node); }
    ;

statement_list
    : statement { $$ = $1; $$.node = CreateNode(context, Block); AppendChild(AsGroup($$.node), $1.node); }
    | statement_list statement { $$ = $1; AppendChild(AsGroup($1.node), $2.node); }
    ;

expression_statement
    : HVSL_SEMICOLON { $$ = $1; $$.node = nullptr; }
    | expression HVSL_SEMICOLON { $$ = $1; }
    ;

selection_statement
    : HVSL_IF HVSL_LEFT_PARENTHESIS expression HVSL_RIGHT_PARENTHESIS selection_rest_statement { $$ = $1; CheckCondition(context, $3.node); $$.node = CreateSelectionNode(context, $3.node, $5.node, $5.second); }
    ;

selection_rest_statement
    : statement_scoped HVSL_ELSE statement_scoped { $$ = $1; $$.second = $3.node; }
    | statement_scoped { $$ = $1; $$.second = nullptr; }
    ;

condition
    : expression { $$ = $1; }
    | fully_specified_type HVSL_IDENTIFIER HVSL_EQUAL initializer { $$ = $1; $$.second = nullptr; BeginDeclaration(context, $$, DeclareVariable(context, MakeTypeFromSpecifier($1.specifier), $2.text, $2.GetLocation(), $4.node, $3.GetLocation()), false); }
    ;

iteration_statement
    : HVSL_WHILE HVSL_LEFT_PARENTHESIS { context.symbols.PushScope(); } condition HVSL_RIGHT_PARENTHESIS statement_no_new_scope { context.symbols.PopScope(); $$ = $1; CheckCondition(context, $4.node); $$.node = CreateLoopNode(context, LOOP_WHILE, nullptr, $4.node, nullptr, $6.node); }
    | HVSL_DO statement HVSL_WHILE HVSL_LEFT_PARENTHESIS expression HVSL_RIGHT_PARENTHESIS HVSL_SEMICOLON { $$ = $1; CheckCondition(context, $5.node); $$.node = CreateLoopNode(context, LOOP_DO_WHILE, nullptr, $5.node, nullptr, $2.node); }
    | HVSL_FOR HVSL_LEFT_PARENTHESIS { context.symbols.PushScope(); } for_init_statement for_rest_statement HVSL_RIGHT_PARENTHESIS statement_no_new_scope { context.symbols.PopScope(); $$ = $1; $$.node = CreateLoopNode(context, LOOP_FOR, $4.node, $5.node, $5.second, $7.node); }
    ;

for_init_statement
    : expression_statement { $$ = $1; }
    | declaration_statement { $$ = $1; }
    ;

conditionopt
    : condition { $$ = $1; }
    | %empty { $$ = GrammarSymbol(); }
    ;

for_rest_statement
    : conditionopt HVSL_SEMICOLON { $$ = $1; CheckCondition(context, $1.node); $$.second = nullptr; }
    | conditionopt HVSL_SEMICOLON expression { $$ = $1; CheckCondition(context, $1.node); $$.second = $3.node; }
    ;

jump_statement
    : HVSL_CONTINUE HVSL_SEMICOLON { $$ = $1; $$.node = CreateJumpNode(context, JUMP_CONTINUE, $1.GetLocation()); }
    | HVSL_BREAK HVSL_SEMICOLON { $$ = $1; $$.node = CreateJumpNode(context, JUMP_BREAK, $1.GetLocation()); }
    | HVSL_RETURN HVSL_SEMICOLON { $$ = $1; $$.node = MakeReturn(context, nullptr, $1.GetLocation()); }
    | HVSL_RETURN expression HVSL_SEMICOLON { $$ = $1; $$.node = MakeReturn(context, $2.node, $1.GetLocation()); }
    | HVSL_DISCARD HVSL_SEMICOLON { $$ = $1; $$.node = CreateJumpNode(context, JUMP_DISCARD, $1.GetLocation()); CheckDiscard(context, AsJump($$.node)); }
    ;

translation_unit
    : external_declaration { $$ = $1; context.root = CreateNode(context, Block); AppendChild(context.root, $1.node); }
    | translation_unit external_declaration { $$ = $1; AppendChild(context.root, $2.node); }
    ;

external_declaration
    : function_definition { $$ = $1; }
    | declaration { $$ = $1; }
    ;

function_definition
    : function_prototype { BeginFunctionDefinition(context, AsFunction($1.node)); } compound_statement_no_new_scope { EndFunctionDefinition(context, AsFunction($1.node), $3.node); $$ = $1; }
    ;

%%

namespace ShaderTool {

int32_t Parse(ParseContext& context) {
    return hvslparse(context);
}

}  // namespace ShaderTool
