#include "platform/IniFile.h"
#include "platform/AtomicFile.h"
#include "platform/IniSectionIndex.h"
#include "platform/ScuError.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(IniReadRules, MatchesNamesWithoutCaseAndTakesTheFirstMatch) {
    auto doc = IniDocument::Parse(
        "[Config]\r\nVersion=first\r\nversion=second\r\n[config]\r\nlang=other\r\n");
    EXPECT_EQ(doc.Read("CONFIG", "VERSION"), "first");
    // Only the first section of a name is searched.
    EXPECT_EQ(doc.Read("config", "lang"), std::nullopt);
}

TEST(IniReadRules, TrimsAndRemovesOnePairOfMatchingQuotes) {
    auto doc = IniDocument::Parse("[s]\n  a =  spaced value  \nb=\"  kept  "
                                  "\"\nc='x'\nd=\"a\"b\"\ne=\"abc\nf='x\"\ng=\"\"\nh=\"\n");
    EXPECT_EQ(doc.Read("s", "a"), "spaced value");
    EXPECT_EQ(doc.Read("s", "b"), "  kept  ");
    EXPECT_EQ(doc.Read("s", "c"), "x");
    EXPECT_EQ(doc.Read("s", "d"), "a\"b");
    EXPECT_EQ(doc.Read("s", "e"), "\"abc");
    EXPECT_EQ(doc.Read("s", "f"), "'x\"");
    EXPECT_EQ(doc.Read("s", "g"), "");
    EXPECT_EQ(doc.Read("s", "h"), "\"");
}

TEST(IniReadRules, EmptyValueDiffersFromMissingKey) {
    auto doc = IniDocument::Parse("[Buttons]\nExit=\nNoEquals\n;Rescan=x\n");
    EXPECT_EQ(doc.Read("Buttons", "Exit"), "");
    EXPECT_EQ(doc.Read("Buttons", "NoEquals"), std::nullopt);
    EXPECT_EQ(doc.Read("Buttons", "Rescan"), std::nullopt) << "a comment is no key";
    EXPECT_EQ(doc.Read("Missing", "Exit"), std::nullopt);
}

// The limit counts characters of the decoded text: a UTF-8 value is never cut inside a
// character, and in a Windows-1252 file every byte is one character.
TEST(IniReadRules, ValuesAreCutAt2047Characters) {
    std::string ascii(3000, 'v'), cyrillic, shortCyrillic, western(3000, '\xE9'), westernUtf8;
    for (int i = 0; i < 3000; ++i)
        cyrillic += "\xD0\x96"; // "Zhe"
    for (int i = 0; i < 1100; ++i)
        shortCyrillic += "\xD0\x96";
    for (int i = 0; i < 2047; ++i)
        westernUtf8 += "\xC3\xA9";
    auto doc = IniDocument::Parse("[s]\na=" + ascii + "\nc=" + cyrillic + "\nd=" + shortCyrillic +
                                  "\nw=" + western + "\n");
    const std::pair<const char*, std::string> expected[] = {
        {"a", ascii.substr(0, 2047)},
        {"c", cyrillic.substr(0, 2 * 2047)},
        {"d", shortCyrillic}, // 1,100 characters in 2,200 bytes
        {"w", westernUtf8},
    };
    for (const auto& [key, value] : expected) {
        const std::string read = doc.Read("s", key).value_or("");
        EXPECT_TRUE(read == value)
            << key << ": " << read.size() << " bytes read, " << value.size()
            << " expected, ending in \"" << read.substr(read.size() - 4) << "\"";
    }
}

TEST(IniReadRules, LinesEndAtCrLfOrCrAloneAndSectionNamesEndAtTheBracket) {
    auto doc = IniDocument::Parse("[a] trailing\rk=1\r\n[b\nk=2\nstray line before nothing");
    EXPECT_EQ(doc.Read("a", "k"), "1");
    EXPECT_EQ(doc.Read("b", "k"), "2");
}

TEST(IniReadRules, LinesBeforeTheFirstSectionBelongToNone) {
    auto doc = IniDocument::Parse("k=orphan\n[s]\nk=v\n");
    EXPECT_EQ(doc.Read("", "k"), std::nullopt);
    EXPECT_EQ(doc.Read("s", "k"), "v");
}

