#pragma once

#include "archive/ZipDirectory.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum AddOption : unsigned {
    AddDirNames = 1u << 0,
    AddRecurseDirs = 1u << 1,
    AddMove = 1u << 2,
    AddFreshen = 1u << 3,
    AddUpdate = 1u << 4,
    AddZipTime = 1u << 5,
    AddForceDOS = 1u << 6,
    AddHiddenFiles = 1u << 7,
    AddEncrypt = 1u << 8,
};
enum ExtrOption : unsigned {
    ExtrDirNames = 1u << 0,
    ExtrOverWrite = 1u << 1,
    ExtrFreshen = 1u << 2,
    ExtrUpdate = 1u << 3,
    ExtrTest = 1u << 4,
};

// The archive component: reads an archive's directory itself and hands packing and extraction to
// the ZIP library. The library is linked into the program, so loading it cannot fail. Errors are
// raised as ScuError with the component's messages.
class TZipComponent {
public:
    TZipComponent() = default;
    virtual ~TZipComponent() = default;

    const std::string& ZipFilename() const { return zipFilename_; }
    // Setting the archive path (native) reads its directory.
    void SetZipFilename(const std::string& nativePath);

    std::vector<std::string> FSpecArgs; // native file paths (pack) or entry names (unpack)
    int AddCompLevel = 9;
    unsigned AddOptions = 0;
    unsigned ExtrOptions = 0;
    std::string ExtrBaseDir; // native folder receiving unpacked files
    std::string Password;
    bool Verbose = false;
    bool Trace = false;
    const std::string& DLLDirectory() const { return dllDirectory_; }
    void SetDLLDirectory(const std::string& folder);

    // Which unpacked files may be written (name without folders); all when unset.
    std::function<bool(const std::string& fileName)> ExtrAllowed;
    // Most bytes the unpacked files of one call may hold, and the error raised beyond it.
    std::uint64_t ExtrSizeLimit = UINT64_MAX;
    std::string ExtrSizeLimitMessage;

    const std::vector<ZipDirEntry>& ZipContents() const { return directory_.entries; }
    std::uint64_t FirstEntryOffset() const { return directory_.firstEntryOffset; }
    int SuccessCount() const { return successCount_; }

    void LoadZipLibrary() {}
    void LoadUnzipLibrary() {}
    void ReadDirectory();
    void PackFiles();
    void UnpackFiles();

private:
    std::string zipFilename_;
    std::string dllDirectory_;
    ZipDirectory directory_;
    int successCount_ = 0;
    bool packing_ = false;
    bool unpacking_ = false;
};
