#include "archive/XpdPackage.h"
#include "archive/uVexaZipComp.h"
#include "platform/ScuError.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Entry {
    std::string name;
    std::string data;
    bool link = false;
};

// An archive written entry by entry with libzip, names exactly as given.
void WriteArchive(const std::string& path, const std::vector<Entry>& entries) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const Entry& e : entries) {
        if (!e.name.empty() && e.name.back() == '/') {
            zip_dir_add(archive, e.name.c_str(), ZIP_FL_ENC_RAW);
            continue;
        }
        char* copy = static_cast<char*>(malloc(e.data.size() + 1));
        memcpy(copy, e.data.data(), e.data.size());
        zip_source_t* source = zip_source_buffer(archive, copy, e.data.size(), 1);
        const zip_int64_t index = zip_file_add(archive, e.name.c_str(), source, ZIP_FL_ENC_RAW);
        ASSERT_GE(index, 0) << e.name;
        if (e.link)
            zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                             zip_uint32_t(S_IFLNK | 0777) << 16);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

std::vector<std::string> Files(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.push_back(fs::relative(entry.path(), folder).string() +
                        (fs::is_symlink(entry.symlink_status()) ? "@" : ""));
    std::sort(names.begin(), names.end());
    return names;
}

std::string Unpack(const std::string& archive, const std::string& folder) {
    try {
        TVexaZipComponent zip;
        zip.gRaspakujFajl(archive, folder + "\\");
    } catch (const ScuError& error) {
        return error.what();
    }
    return "";
}

TEST(VexaZip, PacksIntoANewArchiveAndAddsToAnExistingOne) {
    TempFolder folder;
    folder.Write("work/K1.tmp", "first demo");
    folder.Write("work/xpd.ini", "[config]\r\n");
    TVexaZipComponent().gZapakujFajl(folder / "work/K1.tmp", folder / "out.xpd");
    TVexaZipComponent().gZapakujFajl(folder / "work/xpd.ini", folder / "out.xpd");

    TVexaZipComponent zip;
    zip.SetZipFilename(folder / "out.xpd");
    ASSERT_EQ(zip.ZipContents().size(), 2u);
    EXPECT_EQ(zip.ZipContents()[0].fileName, "K1.tmp"); // no folder part
    EXPECT_EQ(zip.ZipContents()[1].fileName, "xpd.ini");
    EXPECT_EQ(zip.ZipContents()[0].compressionMethod, 8u);

    // Packing a file of the same name again replaces its entry.
    folder.Write("work/K1.tmp", "second demo");
    TVexaZipComponent().gZapakujFajl(folder / "work/K1.tmp", folder / "out.xpd");
    fs::create_directory(folder / "x");
    EXPECT_EQ(Unpack(folder / "out.xpd", folder / "x"), "");
    EXPECT_EQ(folder.Read("x/K1.tmp"), "second demo");
    zip.SetZipFilename(folder / "out.xpd");
    EXPECT_EQ(zip.ZipContents().size(), 2u);
}

TEST(VexaZip, PackingRefusesWithoutFilesOrArchive) {
    TempFolder folder;
    TZipComponent zip;
    EXPECT_THROW(
        {
            try {
                zip.PackFiles();
            } catch (const ScuError& e) {
                EXPECT_STREQ(e.what(), "Error - no files to zip");
                throw;
            }
        },
        ScuError);
    zip.FSpecArgs = {"/nonexistent"};
    try {
        zip.PackFiles();
        FAIL();
    } catch (const ScuError& e) {
        EXPECT_STREQ(e.what(), "Error - no zip file specified");
    }
    try {
        TVexaZipComponent().gRaspakujFajl("/nonexistent/pkg.xpd", folder.Path() + "\\");
        FAIL();
    } catch (const ScuError& e) {
        EXPECT_STREQ(e.what(), "Error - no zip file specified");
    }
    EXPECT_TRUE(fs::is_empty(folder.Path()));
}

TEST(VexaZip, UnpacksFlatAndReplacesExistingFiles) {
    TempFolder folder;
    WriteArchive(folder / "pkg.xpd",
                 {{"deep/inside/K2.tmp", "demo"}, {"xpd.ini", "[config]\r\nnofmv=1\r\n"}});
    folder.Write("bin/xpd.ini", "old");
    EXPECT_EQ(Unpack(folder / "pkg.xpd", folder / "bin"), "");
    EXPECT_EQ(Files(folder / "bin"), (std::vector<std::string>{"K2.tmp", "xpd.ini"}));
    EXPECT_EQ(folder.Read("bin/xpd.ini"), "[config]\r\nnofmv=1\r\n");
}