// The index a scan builds once must answer every key exactly as a lookup in the whole file does.
TEST(IniSectionIndex, AnswersEveryKeyAsTheDocumentDoes) {
    const std::string longValue(3000, 'v');
    auto doc =
        IniDocument::Parse("k=orphan\n[Levels]\n  K1 = \"Harbour\" \nk1=second\nK2='x'\n"
                           "K3=\"odd'\nEmpty=\nNoEquals\n; K4=comment\n=nameless\nLong=" +
                           longValue + "\n[other]\nK5=elsewhere\n[LEVELS]\nK6=second copy\n");
    for (const char* section : {"levels", " LEVELS ", "other", "missing"}) {
        const IniSectionIndex index(doc, section);
        for (const char* key : {"k1", " K1\t", "K2", "k3", "empty", "NoEquals", "K4", "", "long",
                                "k", "K5", "K6", "absent"})
            EXPECT_EQ(index.Read(key), doc.Read(section, key)) << section << " / " << key;
    }
}

TEST(IniWriteRules, ChangesOnlyTheAffectedLine) {
    const std::string original =
        "; my notes\r\n[levels]\r\nK1 = The Keep \r\n\r\n[config]\nVersion=OLD.EXE\nlang=x\n";
    auto doc = IniDocument::Parse(original);
    doc.Write("CONFIG", "version", "ZELTA.EXE");
    EXPECT_EQ(
        doc.Serialize(),
        "; my notes\r\n[levels]\r\nK1 = The Keep \r\n\r\n[config]\nVersion=ZELTA.EXE\nlang=x\n");
}

TEST(IniWriteRules, NewKeysFollowTheSectionsLastKeyAndNewSectionsGoAtTheEnd) {
    auto doc = IniDocument::Parse("[config]\r\na=1\r\n; note\r\n\r\n[levels]\r\nK1=Keep");
    doc.Write("config", "b", "2");
    doc.Write("config", "c", "3");
    doc.Write("fmvs", "intro", "Intro");
    EXPECT_EQ(doc.Serialize(), "[config]\r\na=1\r\nb=2\r\nc=3\r\n; "
                               "note\r\n\r\n[levels]\r\nK1=Keep\r\n[fmvs]\r\nintro=Intro\r\n");
}

TEST(IniWriteRules, EraseSectionRemovesEveryCopyAndKeepsComments) {
    auto doc =
        IniDocument::Parse("[config]\nversion=A\n; keep me\n[levels]\nK1=Keep\n[CONFIG]\nlang=x\n");
    EXPECT_TRUE(doc.EraseSection("Config"));
    EXPECT_EQ(doc.Serialize(), "; keep me\n[levels]\nK1=Keep\n");
    EXPECT_FALSE(doc.EraseSection("config"));
}

TEST(IniFileOnDisk, CreatesAMissingFileWithWindowsLineEndings) {
    TempFolder folder;
    IniFile ini(folder / "settings.ini");
    ini.WriteString("config", "version", "ZELTA.EXE");
    ini.WriteString("config", "lang", "English (Default)");
    EXPECT_EQ(folder.Read("settings.ini"),
              "[config]\r\nversion=ZELTA.EXE\r\nlang=English (Default)\r\n");
}

TEST(IniFileOnDisk, ReadingNeverCreatesTheFile) {
    TempFolder folder;
    IniFile ini(folder / "settings.ini");
    EXPECT_EQ(ini.ReadString("config", "lang", "dflt  "), "dflt");
    EXPECT_EQ(ini.ReadInteger("Layout", "Size", 8), 8);
    EXPECT_FALSE(folder.Exists("settings.ini"));
}

TEST(IniFileOnDisk, ReadsIntegersAsTheSettingsLayerDoes) {
    TempFolder folder;
    folder.Write("a.lng", "[Layout]\nSize=0x0A\nBig=big\nHex=$10\nX=x0C\nNeg=-3\n");
    IniFile ini(folder / "a.lng");
    EXPECT_EQ(ini.ReadInteger("Layout", "Size", 8), 10);
    EXPECT_EQ(ini.ReadInteger("Layout", "Big", 8), 8);
    EXPECT_EQ(ini.ReadInteger("Layout", "Hex", 8), 16);
    EXPECT_EQ(ini.ReadInteger("Layout", "X", 8), 8);
    EXPECT_EQ(ini.ReadInteger("Layout", "X", 8, true), 12);
    EXPECT_EQ(ini.ReadInteger("Layout", "Neg", 8), -3);
}

