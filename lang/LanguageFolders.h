#pragma once

#include <string>
#include <string_view>
#include <vector>

// Language files in several folders: an installed copy's shipped ones and the user's own.
// The folders are given in order; on equal names (without regard to case, as the platform's
// file names once were) the later folder wins, so the user's own file replaces a shipped one.

// The language names of every folder, each once, in the order of the folder listings, the first
// folder's first.
std::vector<std::string> ListLanguages(const std::vector<std::string>& folders);

// The path of a language's file: in the last folder that holds it, else in the first folder.
std::string FindLanguageFile(const std::vector<std::string>& folders, std::string_view name);
