#pragma once

// Makes XPD packages open with this program; raises ScuError when a write fails.
class FileTypeRegistrar {
public:
    virtual ~FileTypeRegistrar() = default;
    virtual void RegisterXpdFileType() = 0;
};
