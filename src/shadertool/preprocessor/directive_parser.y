/* The directive parser of the preprocessor: whole shader sources as a
   sequence of directive lines and other lines. Expressions of #if, #elif,
   #define and #include are evaluated as they are reduced. */

%code requires {
#include "shadertool/preprocessor/preprocessor.h"

namespace ShaderTool {

// A call of a function-like macro: its name and the first two arguments.
struct DirectiveCall {
    PreprocessorValue name;
    int32_t argumentCount;
    PreprocessorValue arguments[2];
};

// The semantic value of every grammar symbol.
struct DirectiveSymbol {
    PreprocessorValue value;
    DirectiveCall call;
};

}  // namespace ShaderTool

#define HVPPSTYPE ShaderTool::DirectiveSymbol
#define HVPPSTYPE_IS_TRIVIAL 1
#define HVPPSTYPE_IS_DECLARED 1
}

%code {
#include <cstring>

#include "shadertool/preprocessor/directive_parser.h"
#include "shadertool/preprocessor/directive_tokens.h"
#include "shadertool/preprocessor/directive_values.h"
#include "shadertool/preprocessor/preprocessor_messages.h"

using namespace ShaderTool;

static int hvpplex(HVPPSTYPE* symbol, PreprocessorContext& context);
static void hvpperror(PreprocessorContext& context, const char* message);
static PreprocessorValue EvaluateConstant(PreprocessorContext& context, const PreprocessorValue& constant);
static PreprocessorValue EvaluateCall(PreprocessorContext& context, const DirectiveCall& call);
static void AddArgument(DirectiveCall& call, const PreprocessorValue& argument);
static void IncludeConstant(PreprocessorContext& context, const PreprocessorValue& constant, SourceLocation location);
}

%define api.pure full
/* The trace of every step on the standard error stream, off until hvppdebug is set. */
%define parse.trace
%define api.prefix {hvpp}
%param {ShaderTool::PreprocessorContext& context}

/* Two shift/reduce conflicts, both resolved by shifting: at the start of the
   text, a '#' or an ordinary line may begin the first declaration directly
   or follow an empty translation_unit. */
%expect 2

%token PP_DEFINE PP_ELIF PP_ELSE PP_ENDIF PP_IF PP_INCLUDE
%token PP_FLOAT_CONSTANT PP_IDENTIFIER PP_INT_CONSTANT PP_STRING_LITERAL PP_DEFINED_OP
%token PP_GREATER_THAN_EQUAL_OP PP_LESS_THAN_EQUAL_OP PP_EQUAL_OP PP_NOT_EQUAL_OP
%token PP_LOGICAL_AND_OP PP_LOGICAL_OR_OP
%token PP_ASTERISK PP_COMMA PP_DASH PP_EXCLAMATION PP_HASH PP_PLUS PP_SLASH
%token PP_LEFT_CHEVRON PP_RIGHT_CHEVRON PP_LEFT_PARENTHESIS PP_RIGHT_PARENTHESIS
%token PP_NON_PREPROCESSOR_LINE PP_RESERVED

%start translation_unit

%%

constant
    : PP_FLOAT_CONSTANT { $$ = $1; $$.value = PreprocessorValue::Float(ReadFloatLiteral($1.value.text), $1.value.location); }
    | PP_IDENTIFIER { $$ = $1; }
    | PP_INT_CONSTANT { $$ = $1; $$.value = PreprocessorValue::Integer(ReadIntegerLiteral($1.value.text), $1.value.location); }
    ;

primary_expression
    : constant { $$ = $1; $$.value = EvaluateConstant(context, $1.value); }
    | PP_LEFT_PARENTHESIS expression PP_RIGHT_PARENTHESIS { $$ = $2; }
    ;

postfix_expression
    : primary_expression { $$ = $1; }
    | function_call { $$ = $1; $$.value = EvaluateCall(context, $1.call); }
    ;

function_call
    : function_call_header_with_parameters PP_RIGHT_PARENTHESIS { $$ = $1; }
    | function_call_header_no_parameters PP_RIGHT_PARENTHESIS { $$ = $1; }
    ;

function_call_header_no_parameters
    : function_call_header { $$ = $1; }
    ;

function_call_header_with_parameters
    : function_call_header PP_STRING_LITERAL { $$ = $1; AddArgument($$.call, $2.value); }
    | function_call_header logical_or_expression { $$ = $1; AddArgument($$.call, $2.value); }
    | function_call_header_with_parameters PP_COMMA PP_STRING_LITERAL { $$ = $1; AddArgument($$.call, $3.value); }
    | function_call_header_with_parameters PP_COMMA logical_or_expression { $$ = $1; AddArgument($$.call, $3.value); }
    ;

function_call_header
    : PP_IDENTIFIER PP_LEFT_PARENTHESIS { $$ = $1; $$.call.name = $1.value; $$.call.argumentCount = 0; }
    ;

