#include "engine/PatternCatalog.h"

#include "engine/ArrayAccessCounter.h"
#include "engine/DeclarationCounter.h"
#include "engine/FunctionCounter.h"
#include "engine/LogicCounter.h"
#include "engine/LogicalPreparser.h"
#include "engine/OperatorCounter.h"

namespace tw {

const std::vector<CataloguedPattern>& patternCatalog() {
    namespace pre = logicalPreparserPatterns;
    namespace op = operatorPatterns;
    namespace fn = functionPatterns;
    namespace decl = declarationPatterns;
    namespace logic = logicPatterns;
    namespace array = arrayAccessPatterns;
    static const std::vector<CataloguedPattern> catalog = {
        {u"numbers", pre::kNumbers, pre::kNumbers, PatternUse::Search},
        {u"comment words", pre::kCommentWords, pre::kCommentWords, PatternUse::Search},
        {u"banner", u"[^\\w]+", u"[^\\w]+", PatternUse::FullMatch},
        {u"C/C++ array initialiser", pre::kCppArrayInitialiser, pre::kCppArrayInitialiser,
         PatternUse::Search},
        {u"Java empty brackets", pre::kJavaEmptyBrackets, pre::kJavaEmptyBrackets,
         PatternUse::Search},
        {u"Java initialiser", pre::kJavaInitialiser, pre::kJavaInitialiser, PatternUse::Search},
        {u"Java import", pre::kJavaImport, pre::kJavaImport, PatternUse::Search},
        {u"Java package", pre::kJavaPackage, pre::kJavaPackage, PatternUse::Search},
        {u"Java annotation type", pre::kJavaAnnotationType, pre::kJavaAnnotationType,
         PatternUse::Search},
        {u"Java annotation", pre::kJavaAnnotation, pre::kJavaAnnotation, PatternUse::Search},
        {u"scope", op::kScope, op::kScope, PatternUse::Search},
        {u"member access", op::kMemberAccess, op::kMemberAccess, PatternUse::Search},
        {u"increment and decrement", op::kIncrementDecrement, op::kIncrementDecrement,
         PatternUse::Search},
        {u"boolean logic", op::kBooleanLogic, op::kBooleanLogic, PatternUse::Search},
        {u"add assign", op::kAddAssign, op::kAddAssign, PatternUse::Search},
        {u"subtract assign", op::kSubtractAssign, op::kSubtractAssign, PatternUse::Search},
        {u"multiply assign", op::kMultiplyAssign, op::kMultiplyAssign, PatternUse::Search},
        {u"divide assign", op::kDivideAssign, op::kDivideAssign, PatternUse::Search},
        {u"remainder assign", op::kRemainderAssign, op::kRemainderAssign, PatternUse::Search},
        {u"and assign", op::kAndAssign, op::kAndAssign, PatternUse::Search},
        {u"exclusive-or assign", op::kXorAssign, op::kXorAssign, PatternUse::Search},
        {u"or assign", op::kOrAssign, op::kOrAssign, PatternUse::Search},
        {u"shift right assign", op::kShiftRightAssign, op::kShiftRightAssign, PatternUse::Search},
        {u"shift left assign", op::kShiftLeftAssign, op::kShiftLeftAssign, PatternUse::Search},
        {u"assign", op::kAssign, op::kAssign, PatternUse::Search},
        {u"add", op::kAdd, op::kAdd, PatternUse::Search},
        {u"subtract", op::kSubtract, op::kSubtract, PatternUse::Search},
        {u"multiply", op::kMultiply, op::kMultiply, PatternUse::Search},
        {u"divide", op::kDivide, op::kDivide, PatternUse::Search},
        {u"remainder", op::kRemainder, op::kRemainder, PatternUse::Search},
        {u"bitwise", op::kBitwise, op::kBitwise, PatternUse::Search},
        {u"new and delete", op::kNewDelete, op::kNewDelete, PatternUse::Search},
        {u"ternary", op::kTernary, op::kTernary, PatternUse::Search},
        {u"Java member access", op::kJavaMemberAccess, op::kJavaMemberAccess, PatternUse::Search},
        {u"Java bitwise", op::kJavaBitwise, op::kJavaBitwise, PatternUse::Search},
        {u"cast", fn::kCast, fn::kCastRunning, PatternUse::FullMatch},
        {u"template argument", fn::kTemplateArgument, fn::kTemplateArgumentRunning,
         PatternUse::FullMatch},
        {u"function name", fn::kFunctionName, fn::kFunctionName, PatternUse::FullMatch},
        {u"keyword", fn::kKeyword, fn::kKeyword, PatternUse::FullMatch},
        {u"Java array creation", array::kJavaArrayCreation, array::kJavaArrayCreation,
         PatternUse::FullMatch},
        {u"template argument list", decl::kTemplateList, decl::kTemplateListRunning,
         PatternUse::FullMatch},
        {u"declaration statement", decl::kStatement, decl::kStatement, PatternUse::Search},
        {u"first declarator", decl::kFirstDeclarator, decl::kFirstDeclaratorRunning,
         PatternUse::FullMatch},
        {u"further declarator", decl::kFurtherDeclarator, decl::kFurtherDeclaratorRunning,
         PatternUse::FullMatch},
        {u"initialised by a function", decl::kInitialisedByFunction, decl::kInitialisedByFunction,
         PatternUse::Search},
        {u"typedef", decl::kTypedef, decl::kTypedef, PatternUse::Search},
        {u"class or struct keyword", decl::kClassOrStruct, decl::kClassOrStruct,
         PatternUse::Search},
        {u"Java template argument list", decl::kJavaTemplateList, decl::kJavaTemplateListRunning,
         PatternUse::FullMatch},
        {u"Java declaration statement", decl::kJavaStatement, decl::kJavaStatement,
         PatternUse::Search},
        {u"Java first declarator", decl::kJavaFirstDeclarator, decl::kJavaFirstDeclaratorRunning,
         PatternUse::FullMatch},
        {u"Java further declarator", decl::kJavaFurtherDeclarator,
         decl::kJavaFurtherDeclaratorRunning, PatternUse::FullMatch},
        {u"Java class keyword", decl::kJavaClassKeyword, decl::kJavaClassKeyword,
         PatternUse::Search},
        {u"logic", logic::kCppLogic, logic::kCppLogic, PatternUse::Search},
        {u"Java logic", logic::kJavaLogic, logic::kJavaLogic, PatternUse::Search},
    };
    return catalog;
}

}  // namespace tw
