#pragma once

#include <string>

// The media components' trace: one line per message, appended to
// <temporary folder>/<program file name without extension>.txt (temporary folder $TMPDIR, else
// /tmp). The file is opened for each line (append, create, mode 0600, never through a symbolic
// link) and closed again; errors are ignored.
void TraceMessage(const std::string& className, const std::string& fileName,
                  const std::string& message);

// The file the trace goes to.
std::string TraceFilePath();
