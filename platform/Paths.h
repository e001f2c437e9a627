#pragma once

#include <string>
#include <string_view>
#include <vector>

// Paths are kept as text in the utility's own form ("C:\Games\ZELTA\" + "bin\ZELTA.EXE", or a
// Linux folder followed by backslash-separated parts) and become native paths only at the file
// system call.

// The user's home folder: $HOME, else the password database's entry.
std::string HomeFolder();

// An XDG base folder: the variable when it holds an absolute path (the XDG rules ignore a
// relative one), else the home folder + fallback ("/.config", "/.local/share").
std::string XdgBaseFolder(const char* variable, const char* fallback);

// The Wine prefix: $WINEPREFIX, else $HOME/.wine.
std::string WinePrefix();

// Native path of a path text: a leading drive letter maps to <prefix>/dosdevices/x:, every "\"
// becomes "/", repeated separators collapse, and each component that does not exist with its
// exact case is looked up without regard to case.
std::string NativePath(std::string_view text);

bool FileExists(std::string_view text);      // an existing entry that is not a folder
bool DirectoryExists(std::string_view text); // an existing folder
bool DeleteFileAt(std::string_view text);    // removes a file (never a folder)

// The folder of the running executable, without a trailing separator.
std::string GetProgramFolder();

// Last component of a path text (after the last "\" or "/").
std::string ExtractFileName(std::string_view text);
// Everything up to and including the last "\" or "/".
std::string ExtractFilePath(std::string_view text);

// A path made absolute against a folder: a path that starts with "/", "\" or a drive letter is
// returned unchanged, as is any path when the folder is empty.
std::string AbsoluteAgainst(std::string_view path, std::string_view folder);
