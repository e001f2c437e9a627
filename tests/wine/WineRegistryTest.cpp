#include "wine/WineRegistry.h"
#include "launcher/GameDiscovery.h"
#include "platform/ScuError.h"
#include "support/TempFolder.h"
#include "wine/WinePrefixGameRegistry.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

const char* kHeader =
    "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n";

std::string TextOf(const WineRegistryHive& hive, const char* key, const char* value) {
    const auto* v = hive.Find(key, value);
    return v ? v->data : "<none>";
}

TEST(WineRegistryHive, ReadsEveryDataFormOfAWellFormedFile) {
    const std::string text = std::string(kHeader) +
                             "[Software\\\\Halvern\\\\Quellgard\\\\1.0] 1700000000\n"
                             "#time=1d9a2b3c4d5e6f7\n"
                             "@=\"default\"\n"
                             "\"InstalledPath\"=\"C:\\\\Games\\\\ZELTA\\\\\"\n"
                             "\"Expand\"=str(2):\"%ProgramFiles%\\\\ZELTA\"\n"
                             "\"Multi\"=str(7):\"a\\0b\\0\"\n"
                             "\"Count\"=dword:0000002a\n"
                             "\"Blob\"=hex:01,02,ff\n"
                             "\"Long\"=hex(3):01,02,\\\n  03,04\n"
                             "\"Utf16\"=hex(1):43,00,3a,00,5c,00,00,00\n"
                             "\"Escapes\"=\"tab\\there \\\"q\\\" \\x00e9\\x263a \\101\"\n"
                             "\"Raw\"=\"Gr\xc3\xbc\xc3\x9f\"\n";
    const auto hive = WineRegistryHive::Parse(text);
    const char* key = "Software\\Halvern\\Quellgard\\1.0";
    EXPECT_EQ(TextOf(hive, key, ""), "default");
    EXPECT_EQ(TextOf(hive, key, "InstalledPath"), "C:\\Games\\ZELTA\\");
    EXPECT_EQ(hive.Find(key, "InstalledPath")->type, WineRegistryHive::kString);
    EXPECT_EQ(TextOf(hive, key, "Expand"), "%ProgramFiles%\\ZELTA");
    EXPECT_EQ(hive.Find(key, "Expand")->type, WineRegistryHive::kExpandString);
    EXPECT_EQ(TextOf(hive, key, "Multi"), std::string("a\0b\0", 4));
    EXPECT_EQ(hive.Find(key, "Multi")->type, WineRegistryHive::kMultiString);
    EXPECT_EQ(TextOf(hive, key, "Count"), std::string("\x2a\0\0\0", 4));
    EXPECT_EQ(hive.Find(key, "Count")->type, WineRegistryHive::kDword);
    EXPECT_EQ(TextOf(hive, key, "Blob"), "\x01\x02\xff");
    EXPECT_EQ(TextOf(hive, key, "Long"), "\x01\x02\x03\x04")
        << "a hex list goes on after a backslash";
    EXPECT_EQ(TextOf(hive, key, "Utf16"), "C:\\") << "text stored as UTF-16 bytes";
    EXPECT_EQ(hive.Find(key, "Utf16")->type, WineRegistryHive::kString);
    EXPECT_EQ(TextOf(hive, key, "Escapes"), "tab\there \"q\" \xc3\xa9\xe2\x98\xba A");
    EXPECT_EQ(TextOf(hive, key, "Raw"), "Gr\xc3\xbc\xc3\x9f");
}

TEST(WineRegistryHive, MatchesKeysAndValuesWithoutRegardToCase) {
    const auto hive = WineRegistryHive::Parse(
        std::string(kHeader) +
        "[SOFTWARE\\\\halvern\\\\QUELLGARD\\\\1.0]\n\"installedpath\"=\"x\"\n");
    EXPECT_EQ(TextOf(hive, "Software\\Halvern\\Quellgard\\1.0", "InstalledPath"), "x");
    EXPECT_EQ(TextOf(hive, "\\software\\\\halvern\\quellgard\\1.0\\", "INSTALLEDPATH"), "x")
        << "leading, doubled and trailing separators do not matter";
    EXPECT_TRUE(hive.HasKey("software\\HALVERN\\Quellgard\\1.0"));
    EXPECT_FALSE(hive.HasKey("Software\\Halvern"));
}

