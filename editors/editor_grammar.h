#pragma once

// Highlighting rules for the two sources, made from the readers' own keyword
// table so that an editor colours a keyword field exactly when the readers
// would act on it.

#include <string>

#include "sources/keywords.h"

namespace scenario::editors {

/// The expression that finds a keyword field holding `keyword`'s words, in the
/// syntax TextMate, JavaScript and std::regex (ECMAScript) share. The field is
/// group 1; letter case is folded for ASCII letters only, as the readers do.
std::string keyword_pattern(const SourceKeyword& keyword);

/// The expression that finds a comment: a field at the start of a line that
/// holds a "-" and is not a number. Group 1 is the field.
std::string comment_pattern();

/// The TextMate grammar of one source, as JSON text: scope source.scenario-line
/// or source.scenario-train.
std::string textmate_grammar(SourceKind source);

/// A Notepad++ user-defined language file holding both sources, as XML text.
std::string notepad_plus_plus_languages();

}  // namespace scenario::editors
