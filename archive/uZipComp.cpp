#include "archive/uZipComp.h"

#include "archive/ZipBackend.h"
#include "platform/ScuError.h"

#include <sys/stat.h>

void TZipComponent::SetZipFilename(const std::string& nativePath) {
    zipFilename_ = nativePath;
    ReadDirectory();
}

void TZipComponent::SetDLLDirectory(const std::string& folder) {
    dllDirectory_ = folder;
    if (!dllDirectory_.empty() && dllDirectory_.back() == '\\')
        dllDirectory_.pop_back();
}

void TZipComponent::ReadDirectory() {
    directory_ = {};
    directory_ = ReadZipDirectoryOfFile(zipFilename_);
}

void TZipComponent::PackFiles() {
    if (FSpecArgs.empty())
        throw ScuError("Error - no files to zip");
    if (zipFilename_.empty())
        throw ScuError("Error - no zip file specified");
    if (packing_)
        return;
    packing_ = true;
    struct Done {
        TZipComponent& self;
        ~Done() {
            self.FSpecArgs.clear();
            self.packing_ = false;
        }
    } done{*this};
    successCount_ = PackIntoArchive(zipFilename_, FSpecArgs, AddCompLevel);
    if (successCount_ > 0)
        ReadDirectory();
}

void TZipComponent::UnpackFiles() {
    struct stat st;
    if (zipFilename_.empty() || stat(zipFilename_.c_str(), &st) != 0)
        throw ScuError("Error - no zip file specified");
    if (unpacking_)
        return;
    unpacking_ = true;
    struct Done {
        TZipComponent& self;
        ~Done() {
            self.FSpecArgs.clear();
            self.unpacking_ = false;
        }
    } done{*this};
    // Files go into the base folder, or into the current folder when none is named. A named
    // folder that does not exist is an error rather than a reason to write somewhere else.
    const bool baseExists =
        !ExtrBaseDir.empty() && stat(ExtrBaseDir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    if (!ExtrBaseDir.empty() && !baseExists)
        throw ScuError("Unable to write to " + ExtrBaseDir);
    ExtractRules rules;
    rules.names = FSpecArgs;
    rules.allowed = ExtrAllowed;
    rules.sizeLimit = ExtrSizeLimit;
    rules.sizeLimitMessage = ExtrSizeLimitMessage;
    successCount_ =
        ExtractFromArchive(zipFilename_, baseExists ? ExtrBaseDir : std::string("."), rules);
}