TEST(IniFileOnDisk, FollowsBackslashPathsAndFoldersOfOtherCase) {
    TempFolder folder;
    folder.Write("Game/BIN/xpd.ini", "[config]\nlang=Deutsch\n");
    IniFile ini(folder.Path() + "/game\\bin\\XPD.INI");
    EXPECT_EQ(ini.ReadString("config", "lang", ""), "Deutsch");
}

// A writer whose disk fills up after a few bytes.
class FailingWriter : public AtomicFileWriter {
protected:
    long WriteChunk(int fd, const char* data, size_t size) override {
        if (written_ >= 4) {
            errno = ENOSPC;
            return -1;
        }
        size_t n = std::min<size_t>(size, 4);
        written_ += n;
        return AtomicFileWriter::WriteChunk(fd, data, n);
    }

private:
    size_t written_ = 0;
};

TEST(IniFileOnDisk, AFailedWriteRaisesAndLeavesTheOldFileWhole) {
    TempFolder folder;
    const std::string original = "[config]\r\nversion=ZELTA.EXE\r\n[levels]\r\nK1=Keep\r\n";
    folder.Write("settings.ini", original);
    FailingWriter writer;
    IniFile ini(folder / "settings.ini", &writer);
    try {
        ini.WriteString("config", "lang", "Deutsch");
        FAIL() << "the write should have failed";
    } catch (const ScuError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + (folder / "settings.ini"));
    }
    EXPECT_EQ(folder.Read("settings.ini"), original);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

// A disk whose reads fail, or end early, part way through the file.
class DamagedReader : public AtomicFileWriter {
public:
    explicit DamagedReader(bool endsEarly) : endsEarly_(endsEarly) {}

protected:
    long ReadChunk(int fd, char* data, size_t size) override {
        if (read_ >= 8) {
            errno = EIO;
            return endsEarly_ ? 0 : -1;
        }
        read_ += 8;
        return AtomicFileWriter::ReadChunk(fd, data, std::min<size_t>(size, 8));
    }

private:
    bool endsEarly_;
    size_t read_ = 0;
};

TEST(IniFileOnDisk, ADamagedReadRaisesTheWriteErrorAndLeavesTheFile) {
    TempFolder folder;
    const std::string original = "[config]\r\nversion=ZELTA.EXE\r\n[levels]\r\nK1=Keep\r\n";
    struct Case {
        const char* what;
        bool endsEarly;
        bool erase;
    } cases[] = {{"read error, write", false, false},
                 {"read error, erase", false, true},
                 {"early end, write", true, false},
                 {"early end, erase", true, true}};
    for (const Case& c : cases) {
        folder.Write("settings.ini", original);
        DamagedReader reader(c.endsEarly);
        IniFile ini(folder / "settings.ini", &reader);
        try {
            if (c.erase)
                ini.EraseSection("levels");
            else
                ini.WriteString("config", "lang", "Deutsch");
            ADD_FAILURE() << c.what << ": the damaged read was taken for the file";
        } catch (const ScuError& error) {
            EXPECT_EQ(std::string(error.what()), "Unable to write to " + (folder / "settings.ini"))
                << c.what;
        }
        EXPECT_EQ(folder.Read("settings.ini"), original) << c.what;
    }
    // Whatever errno held before, a folder is no missing file.
    errno = ENOENT;
    EXPECT_THROW(IniFile(folder.Path()).EraseSection("config"), ScuError);
}

std::string UnableToWrite(const std::function<void()>& write) {
    try {
        write();
    } catch (const ScuError& error) {
        return error.what();
    }
    return "no error";
}

// A settings file made read-only (no write bit, which binds root too) is never replaced.
TEST(IniFileOnDisk, AReadOnlyFileIsRefusedAndKeptAsItWas) {
    TempFolder folder;
    const std::string original = "[config]\r\nlang=Deutsch\r\n";
    folder.Write("settings.ini", original);
    const std::string path = folder / "settings.ini";
    std::filesystem::permissions(path, std::filesystem::perms(0444));
    IniFile ini(path);
    const std::string expected = "Unable to write to " + path;
    EXPECT_EQ(UnableToWrite([&] { ini.WriteString("config", "lang", "x"); }), expected);
    EXPECT_EQ(UnableToWrite([&] { ini.EraseSection("config"); }), expected);
    EXPECT_EQ(folder.Read("settings.ini"), original);
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0444));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

// A folder that refuses new files, as one without write permission does.
class RefusingFolderWriter : public AtomicFileWriter {
protected:
    int MakeTemporaryFile(std::string&) override {
        errno = EACCES;
        return -1;
    }
};