TEST(VexaZip, HostilePackagesWriteOnlyDemosAndOptionsIntoTheFolder) {
    TempFolder folder;
    fs::create_directories(folder / "game/bin");
    folder.Write("game/bin/ZELTA.EXE", "the real game");
    folder.Write("outside.txt", "keep");
    fs::create_symlink(folder / "outside.txt", folder / "game/bin/linked.tmp");
    WriteArchive(folder / "evil.xpd", {
                                          {"../escape.tmp", "a"},
                                          {"../../outside.txt", "b"},
                                          {"/etc/absolute.tmp", "c"},
                                          {"..\\..\\back.tmp", "d"},
                                          {"ZELTA.EXE", "not the game"},
                                          {"libevil.so", "e"},
                                          {"folder/", ""},
                                          {"link.tmp", "/etc/passwd", true},
                                          {"..", "f"},
                                          {"linked.tmp", "written in place of the link"},
                                          {"K1.tmp", "demo"},
                                      });
    const std::string before = folder.Read("outside.txt");
    EXPECT_EQ(Unpack(folder / "evil.xpd", folder / "game/bin"), "");
    EXPECT_EQ(Files(folder / "game/bin"),
              (std::vector<std::string>{"K1.tmp", "ZELTA.EXE", "absolute.tmp", "back.tmp",
                                        "escape.tmp", "linked.tmp"}));
    EXPECT_EQ(folder.Read("game/bin/ZELTA.EXE"), "the real game");
    EXPECT_EQ(folder.Read("game/bin/linked.tmp"), "written in place of the link");
    EXPECT_EQ(folder.Read("outside.txt"), before);
    EXPECT_FALSE(fs::exists(folder / "escape.tmp"));
}

TEST(VexaZip, RefusesPackagesThatUnpackBeyondTheLimit) {
    TempFolder folder;
    WriteArchive(folder / "big.zip",
                 {{"a.tmp", std::string(3000, 'a')}, {"b.tmp", std::string(3000, 'b')}});
    fs::create_directory(folder / "bin");
    TVexaZipComponent zip;
    zip.ExtrSizeLimit = 5000;
    zip.SetZipFilename(folder / "big.zip");
    zip.FSpecArgs = {"a.tmp", "b.tmp"};
    zip.ExtrBaseDir = folder / "bin";
    try {
        zip.UnpackFiles();
        FAIL();
    } catch (const ScuError& e) {
        EXPECT_STREQ(e.what(), "XPD file is too large to unpack");
    }
    EXPECT_TRUE(fs::is_empty(folder / "bin"));
}

TEST(VexaZip, NonArchivesAreRefusedByTheDirectoryReader) {
    TempFolder folder;
    folder.Write("text.xpd", "just some text, no archive here\n");
    fs::create_directory(folder / "bin");
    EXPECT_EQ(Unpack(folder / "text.xpd", folder / "bin"), "No valid zip entries found");
    EXPECT_TRUE(fs::is_empty(folder / "bin"));
}

TEST(VexaZip, AnArchiveThatTheLibraryCannotOpenUnpacksNothingAndRaisesNothing) {
    TempFolder folder;
    WriteArchive(folder / "whole.xpd", {{"K1.tmp", "demo"}, {"xpd.ini", "[config]"}});
    const std::string whole = folder.Read("whole.xpd");
    folder.Write("cut.xpd", whole.substr(0, whole.size() - 22)); // without its end record
    fs::create_directory(folder / "bin");
    EXPECT_EQ(Unpack(folder / "cut.xpd", folder / "bin"), "");
    EXPECT_TRUE(fs::is_empty(folder / "bin"));
}

TEST(VexaZip, NothingIsUnpackedWhenTheTargetFolderIsMissing) {
    TempFolder folder;
    WriteArchive(folder / "pkg.xpd", {{"K1.tmp", "demo"}});
    const std::string before = fs::current_path();
    fs::current_path(folder.Path());
    const std::string error = Unpack(folder / "pkg.xpd", folder / "missing");
    fs::current_path(before);
    EXPECT_EQ(error, "Unable to write to " + (folder / "missing"));
    EXPECT_FALSE(folder.Exists("K1.tmp"));
}

TEST(VexaZip, XpdPackagesHoldOnlyDemosAndOptions) {
    struct Case {
        const char* name;
        bool allowed;
    } cases[] = {{"K1.tmp", true},     {"k1.TMP", true},        {"XPD.INI", true},
                 {"xpd.ini", true},    {".tmp", false},         {"ZELTA.EXE", false},
                 {"a.tmp.exe", false}, {"settings.ini", false}, {"", false}};
    for (const Case& c : cases)
        EXPECT_EQ(IsXpdPackageFileName(c.name), c.allowed) << c.name;
}

TEST(VexaZip, TrailingBackslashIsRemovedOnce) {
    EXPECT_EQ(TVexaZipComponent::IzbaciCrtuIzPutanje("C:\\Games\\ZELTA\\bin\\"),
              "C:\\Games\\ZELTA\\bin");
    EXPECT_EQ(TVexaZipComponent::IzbaciCrtuIzPutanje("C:\\bin"), "C:\\bin");
    EXPECT_EQ(TVexaZipComponent::IzbaciCrtuIzPutanje("a\\\\"), "a\\");
    EXPECT_EQ(TVexaZipComponent::IzbaciCrtuIzPutanje(""), "");
}

} // namespace
