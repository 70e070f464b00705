#pragma once

#include <vector>

#include "engine/CodeToken.h"
#include "engine/FunctionComplexity.h"
#include "engine/SourceText.h"

namespace tw {

/// Finds the functions of a C/C++ or Java text as the logical pre-parser left it (comments,
/// literals and C/C++ directives blanked) and measures each one's cyclomatic complexity, in one
/// pass over the text with no backtracking: time and memory grow linearly with the text.
///
/// C/C++: every definition with a body of a function, method, constructor, destructor,
/// operator or conversion function, at file, namespace or class scope, templates included;
/// lambdas and local classes belong to the function that holds them. Java: methods and
/// constructors, those of nested, local and anonymous classes each on their own; lambdas
/// belong to the method that holds them. Decision points outside any function belong to none.
///
/// Both branches of an #if are read, as the code is written; where the branches open or close
/// braces differently, the braces of the first branch decide how the rest pairs up, so that a
/// function does not run on past its end.
///
/// A count that a `CountTrace` watches gets a note at each function's name (its 1) and at each
/// of its decision points, one statement each.
std::vector<FunctionComplexity> findFunctions(const SourceText& text, CodeLanguage language);

}  // namespace tw