// A writable file in a folder where no temporary file can be made is written where it is.
TEST(IniFileOnDisk, AWritableFileInAFolderThatRefusesNewFilesIsWrittenInPlace) {
    TempFolder folder;
    folder.Write("settings.ini", "[config]\r\nlang=Deutsch\r\n[levels]\r\nK1=Keep\r\n");
    RefusingFolderWriter writer;
    IniFile ini(folder / "settings.ini", &writer);
    ini.WriteString("config", "lang", "Francais");
    EXPECT_EQ(folder.Read("settings.ini"), "[config]\r\nlang=Francais\r\n[levels]\r\nK1=Keep\r\n");
    IniFile missing(folder / "new.ini", &writer);
    EXPECT_THROW(missing.WriteString("config", "lang", "x"), ScuError) << "nothing to write into";
    EXPECT_FALSE(folder.Exists("new.ini"));

    // The same with a real folder without write permission (which does not bind root).
    if (geteuid() != 0) {
        std::filesystem::permissions(folder.Path(), std::filesystem::perms(0555));
        IniFile(folder / "settings.ini").WriteString("config", "lang", "Deutsch");
        EXPECT_THROW(IniFile(folder / "new.ini").WriteString("config", "lang", "x"), ScuError);
        std::filesystem::permissions(folder.Path(), std::filesystem::perms::owner_all);
        EXPECT_EQ(IniFile(folder / "settings.ini").ReadString("config", "lang", ""), "Deutsch");
    }
}

// A full disk under the in-place road: a folder that refuses new files, and only `free_` bytes
// left on the disk. Space is taken where a write goes past what the file already holds or has
// reserved; what a shortened file gave back is taken by someone else meanwhile. A file system
// that cannot reserve ahead (ext2) answers the reservation with EOPNOTSUPP.
class FullDiskInPlaceWriter : public RefusingFolderWriter {
public:
    FullDiskInPlaceWriter(off_t free, bool reservesAhead) : free_(free), ahead_(reservesAhead) {}

protected:
    int ReserveSpace(int fd, long size) override {
        if (!ahead_)
            return EOPNOTSUPP;
        const off_t more = size - Allocated(fd);
        if (more > free_)
            return ENOSPC;
        free_ -= std::max<off_t>(more, 0);
        reserved_ = std::max(reserved_, size);
        return 0;
    }
    long WriteChunk(int fd, const char* data, size_t size) override {
        const off_t at = lseek(fd, 0, SEEK_CUR);
        const off_t allocated = Allocated(fd);
        const off_t room = allocated + free_ - at;
        if (room <= 0) {
            errno = ENOSPC;
            return -1;
        }
        const size_t n = std::min<size_t>(size, static_cast<size_t>(room));
        const long written = AtomicFileWriter::WriteChunk(fd, data, n);
        free_ -= std::max<off_t>(at + written - allocated, 0);
        return written;
    }

private:
    off_t Allocated(int fd) const {
        struct stat st;
        fstat(fd, &st);
        return std::max(st.st_size, reserved_);
    }
    off_t free_;
    bool ahead_;
    off_t reserved_ = 0;
};

// Written in place on a full disk, the settings file holds the new content or the old one whole,
// never a piece of either, whether the file system reserves space ahead or not.
TEST(IniFileOnDisk, AnInPlaceWriteOnAFullDiskKeepsTheOldContentWhole) {
    TempFolder folder;
    const std::string original = "[config]\r\nlang=Deutsch\r\n[levels]\r\nK1=Keep\r\n";
    for (const bool reservesAhead : {true, false}) {
        folder.Write("settings.ini", original);
        {
            FullDiskInPlaceWriter disk(32, reservesAhead); // room for the new line
            IniFile(folder / "settings.ini", &disk).WriteString("config", "version", "ZELTA.EXE");
            EXPECT_EQ(folder.Read("settings.ini"),
                      "[config]\r\nlang=Deutsch\r\nversion=ZELTA.EXE\r\n[levels]\r\nK1=Keep\r\n")
                << reservesAhead;
        }
        folder.Write("settings.ini", original);
        FullDiskInPlaceWriter disk(32, reservesAhead); // no room for it
        IniFile ini(folder / "settings.ini", &disk);
        EXPECT_THROW(ini.WriteString("config", "version", std::string(40, 'Z')), ScuError);
        EXPECT_EQ(folder.Read("settings.ini"), original) << reservesAhead;
    }
}

