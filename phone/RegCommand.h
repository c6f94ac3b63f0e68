// The subcommands of "phone reg"; each gets the words after its own name.
#pragma once

#include "Cli.h"
#include "KeyPath.h"

namespace phone {

int RegGet(Args& args);
int RegSet(Args& args);
int RegDelete(Args& args);
int RegExport(Args& args);
int RegImport(Args& args);

// A KEY of the command line (UTF-8; withSurrogates also takes halves of
// surrogate pairs, see FromUtf8WithSurrogates); a usage error for an
// unknown root.
KeyPath KeyArgument(const std::string& word, bool withSurrogates = false);

}  // namespace phone
