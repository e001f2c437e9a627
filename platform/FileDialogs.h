#pragma once

#include <optional>
#include <string>

// The common open and save dialogs. Each returns the chosen native path, or no value when the
// user cancelled.
struct FileDialogRequest {
    std::string title;
    std::string initialFolder;    // native folder the dialog opens in
    std::string filter;           // "Description (*.ext)|*.ext"
    std::string defaultExtension; // added to a name typed without one ("xpd")
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The folder must exist; an existing file is replaced only after the user confirmed it.
    virtual std::optional<std::string> Save(const FileDialogRequest& request) = 0;
    // The folder and the file must exist.
    virtual std::optional<std::string> Open(const FileDialogRequest& request) = 0;
};