// An ext2 volume (no fallocate) made from an image in the test's folder, mounted while it lives;
// not mounted where the test may not mount (not root, no loop device, no mkfs.ext2).
class Ext2Volume {
public:
    explicit Ext2Volume(const TempFolder& folder)
        : image_(folder / "ext2.img"), at_(folder / "mnt") {
        std::filesystem::create_directory(at_);
        const std::string quiet = " >/dev/null 2>&1";
        mounted_ = geteuid() == 0 &&
                   std::system(("truncate -s 2M " + image_ + quiet).c_str()) == 0 &&
                   std::system(("mkfs.ext2 -q -F " + image_ + quiet).c_str()) == 0 &&
                   std::system(("mount -o loop " + image_ + " " + at_ + quiet).c_str()) == 0;
    }
    ~Ext2Volume() {
        if (mounted_ && std::system(("umount " + at_).c_str()) != 0)
            ADD_FAILURE() << "could not unmount " << at_;
    }
    bool Mounted() const { return mounted_; }
    std::string operator/(const std::string& name) const { return at_ + "/" + name; }
    // Fills the volume up to its last block.
    void Fill() const {
        const int fd = open((*this / "fill").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        const std::string block(4096, 'f');
        while (write(fd, block.data(), block.size()) > 0) {
        }
        while (write(fd, block.data(), 1) > 0) {
        }
        close(fd);
    }

private:
    std::string image_, at_;
    bool mounted_ = false;
};

// "Exit" saves in place on a real file system without fallocate, shorter and longer content
// alike; on the same volume full, a longer content is refused with the old one whole.
TEST(IniFileOnDisk, AnInPlaceWriteOnAVolumeWithoutFallocateSaves) {
    TempFolder folder;
    const Ext2Volume volume(folder);
    if (!volume.Mounted())
        GTEST_SKIP() << "an ext2 image cannot be mounted here";
    const std::string path = volume / "settings.ini";
    std::string original = "[config]\r\nlang=Francais\r\n[levels]\r\n";
    for (int i = 0; i < 40; ++i)
        original += "K" + std::to_string(i) + "=Level " + std::to_string(i) + "\r\n";
    std::ofstream(path, std::ios::binary) << original;
    RefusingFolderWriter writer;
    IniFile ini(path, &writer);
    ini.WriteString("config", "lang", "Deutsch");
    EXPECT_EQ(ini.ReadString("config", "lang", ""), "Deutsch");
    ini.WriteString("config", "version", "ZELTA.EXE");
    EXPECT_EQ(ini.ReadString("config", "version", ""), "ZELTA.EXE");
    const std::string saved = ReadWholeFile(path).value_or("<unreadable>");
    volume.Fill();
    EXPECT_THROW(ini.WriteString("config", "lang", std::string(9000, 'Z')), ScuError);
    EXPECT_EQ(ReadWholeFile(path).value_or("<unreadable>"), saved);
    ini.EraseSection("levels");
    EXPECT_EQ(ini.ReadString("config", "version", ""), "ZELTA.EXE") << "shorter fits a full disk";
}

TEST(IniFileOnDisk, AWriteIntoAMissingFolderRaises) {
    TempFolder folder;
    IniFile ini(folder / "no-such-folder/settings.ini");
    EXPECT_THROW(ini.WriteString("config", "lang", "x"), ScuError);
    EXPECT_THROW(IniFile(folder.Path()).WriteString("config", "lang", "x"), ScuError)
        << "a folder is no file";
}

TEST(IniFileOnDisk, WritingThroughASymbolicLinkKeepsTheLink) {
    TempFolder folder;
    folder.Write("real.ini", "[config]\nlang=a\n");
    std::filesystem::create_symlink(folder / "real.ini", folder / "settings.ini");
    IniFile(folder / "settings.ini").WriteString("config", "lang", "b");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "settings.ini"));
    EXPECT_EQ(folder.Read("real.ini"), "[config]\nlang=b\n");
}

TEST(IniFileOnDisk, EraseOfAMissingSectionLeavesTheFileUntouched) {
    TempFolder folder;
    folder.Write("settings.ini", "[levels]\nK1=Keep");
    auto before = std::filesystem::last_write_time(folder / "settings.ini");
    IniFile ini(folder / "settings.ini");
    ini.EraseSection("config");
    EXPECT_EQ(folder.Read("settings.ini"), "[levels]\nK1=Keep");
    EXPECT_EQ(std::filesystem::last_write_time(folder / "settings.ini"), before);
}

} // namespace