unary_expression
    : postfix_expression { $$ = $1; }
    | PP_DEFINED_OP PP_LEFT_PARENTHESIS PP_IDENTIFIER PP_RIGHT_PARENTHESIS {
          $$ = $1;
          $$.value = PreprocessorValue::Integer(FindMacro(context, $3.value.text) >= 0 ? 1 : 0, $1.value.location);
      }
    | PP_DASH unary_expression { $$ = $2; $$.value = NegateValue($2.value); }
    | PP_EXCLAMATION unary_expression { $$ = $2; $$.value = NotValue($2.value); }
    ;

multiplicative_expression
    : unary_expression { $$ = $1; }
    | multiplicative_expression PP_ASTERISK unary_expression { $$ = $1; $$.value = ApplyOperator(context, OPERATOR_MULTIPLY, $1.value, $3.value); }
    | multiplicative_expression PP_SLASH unary_expression { $$ = $1; $$.value = ApplyOperator(context, OPERATOR_DIVIDE, $1.value, $3.value); }
    ;

additive_expression
    : multiplicative_expression { $$ = $1; }
    | additive_expression PP_PLUS multiplicative_expression { $$ = $1; $$.value = ApplyOperator(context, OPERATOR_ADD, $1.value, $3.value); }
    | additive_expression PP_DASH multiplicative_expression { $$ = $1; $$.value = ApplyOperator(context, OPERATOR_SUBTRACT, $1.value, $3.value); }
    ;

relational_expression
    : additive_expression { $$ = $1; }
    | relational_expression PP_LEFT_CHEVRON additive_expression { $$ = $1; $$.value = ApplyOperator(context, OPERATOR_LESS, $1.value, $3.value); }
    | relational_expression PP_RIGHT_CHEVRON additive_expression { $$ = $1; $$.value = ApplyOperator(context, OPERATOR_GREATER, $1.value, $3.value); }
    | relational_expression PP_LESS_THAN_EQUAL_OP additive_expression { $$ = $1; $$.value = ApplyOperator(context, OPERATOR_LESS_EQUAL, $1.value, $3.value); }
    | relational_expression PP_GREATER_THAN_EQUAL_OP additive_expression { $$ = $1; $$.value = ApplyOperator(context, OPERATOR_GREATER_EQUAL, $1.value, $3.value); }
    ;

equality_expression
    : relational_expression { $$ = $1; }
    | equality_expression PP_EQUAL_OP relational_expression { $$ = $1; $$.value = ApplyOperator(context, OPERATOR_EQUAL, $1.value, $3.value); }
    | equality_expression PP_NOT_EQUAL_OP relational_expression { $$ = $1; $$.value = ApplyOperator(context, OPERATOR_NOT_EQUAL, $1.value, $3.value); }
    ;

logical_and_expression
    : equality_expression { $$ = $1; }
    | logical_and_expression PP_LOGICAL_AND_OP equality_expression { $$ = $1; $$.value = ApplyOperator(context, OPERATOR_LOGICAL_AND, $1.value, $3.value); }
    ;

logical_or_expression
    : logical_and_expression { $$ = $1; }
    | logical_or_expression PP_LOGICAL_OR_OP logical_and_expression { $$ = $1; $$.value = ApplyOperator(context, OPERATOR_LOGICAL_OR, $1.value, $3.value); }
    ;

expression
    : logical_or_expression { $$ = $1; }
    ;

define_directive_declaration
    : PP_HASH PP_DEFINE PP_IDENTIFIER {
          DefineMacro(context, $3.value.text, $3.value.location, PreprocessorValue::Integer(0, $3.value.location), false);
          context.AppendNewline();
      }
    | PP_HASH PP_DEFINE PP_IDENTIFIER PP_STRING_LITERAL {
          DefineMacro(context, $3.value.text, $3.value.location, $4.value, true);
          context.AppendNewline();
      }
    | PP_HASH PP_DEFINE PP_IDENTIFIER expression {
          DefineMacro(context, $3.value.text, $3.value.location, $4.value, false);
          context.AppendNewline();
      }
    ;

elif_directive_declaration
    : PP_HASH PP_ELIF expression { BeginElif(context, $3.value, $2.value.location); context.AppendNewline(); }
    ;

else_directive_declaration
    : PP_HASH PP_ELSE { BeginElse(context, $2.value.location); context.AppendNewline(); }
    ;

endif_directive_declaration
    : PP_HASH PP_ENDIF { EndIf(context, $2.value.location); context.AppendNewline(); }
    ;

if_directive_declaration
    : PP_HASH PP_IF expression { BeginIf(context, $3.value, $2.value.location); context.AppendNewline(); }
    ;

