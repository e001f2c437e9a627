#include "archive/uVexaZipComp.h"

#include "archive/XpdPackage.h"
#include "platform/Paths.h"

TVexaZipComponent::TVexaZipComponent() {
    AddCompLevel = 9;
    Verbose = false;
    Trace = false;
    AddOptions = 0;
    ExtrOptions = ExtrOverWrite;
    ExtrAllowed = IsXpdPackageFileName;
    ExtrSizeLimit = kXpdUnpackLimit;
    ExtrSizeLimitMessage = kXpdTooLargeMessage;
}

void TVexaZipComponent::gZapakujFajl(const std::string& file, const std::string& archive) {
    LoadZipLibrary();
    SetZipFilename(NativePath(archive));
    FSpecArgs = {NativePath(file)};
    PackFiles();
}

void TVexaZipComponent::gRaspakujFajl(const std::string& archive, const std::string& folder) {
    LoadUnzipLibrary();
    SetZipFilename(NativePath(archive));
    FSpecArgs.clear();
    for (const ZipDirEntry& entry : ZipContents())
        FSpecArgs.push_back(entry.fileName);
    ExtrBaseDir = NativePath(IzbaciCrtuIzPutanje(folder));
    UnpackFiles();
}

std::string TVexaZipComponent::IzbaciCrtuIzPutanje(const std::string& path) {
    if (!path.empty() && path.back() == '\\')
        return path.substr(0, path.size() - 1);
    return path;
}