TEST(WineRegistryHive, SkipsMalformedLinesAndKeepsReadingTheRest) {
    const std::string text = "WINE REGISTRY Version 2\r\n"
                             "\"Orphan\"=\"before any key\"\r\n"
                             "[Software\\\\Unclosed\r\n"
                             "\"InUnclosedKey\"=\"x\"\r\n"
                             "[Software\\\\Good] 1\r\n"
                             "\"NoEquals\" \"x\"\r\n"
                             "\"Unterminated\"=\"abc\r\n"
                             "\"TrailingJunk\"=\"abc\" junk\r\n"
                             "\"BadDword\"=dword:xyz\r\n"
                             "\"LongDword\"=dword:123456789\r\n"
                             "\"BadHex\"=hex:1,zz\r\n"
                             "\"UnknownForm\"=bogus:1\r\n"
                             "garbage line\r\n"
                             "\"Good\"=\"yes\"\r\n"
                             "\"Good\"=\"second definition\"\r\n"
                             "\"Empty\"=\"\"\r\n"
                             "\"EmptyHex\"=hex:\r\n"
                             "\"NoQuoteEnd";
    const auto hive = WineRegistryHive::Parse(text);
    for (const char* bad : {"Orphan", "NoEquals", "Unterminated", "TrailingJunk", "BadDword",
                            "LongDword", "BadHex", "UnknownForm", "NoQuoteEnd"})
        EXPECT_EQ(hive.Find("Software\\Good", bad), nullptr) << bad;
    EXPECT_FALSE(hive.HasKey("Software\\Unclosed"));
    EXPECT_EQ(TextOf(hive, "Software\\Good", "Good"), "yes") << "the first definition wins";
    EXPECT_EQ(TextOf(hive, "Software\\Good", "Empty"), "");
    ASSERT_NE(hive.Find("Software\\Good", "EmptyHex"), nullptr);
    EXPECT_EQ(hive.Find("Software\\Good", "EmptyHex")->type, WineRegistryHive::kBinary);
}

TEST(WineRegistryHive, SurvivesArbitraryBytes) {
    std::string text = std::string(kHeader) + "[A]\n\"v\"=\"\\x";
    for (int i = 0; i < 2000; ++i)
        text += static_cast<char>((i * 7919) % 256);
    const auto hive = WineRegistryHive::Parse(text);
    EXPECT_TRUE(hive.HasKey("A"));
}

class PrefixRegistryTest : public ::testing::Test {
protected:
    void WriteSystemReg(const std::string& body) {
        prefix.Write("system.reg", std::string(kHeader) + body);
    }
    std::string Read(const std::string& name) {
        return WinePrefixGameRegistry(prefix.Path()).ReadString(name);
    }
    TempFolder prefix;
};

TEST_F(PrefixRegistryTest, MissingPrefixKeyValueOrEmptyValueReadAsEmptyText) {
    EXPECT_EQ(WinePrefixGameRegistry(prefix / "no-such-prefix").ReadString("InstalledPath"), "");
    WriteSystemReg(
        "[Software\\\\Halvern\\\\Quellgard\\\\2.0]\n\"InstalledPath\"=\"C:\\\\x\\\\\"\n");
    EXPECT_EQ(Read("InstalledPath"), "") << "another key";
    WriteSystemReg("[Software\\\\Halvern\\\\Quellgard\\\\1.0]\n\"Other\"=\"C:\\\\x\\\\\"\n");
    EXPECT_EQ(Read("InstalledPath"), "");
    WriteSystemReg("[Software\\\\Halvern\\\\Quellgard\\\\1.0]\n\"InstalledPath\"=\"\"\n");
    EXPECT_EQ(Read("InstalledPath"), "");
    WriteSystemReg("[Software\\\\Halvern\\\\Quellgard\\\\1.0]\n\"InstalledPath\"=hex:\n");
    EXPECT_EQ(Read("InstalledPath"), "") << "no data of any type is empty text";
}

