#pragma once

#include <string>

// The media components' trace: one line per message, appended to
// <temporary folder>/<program file name without extension>.txt (temporary folder $TMPDIR, else
// /tmp). The file is opened for each line (append, create, mode 0600, non-blocking, never through
// a symbolic link) and closed again; the line is written only when the file is a regular file
// owned by the user, otherwise it is dropped. Errors are ignored.
void TraceMessage(const std::string& className, const std::string& fileName,
                  const std::string& message);

// The file the trace goes to.
std::string TraceFilePath();
