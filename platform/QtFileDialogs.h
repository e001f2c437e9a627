#pragma once

#include "platform/FileDialogs.h"

class QString;
class QWidget;

// File dialogs of the toolkit, modal to the main window.
class QtFileDialogs : public FileDialogs {
public:
    void SetOwner(QWidget* owner) { owner_ = owner; }
    std::optional<std::string> Save(const FileDialogRequest& request) override;
    std::optional<std::string> Open(const FileDialogRequest& request) override;

private:
    std::optional<std::string> Run(const FileDialogRequest& request, bool save);
    QWidget* owner_ = nullptr;
};

// The toolkit's name filter for a filter text "Description (*.ext)|*.ext".
QString QtNameFilter(const std::string& filter);
