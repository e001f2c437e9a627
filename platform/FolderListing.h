#pragma once

#include <string>
#include <vector>

// The names of a folder's subfolders (entries that are folders or lead to one through a link),
// as the bytes they are on disk, which need not be UTF-8; "." and ".." left out, in the order
// the folder gives them. None for a folder that cannot be read.
std::vector<std::string> ListSubfolders(const std::string& folder);

// Whether a folder holds a subfolder; stops at the first one found.
bool HasSubfolder(const std::string& folder);
