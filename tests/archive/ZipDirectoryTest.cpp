#include "archive/ZipDirectory.h"
#include "archive/uVexaZipComp.h"
#include "archive/uZipComp.h"
#include "platform/ScuError.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace {

// A local file header for an entry stored without compression.
std::string LocalEntry(const std::string& name, const std::string& data,
                       const std::string& extra = "") {
    auto word = [](unsigned v) { return std::string{char(v & 0xff), char(v >> 8 & 0xff)}; };
    auto dword = [&](unsigned v) { return word(v & 0xffff) + word(v >> 16); };
    return std::string("PK\x03\x04", 4) + word(10) + word(0) + word(0) + dword(0x12345678) +
           dword(0xCAFEBABE) + dword(unsigned(data.size())) + dword(unsigned(data.size())) +
           word(unsigned(name.size())) + word(unsigned(extra.size())) + name + extra + data;
}
const std::string kCentral("PK\x01\x02", 4);
const std::string kEnd = std::string("PK\x05\x06", 4) + std::string(18, '\0');

ZipDirectory Read(const std::string& bytes, std::uint64_t start = 0) {
    std::istringstream in(bytes);
    return ReadZipDirectory(in, bytes.size(), start);
}

std::string ErrorOf(const std::string& bytes) {
    try {
        Read(bytes);
    } catch (const ScuError& error) {
        return error.what();
    }
    return "no error";
}

TEST(ZipDirectory, ListsEveryEntryUpToTheCentralDirectory) {
    const std::string bytes = LocalEntry("K1.tmp", "demo data") +
                              LocalEntry("xpd.ini", "[config]\r\n") + kCentral +
                              std::string(40, 'c') + kEnd;
    const ZipDirectory dir = Read(bytes);
    ASSERT_EQ(dir.entries.size(), 2u);
    EXPECT_EQ(dir.entries[0].fileName, "K1.tmp");
    EXPECT_EQ(dir.entries[0].compressedSize, 9u);
    EXPECT_EQ(dir.entries[0].crc32, 0xCAFEBABEu);
    EXPECT_EQ(dir.entries[0].dateTime, 0x12345678u);
    EXPECT_EQ(dir.entries[1].fileName, "xpd.ini");
    EXPECT_EQ(dir.firstEntryOffset, 0u);
}

TEST(ZipDirectory, SkipsExtraFieldsAndFindsTheFirstEntryAfterLeadingBytes) {
    // Broken candidates ("P", "PK", "PK\3") come before the real header.
    const std::string lead = std::string("xxPyPKzPK\x03w", 11);
    const std::string bytes = lead + LocalEntry("a.tmp", "12345", "EXTRA") + kEnd;
    const ZipDirectory dir = Read(bytes);
    ASSERT_EQ(dir.entries.size(), 1u);
    EXPECT_EQ(dir.entries[0].fileName, "a.tmp");
    EXPECT_EQ(dir.entries[0].extraFieldLength, 5u);
    EXPECT_EQ(dir.firstEntryOffset, lead.size());
}

TEST(ZipDirectory, SearchesAtMostSixtyThousandBytes) {
    const std::string entry = LocalEntry("a.tmp", "x") + kEnd;
    // The "P" is the 60000th byte searched: still found.
    EXPECT_EQ(Read(std::string(59999, 'z') + entry).entries.size(), 1u);
    EXPECT_EQ(ErrorOf(std::string(60000, 'z') + entry), "No valid zip entries found");
}

TEST(ZipDirectory, ReportsEachKindOfDamage) {
    const std::string good = LocalEntry("a.tmp", "data");
    struct Case {
        const char* what;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"not an archive", "This is a plain text file, not an archive.\n",
         "No valid zip entries found"},
        {"empty file", "", "No valid zip entries found"},
        {"signature cut short", good + std::string(23, 'z'), "Error reading Zip File"},
        {"second header cut short", good + LocalEntry("b.tmp", "data").substr(0, 24),
         "Error 2 reading Zip file"},
        {"second entry's data beyond the end",
         good + LocalEntry("b.tmp", std::string(30, 'd')).substr(0, 50) + std::string(30, '\0'),
         "Error 3 reading Zip file"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf(c.bytes), c.message) << c.what;
}