TEST_F(PrefixRegistryTest, TextValuesAreReadAndOtherTypesRaiseTheDataTypeError) {
    WriteSystemReg("[Software\\\\Halvern\\\\Quellgard\\\\1.0]\n"
                   "\"InstalledPath\"=\"Z:\\\\home\\\\ann\\\\zelta\\\\\"\n"
                   "\"Expanded\"=str(2):\"C:\\\\Games\\\\\"\n"
                   "\"Number\"=dword:00000001\n"
                   "\"Bytes\"=hex:41,42\n"
                   "\"List\"=str(7):\"a\\0\"\n");
    EXPECT_EQ(Read("InstalledPath"), "Z:\\home\\ann\\zelta\\");
    EXPECT_EQ(Read("installedPATH"), "Z:\\home\\ann\\zelta\\");
    EXPECT_EQ(Read("Expanded"), "C:\\Games\\") << "expandable text is text, left unexpanded";
    for (const char* name : {"Number", "Bytes", "List"}) {
        try {
            Read(name);
            ADD_FAILURE() << name << " was read as text";
        } catch (const ScuError& error) {
            EXPECT_EQ(std::string(error.what()),
                      std::string("Invalid data type for '") + name + "'");
        }
    }
}

TEST_F(PrefixRegistryTest, The32BitViewOfA64BitPrefixComesFirst) {
    WriteSystemReg(
        "#arch=win64\n"
        "[Software\\\\Halvern\\\\Quellgard\\\\1.0]\n\"InstalledPath\"=\"C:\\\\Native\\\\\"\n"
        "\"OnlyNative\"=\"n\"\n"
        "[Software\\\\Wow6432Node\\\\Halvern\\\\Quellgard\\\\1.0]\n\"InstalledPath\"=\"C:"
        "\\\\Wow\\\\\"\n");
    EXPECT_EQ(Read("InstalledPath"), "C:\\Wow\\");
    EXPECT_EQ(Read("OnlyNative"), "n");
    WriteSystemReg("[Software\\\\Wow6432Node\\\\Halvern\\\\Quellgard\\\\1.0]\n\"InstalledPath\"="
                   "\"C:\\\\Wow\\\\\"\n");
    EXPECT_EQ(Read("InstalledPath"), "C:\\Wow\\");
}

TEST_F(PrefixRegistryTest, ReadingCreatesNothing) {
    WriteSystemReg("");
    const std::string before = prefix.Read("system.reg");
    EXPECT_EQ(Read("InstalledPath"), "");
    EXPECT_EQ(prefix.Read("system.reg"), before);
}

TEST_F(PrefixRegistryTest, TheFailureTextStandsForEveryMissingValue) {
    WinePrefixGameRegistry registry(prefix.Path());
    EXPECT_EQ(ReadGameRegistryValue(&registry, "InstalledPath"), "error getting registry value");
    EXPECT_EQ(ReadGameRegistryValue(nullptr, "InstalledPath"), "error getting registry value");
    WriteSystemReg(
        "[Software\\\\Halvern\\\\Quellgard\\\\1.0]\n\"InstalledPath\"=\"C:\\\\G\\\\\"\n");
    EXPECT_EQ(ReadGameRegistryValue(&registry, "InstalledPath"), "C:\\G\\") << "used as stored";
}

} // namespace

