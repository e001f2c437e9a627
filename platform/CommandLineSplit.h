#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits a program's argument string into its arguments by the Windows command-line rules, as a
// Windows program started through the shell would see them after its own path: arguments are
// separated by spaces and tabs; quotes group and are removed; backslashes are literal unless they
// stand before a quote (2n backslashes + quote give n backslashes and a grouping quote, 2n+1
// give n backslashes and a literal quote); runs of quotes follow the rules of the run-time library.
std::vector<std::string> SplitCommandLineArguments(std::string_view arguments);