TEST(ZipDirectory, ADamagedFirstEntrySendsTheReaderBackToSearching) {
    // The first header claims more data than the file holds; a good entry follows.
    std::string broken = LocalEntry("bad.tmp", "");
    broken[18] = '\xff'; // compressed size 0x..ff
    broken[19] = '\xff';
    const std::string bytes = broken + LocalEntry("good.tmp", "data") + kEnd;
    const ZipDirectory dir = Read(bytes);
    ASSERT_EQ(dir.entries.size(), 1u);
    EXPECT_EQ(dir.entries[0].fileName, "good.tmp");
}

TEST(ZipDirectory, SelfExtractorsAreSearchedPastTheirProgram) {
    TempFolder folder;
    const std::string archive =
        LocalEntry("early.tmp", "x") + std::string(14000, 'z') + LocalEntry("late.tmp", "y") + kEnd;
    folder.Write("demo.EXE", archive);
    folder.Write("demo.zip", archive);
    ASSERT_EQ(ReadZipDirectoryOfFile(folder / "demo.EXE").entries.size(), 1u);
    EXPECT_EQ(ReadZipDirectoryOfFile(folder / "demo.EXE").entries[0].fileName, "late.tmp");
    EXPECT_EQ(ReadZipDirectoryOfFile(folder / "demo.zip").entries[0].fileName, "early.tmp");
    EXPECT_TRUE(ReadZipDirectoryOfFile(folder / "missing.zip").entries.empty());
}

TEST(ZipDirectory, ReadsArchivesOfInfoZip) {
    TempFolder folder;
    folder.Write("K1.tmp", std::string(5000, 'a') + "demo");
    folder.Write("xpd.ini", "[config]\r\nnofmv=1\r\n");
    const std::string command = "cd '" + folder.Path() + "' && zip -q -9 pkg.xpd K1.tmp xpd.ini";
    ASSERT_EQ(std::system(command.c_str()), 0);
    TZipComponent zip;
    zip.SetZipFilename(folder / "pkg.xpd");
    ASSERT_EQ(zip.ZipContents().size(), 2u);
    EXPECT_EQ(zip.ZipContents()[0].fileName, "K1.tmp");
    EXPECT_EQ(zip.ZipContents()[0].uncompressedSize, 5004u);
    EXPECT_EQ(zip.ZipContents()[0].compressionMethod, 8u);
    EXPECT_EQ(zip.ZipContents()[1].fileName, "xpd.ini");
}

TEST(ZipDirectory, ReadsArchivesWrittenToAStream) {
    // Written to a pipe, Info-ZIP puts the sizes after each entry's data (a data descriptor).
    TempFolder folder;
    folder.Write("K1.tmp", std::string(3000, 'k') + "demo");
    folder.Write("xpd.ini", "[config]\r\nnofmv=1\r\n");
    const std::string command =
        "cd '" + folder.Path() + "' && zip -q -9 - K1.tmp xpd.ini | cat > streamed.xpd";
    ASSERT_EQ(std::system(command.c_str()), 0);
    TZipComponent zip;
    zip.SetZipFilename(folder / "streamed.xpd");
    ASSERT_EQ(zip.ZipContents().size(), 2u);
    EXPECT_NE(zip.ZipContents()[0].flags & 8, 0);
    EXPECT_EQ(zip.ZipContents()[0].fileName, "K1.tmp");
    EXPECT_EQ(zip.ZipContents()[0].uncompressedSize, 3004u);
    EXPECT_EQ(zip.ZipContents()[1].fileName, "xpd.ini");
    std::filesystem::create_directory(folder / "bin");
    TVexaZipComponent().gRaspakujFajl(folder / "streamed.xpd", folder.Path() + "/bin\\");
    EXPECT_EQ(folder.Read("bin/xpd.ini"), "[config]\r\nnofmv=1\r\n");
    EXPECT_EQ(folder.Read("bin/K1.tmp").size(), 3004u);
}

} // namespace
