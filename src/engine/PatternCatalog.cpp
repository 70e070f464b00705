#include "engine/PatternCatalog.h"

#include "engine/ArrayAccessCounter.h"
#include "engine/DeclarationCounter.h"
#include "engine/FunctionCounter.h"
#include "engine/LogicCounter.h"
#include "engine/LogicalPreparser.h"
#include "engine/OperatorCounter.h"
#include "engine/PatternScanners.h"

namespace tw {

const std::vector<CataloguedPattern>& patternCatalog() {
    namespace pre = logicalPreparserPatterns;
    namespace op = operatorPatterns;
    namespace scan = operatorScanners;
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
        {u"scope", op::kScope, op::kScope, PatternUse::Search, scan::scope},
        {u"member access", op::kMemberAccess, op::kMemberAccess, PatternUse::Search,
         scan::memberAccess},
        {u"increment and decrement", op::kIncrementDecrement, op::kIncrementDecrement,
         PatternUse::Search, scan::incrementDecrement},
        {u"boolean logic", op::kBooleanLogic, op::kBooleanLogic, PatternUse::Search,
         scan::booleanLogic},
        {u"add assign", op::kAddAssign, op::kAddAssign, PatternUse::Search, scan::addAssign},
        {u"subtract assign", op::kSubtractAssign, op::kSubtractAssign, PatternUse::Search,
         scan::subtractAssign},
        {u"multiply assign", op::kMultiplyAssign, op::kMultiplyAssign, PatternUse::Search,
         scan::multiplyAssign},
        {u"divide assign", op::kDivideAssign, op::kDivideAssign, PatternUse::Search,
         scan::divideAssign},
        {u"remainder assign", op::kRemainderAssign, op::kRemainderAssign, PatternUse::Search,
         scan::remainderAssign},
        {u"and assign", op::kAndAssign, op::kAndAssign, PatternUse::Search, scan::andAssign},
        {u"exclusive-or assign", op::kXorAssign, op::kXorAssign, PatternUse::Search,
         scan::xorAssign},
        {u"or assign", op::kOrAssign, op::kOrAssign, PatternUse::Search, scan::orAssign},
        {u"shift right assign", op::kShiftRightAssign, op::kShiftRightAssign, PatternUse::Search,
         scan::shiftRightAssign},
        {u"shift left assign", op::kShiftLeftAssign, op::kShiftLeftAssign, PatternUse::Search,
         scan::shiftLeftAssign},
        {u"assign", op::kAssign, op::kAssign, PatternUse::Search, scan::assign},
        {u"add", op::kAdd, op::kAdd, PatternUse::Search, scan::add},
        {u"subtract", op::kSubtract, op::kSubtract, PatternUse::Search, scan::subtract},
        {u"multiply", op::kMultiply, op::kMultiply, PatternUse::Search, scan::multiply},
        {u"divide", op::kDivide, op::kDivide, PatternUse::Search, scan::divide},
        {u"remainder", op::kRemainder, op::kRemainder, PatternUse::Search, scan::remainder},
        {u"bitwise", op::kBitwise, op::kBitwise, PatternUse::Search, scan::bitwise},
        {u"new and delete", op::kNewDelete, op::kNewDelete, PatternUse::Search, scan::newDelete},
        {u"ternary", op::kTernary, op::kTernary, PatternUse::Search, scan::ternary},
        {u"Java member access", op::kJavaMemberAccess, op::kJavaMemberAccess, PatternUse::Search,
         scan::javaMemberAccess},
        {u"Java bitwise", op::kJavaBitwise, op::kJavaBitwise, PatternUse::Search,
         scan::javaBitwise},
        {u"cast", fn::kCast, fn::kCastRunning, PatternUse::FullMatch},
        {u"template argument", fn::kTemplateArgument, fn::kTemplateArgumentRunning,
         PatternUse::FullMatch},
        {u"function name", fn::kFunctionName, fn::kFunctionName, PatternUse::FullMatch, nullptr,
         functionScanners::functionName},
        {u"keyword", fn::kKeyword, fn::kKeyword, PatternUse::FullMatch, nullptr,
         functionScanners::keyword},
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
        {u"typedef", decl::kTypedef, decl::kTypedef, PatternUse::Search,
         declarationScanners::typedefStatement},
        {u"class or struct keyword", decl::kClassOrStruct, decl::kClassOrStruct, PatternUse::Search,
         declarationScanners::classOrStruct},
        {u"Java template argument list", decl::kJavaTemplateList, decl::kJavaTemplateListRunning,
         PatternUse::FullMatch},
        {u"Java declaration statement", decl::kJavaStatement, decl::kJavaStatement,
         PatternUse::Search},
        {u"Java first declarator", decl::kJavaFirstDeclarator, decl::kJavaFirstDeclaratorRunning,
         PatternUse::FullMatch},
        {u"Java further declarator", decl::kJavaFurtherDeclarator,
         decl::kJavaFurtherDeclaratorRunning, PatternUse::FullMatch},
        {u"Java class keyword", decl::kJavaClassKeyword, decl::kJavaClassKeyword,
         PatternUse::Search, declarationScanners::javaClassKeyword},
        {u"logic", logic::kCppLogic, logic::kCppLogic, PatternUse::Search, logicScanners::cpp},
        {u"Java logic", logic::kJavaLogic, logic::kJavaLogic, PatternUse::Search,
         logicScanners::java},
    };
    return catalog;
}

}  // namespace tw