namespace {

// A file as Wine writes it: keys in order, names compared in upper case, parents first.
std::string SortedWineFile(bool withRecord) {
    std::string text =
        "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n";
    for (int i = 0; i < 1500; ++i)
        text += "[Software\\\\Classes\\\\CLSID\\\\{" + std::to_string(100000 + i) +
                "}] 1700000000\n#time=1\n@=\"x\"\n\"Bytes\"=hex:00,01,02,\\\n  03,04\n\n";
    if (withRecord)
        text += "[Software\\\\HALVERN\\\\Quellgard\\\\1.0] "
                "1700000000\n\"InstalledPath\"=\"C:\\\\Plain\\\\\"\n"
                "\"Other\"=\"o\"\n\n";
    text += "[Software\\\\Halvern\\\\Quellgard\\\\1.0\\\\Sub] 1\n\"InstalledPath\"=\"wrong\"\n\n";
    text += "[Software\\\\Halvern_Tools] 1\n\"InstalledPath\"=\"wrong\"\n\n";
    for (int i = 0; i < 700; ++i)
        text += "[Software\\\\Microsoft\\\\Key" + std::to_string(1000 + i) + "] 1\n\"v\"=\"w\"\n";
    if (withRecord)
        text += "[Software\\\\Wow6432Node\\\\halvern\\\\Quellgard\\\\1.0] "
                "1\n\"InstalledPath\"=\"C:\\\\Wow\\\\\"\n";
    text += "[System\\\\CurrentControlSet] 1\n\"v\"=\"w\"\n";
    return text;
}

// The record's key is found in a file of Wine's by bisection, in any other file by the search
// for its header, and both read what the whole file's parse reads.
TEST(WineRegistryKeys, OnlyTheRecordsKeysAreReadAndReadAsTheWholeFileReadsThem) {
    const std::vector<std::string> keys{kGameRegistryKey32, kGameRegistryKey};
    for (const bool withRecord : {true, false}) {
        const std::string sorted = SortedWineFile(withRecord);
        const WineRegistryHive whole = WineRegistryHive::Parse(sorted);
        for (const std::string& text :
             {sorted, sorted.substr(sorted.find('\n') + 1) /* no signature: searched */}) {
            const std::string sections = WineRegistryHive::SortedKeySections(text, keys);
            EXPECT_LT(sections.size(), 300u);
            const WineRegistryHive part = WineRegistryHive::Parse(sections);
            for (const std::string& key : keys)
                for (const char* value : {"InstalledPath", "Other"})
                    EXPECT_EQ(TextOf(part, key.c_str(), value), TextOf(whole, key.c_str(), value))
                        << key << " " << value << " record " << withRecord;
        }
    }
    EXPECT_EQ(TextOf(WineRegistryHive::Parse(
                         WineRegistryHive::SortedKeySections(SortedWineFile(true), keys)),
                     kGameRegistryKey32, "InstalledPath"),
              "C:\\Wow\\");
    // A record added by hand out of order, at the end or at the start, is still found.
    const std::string record =
        "[Software\\\\Halvern\\\\Quellgard\\\\1.0] 1\n\"InstalledPath\"=\"C:\\\\Hand\\\\\"\n";
    const std::string body = SortedWineFile(false);
    const size_t firstKey = body.find("\n[") + 1;
    for (const std::string& edited :
         {"[Software\\\\Zed] 1\n\"v\"=\"w\"\n" + record, body + record,
          body.substr(0, firstKey) + "[Software\\\\Zed] 1\n" + record + body.substr(firstKey)})
        EXPECT_EQ(TextOf(WineRegistryHive::Parse(WineRegistryHive::SortedKeySections(edited, keys)),
                         kGameRegistryKey, "InstalledPath"),
                  "C:\\Hand\\");
}

// A file of Wine's cut short while it was written: `size` bytes of keys that all sort before the
// record's, the last line a key header without its newline.
std::string CutWineFile(size_t size, const std::string& lastLine) {
    std::string text = kHeader;
    for (int i = 0; text.size() + 200 + lastLine.size() < size; ++i)
        text += "[Software\\\\Classes\\\\CLSID\\\\{" + std::to_string(100000 + i) +
                "}] 1700000000\n@=\"x\"\n";
    text += ";" + std::string(size - text.size() - lastLine.size() - 2, 'p') + "\n" + lastLine;
    return text;
}

// Nothing a damaged file holds is read beyond its end: the record reads as not found. A mapping
// ends at a page boundary, with a page after it that cannot be read; a file of 4 MiB is mapped
// by the reader itself.
TEST(WineRegistryKeys, AFileCutAfterAKeyHeaderIsReadWithinItsEnd) {
    const std::vector<std::string> keys{kGameRegistryKey32, kGameRegistryKey};
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    TempFolder folder;
    for (const std::string lastLine :
         {"[Software\\\\Classes\\\\Cut] 1700000000", "[Software\\\\Classes\\\\Cu", "["}) {
        const std::string text = CutWineFile(page, lastLine);
        ASSERT_EQ(text.size(), page);
        char* const mapped = static_cast<char*>(
            mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        ASSERT_NE(mapped, MAP_FAILED);
        text.copy(mapped, page);
        ASSERT_EQ(mprotect(mapped + page, page, PROT_NONE), 0);
        EXPECT_EQ(WineRegistryHive::SortedKeySections(std::string_view(mapped, page), keys), "")
            << lastLine;
        munmap(mapped, 2 * page);

        folder.Write("system.reg", CutWineFile(4 << 20, lastLine));
        const auto hive = WineRegistryHive::LoadKeys(folder / "system.reg", keys);
        ASSERT_TRUE(hive) << lastLine;
        EXPECT_FALSE(hive->HasKey(kGameRegistryKey)) << lastLine;
        EXPECT_EQ(WinePrefixGameRegistry(folder.Path()).ReadString("InstalledPath"), "");
    }
}

} // namespace