include_declaration
    : PP_HASH PP_INCLUDE PP_STRING_LITERAL { IncludeFile(context, $3.value.text, $2.value.location); }
    | PP_HASH PP_INCLUDE constant { IncludeConstant(context, $3.value, $2.value.location); }
    ;

directive_declaration
    : define_directive_declaration
    | elif_directive_declaration
    | else_directive_declaration
    | endif_directive_declaration
    | if_directive_declaration
    | include_declaration
    ;

non_preprocessor_line
    : PP_NON_PREPROCESSOR_LINE { CopyLine(context, $1.value.intValue); }
    ;

declaration
    : directive_declaration
    | non_preprocessor_line
    ;

translation_unit
    : %empty
    | declaration
    | translation_unit declaration
    ;

%%

namespace ShaderTool {

int ParsePreprocessorLine(PreprocessorContext& context)
{
    return hvppparse(context);
}

}  // namespace ShaderTool

// The terminal of a tokenizer kind; kinds without one are undefined tokens,
// which the parser rejects as a syntax error.
static int TranslateKind(uint32_t kind)
{
    if (kind == TOKEN_END)
        return HVPPEOF;
    for (const DirectiveTokens::TokenMapping& mapping : DirectiveTokens::kTokenMappings) {
        if (mapping.kind == kind)
            return mapping.grammarToken;
    }
    return HVPPUNDEF;
}

static int hvpplex(HVPPSTYPE* symbol, PreprocessorContext& context)
{
    Token token;
    token.Clear();
    context.tokenizer.GetNextToken(token);
    *symbol = HVPPSTYPE{};
    symbol->value = PreprocessorValue::Integer(0, token.GetLocation());
    if (token.kind == TOKEN_NON_PREPROCESSOR_LINE)
        symbol->value.intValue = context.tokenizer.GetLineStartPosition();
    else if (token.kind == TOKEN_IDENTIFIER || token.kind == TOKEN_STRING_LITERAL ||
             token.kind == TOKEN_INT_CONSTANT || token.kind == TOKEN_FLOAT_CONSTANT)
        symbol->value.SetText(token.text, token.length);
    // Arithmetic faults count only where the directive can take effect.
    if (token.kind == TOKEN_PP_IF || token.kind == TOKEN_PP_DEFINE || token.kind == TOKEN_PP_INCLUDE)
        context.directiveActive = context.IsActive();
    else if (token.kind == TOKEN_PP_ELIF)
        context.directiveActive =
            context.depth == 0 || (context.levels[context.depth - 1] == 1 && context.levels[context.depth] == 0);
    return TranslateKind(token.kind);
}

static void hvpperror(PreprocessorContext& context, const char* message)
{
    ReportPreprocessorError(context, context.tokenizer.GetTokenLocation(), message);
}

static PreprocessorValue EvaluateConstant(PreprocessorContext& context, const PreprocessorValue& constant)
{
    PreprocessorValue value = ResolveValue(context, constant);
    if (value.kind == VALUE_TEXT) {
        ReportPreprocessorError(context, constant.location, PreprocessorMessage::kStringExpression);
        return PreprocessorValue::Integer(0, constant.location);
    }
    return value;
}

static void AddArgument(DirectiveCall& call, const PreprocessorValue& argument)
{
    if (call.argumentCount < 2)
        call.arguments[call.argumentCount] = argument;
    if (call.argumentCount < INT32_MAX)
        ++call.argumentCount;
}

static PreprocessorValue EvaluateCall(PreprocessorContext& context, const DirectiveCall& call)
{
    const SourceLocation location = call.name.location;
    if (std::strcmp(call.name.text, "_IS_ARRAY_NODE_DEFINED") != 0) {
        ReportPreprocessorError(context, location,
                                String::Formatted(PreprocessorMessage::kUndeclaredFunction, call.name.text).GetText());
        return PreprocessorValue::Integer(0, location);
    }
    if (call.argumentCount != 2 || call.arguments[0].kind != VALUE_TEXT || call.arguments[1].kind != VALUE_TEXT) {
        ReportPreprocessorError(context, location, PreprocessorMessage::kInvalidArguments);
        return PreprocessorValue::Integer(0, location);
    }
    const bool defined = IsArrayNodeDefined(context, call.arguments[0].text, call.arguments[1].text, location);
    return PreprocessorValue::Integer(defined ? 1 : 0, location);
}

static void IncludeConstant(PreprocessorContext& context, const PreprocessorValue& constant, SourceLocation location)
{
    if (!context.IsActive()) {
        context.AppendNewline();
        return;
    }
    const PreprocessorValue value = ResolveValue(context, constant);
    if (value.kind == VALUE_TEXT) {
        IncludeFile(context, value.text, location);
        return;
    }
    ReportPreprocessorError(context, location, PreprocessorMessage::kIncludeNotString);
    context.AppendNewline();
}
