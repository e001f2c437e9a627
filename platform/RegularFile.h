#pragma once

#include <string>

// Opening a file that the utility only reads (a program, a name table, a language file, a
// package). Whatever its name, a FIFO, a device or a socket is refused at once: opening one
// could wait for a writer for ever and freeze the window, and reading one is never what a user
// means. Folders are refused too.

// A descriptor for reading the regular file at a native path (close it when done), or -1 with
// errno set (EINVAL for an entry that is no regular file). The open itself never waits.
int OpenRegularFile(const std::string& nativePath);

// Whether a regular file is at the native path (symbolic links followed), for a file that is
// handed to another program rather than read here.
bool IsRegularFile(const std::string& nativePath);
