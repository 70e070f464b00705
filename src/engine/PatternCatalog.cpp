#include "engine/PatternCatalog.h"

#include "engine/LogicalPreparser.h"

namespace tw {

const std::vector<CataloguedPattern>& patternCatalog() {
    namespace pre = logicalPreparserPatterns;
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
    };
    return catalog;
}

}  // namespace tw
