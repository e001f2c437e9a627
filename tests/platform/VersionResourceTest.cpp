#include "platform/VersionResource.h"
#include "launcher/GameDiscovery.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Built by tests/fixtures/make-pe-fixtures.sh with the MinGW binutils.
const std::string kFixtures = SCU_BINARY_DIR "/tests/fixtures/pe/";

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::span<const std::uint8_t> Span(const std::string& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

TEST(BuildText, FollowsTheVersionResourceOfRealProgramFiles) {
    struct Case {
        const char* file;
        const char* expected;
    } cases[] = {
        {"build52.exe", "build 52"},
        {"build52.dll", "build 52"},
        {"uppercase-block.dll", "build 417"}, // block and key matched without regard to case
        {"nine-chars.dll", "build 7"},
        {"short-version.dll", "build"},    // "1, 0, 0" has eight characters or fewer
        {"other-language.dll", "unknown"}, // only block 080904b0 counts
        {"no-fileversion.dll", "unknown"},
        {"partial-key.dll", "unknown"},  // "FileVersionX" is not "FileVersion"
        {"no-version.dll", "<unknown>"}, // resources, but no version resource
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetBuildText(kFixtures + c.file), c.expected) << c.file;
}

TEST(BuildText, FilesWithoutAVersionResourceAreUnknownInBrackets) {
    TempFolder folder;
    folder.Write("readme.txt", "MZ but no more");
    folder.Write("empty.exe", "");
    std::filesystem::create_directories(folder / "bin");
    EXPECT_EQ(GetBuildText(folder / "missing.exe"), "<unknown>");
    EXPECT_EQ(GetBuildText(folder / "readme.txt"), "<unknown>");
    EXPECT_EQ(GetBuildText(folder / "empty.exe"), "<unknown>");
    EXPECT_EQ(GetBuildText(folder.Path() + "/bin\\"), "<unknown>")
        << "a folder (no executable selected)";
    EXPECT_EQ(GetBuildText("/proc/self/exe"), "<unknown>") << "a native Linux program";
}

TEST(BuildText, FindsTheFileWithoutRegardToCaseThroughTheGameFolderForm) {
    TempFolder folder;
    folder.Write("Bin/zelta.exe", Bytes(kFixtures + "build52.exe"));
    EXPECT_EQ(GetBuildText(folder.Path() + "\\" + "bin\\" + "ZELTA.EXE"), "build 52");
}

TEST(VersionResource, QueriesPathsPartByPart) {
    const std::string image = Bytes(kFixtures + "build52.dll");
    const auto resource = FindVersionResource(Span(image));
    ASSERT_TRUE(resource.has_value());
    EXPECT_EQ(QueryVersionString(*resource, "\\StringFileInfo\\080904b0\\CompanyName"), "Halvern");
    EXPECT_EQ(QueryVersionString(*resource, "\\\\stringfileinfo\\080904B0\\\\productname"),
              "ZELTA");
    EXPECT_EQ(QueryVersionString(*resource, "\\StringFileInfo\\080904b0\\File"), std::nullopt);
    EXPECT_EQ(QueryVersionString(*resource, "\\StringFileInfo\\080904b0\\FileVersion\\More"),
              std::nullopt);
}

// Every prefix of a real program: none may read out of bounds, and a resource is only found
// whole.
TEST(VersionResource, TruncatedFilesGiveNoTextAndNeverReadOutOfBounds) {
    const std::string image = Bytes(kFixtures + "build52.exe");
    ASSERT_GT(image.size(), 512u);
    for (size_t size = 0; size < image.size(); ++size) {
        // A copy of exactly that size, so a sanitizer build catches a read past its end.
        std::vector<std::uint8_t> cut(image.begin(),
                                      image.begin() + static_cast<std::ptrdiff_t>(size));
        const auto resource = FindVersionResource(cut);
        if (resource) {
            const auto text =
                QueryVersionString(*resource, "\\StringFileInfo\\080904b0\\FileVersion");
            EXPECT_EQ(text.value_or("1, 0, 0, 52"), "1, 0, 0, 52") << "size " << size;
        }
    }
    EXPECT_TRUE(FindVersionResource(Span(image)).has_value());
}

TEST(VersionResource, HostileBytesAreReadWithinBounds) {
    const std::string original = Bytes(kFixtures + "build52.exe");
    std::mt19937 random(12345);
    int foundCount = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> image(original.begin(), original.end());
        const int flips = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < flips; ++i)
            image[random() % image.size()] = static_cast<std::uint8_t>(random());
        image.resize(image.size() - random() % 64);
        if (const auto resource = FindVersionResource(image)) {
            ++foundCount;
            ASSERT_GE(resource->data(), image.data());
            ASSERT_LE(resource->data() + resource->size(), image.data() + image.size());
            (void)QueryVersionString(*resource, "\\StringFileInfo\\080904b0\\FileVersion");
        }
    }
    EXPECT_GT(foundCount, 0) << "some damaged copies still hold their resource";
}

// An image in memory that counts the bytes asked of it.
class CountingReader : public ImageReader {
public:
    explicit CountingReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    bool Read(std::uint64_t offset, std::size_t size, std::uint8_t* out) const override {
        if (offset > bytes_.size() || size > bytes_.size() - offset)
            return false;
        std::copy_n(bytes_.data() + offset, size, out);
        bytesRead += size;
        return true;
    }
    mutable std::uint64_t bytesRead = 0;

private:
    std::span<const std::uint8_t> bytes_;
};

// The reader on real files: a program padded far past its resource (a sparse file of 300 MiB)
// is read in a few pieces; every cut copy gives the whole text or none; a FIFO, a device and a
// folder are refused at once instead of holding up the window.
TEST(VersionResource, ReadsRealFilesOfAnySizeAndRefusesWhatIsNoRegularFile) {
    TempFolder folder;
    const std::string original = Bytes(kFixtures + "build52.exe");
    const auto fileVersion = [](const std::string& path) -> std::optional<std::string> {
        const auto resource = ReadFileVersionResource(path);
        if (!resource)
            return std::nullopt;
        return QueryVersionString(*resource, "\\StringFileInfo\\080904b0\\FileVersion");
    };

    folder.Write("padded.exe", original);
    std::filesystem::resize_file(folder / "padded.exe", 300u << 20);
    EXPECT_EQ(fileVersion(folder / "padded.exe"), "1, 0, 0, 52");
    EXPECT_EQ(GetBuildText(folder / "padded.exe"), "build 52");

    for (size_t size = 0; size < original.size(); size += 97) {
        folder.Write("cut.exe", original.substr(0, size));
        EXPECT_EQ(fileVersion(folder / "cut.exe").value_or("1, 0, 0, 52"), "1, 0, 0, 52")
            << "size " << size;
    }

    const std::string fifo = folder / "AAA.EXE";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    auto reading = std::async(std::launch::async, [&] { return fileVersion(fifo); });
    if (reading.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
        ADD_FAILURE() << "opening a FIFO blocked";
        ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK)); // lets the blocked open return
    }
    EXPECT_EQ(reading.get(), std::nullopt);
    EXPECT_EQ(fileVersion("/dev/zero"), std::nullopt);
    EXPECT_EQ(fileVersion(folder.Path()), std::nullopt);

    // However large the program, only a few kilobytes of it are asked for.
    const std::string large = original + std::string(32u << 20, '\0');
    const CountingReader reader(Span(large));
    EXPECT_EQ(
        QueryVersionString(*ReadVersionResource(reader), "\\StringFileInfo\\080904b0\\FileVersion"),
        "1, 0, 0, 52");
    EXPECT_LT(reader.bytesRead, 16u << 10);
}

// Version blocks whose lengths lie: the reader stops at the parent's end.
TEST(VersionResource, BlocksWithLyingLengthsAreRefused) {
    auto block = [](std::u16string key, std::uint16_t length, std::uint16_t valueLength,
                    std::uint16_t type) {
        std::string b;
        auto u16 = [&](std::uint16_t v) {
            b += static_cast<char>(v & 0xFF);
            b += static_cast<char>(v >> 8);
        };
        u16(length);
        u16(valueLength);
        u16(type);
        for (char16_t c : key)
            u16(c);
        u16(0);
        while (b.size() % 4)
            b += '\0';
        return b;
    };
    // A root whose length exceeds the data.
    std::string root = block(u"VS_VERSION_INFO", 400, 0, 0);
    EXPECT_EQ(QueryVersionString(Span(root), "\\StringFileInfo"), std::nullopt);
    // A key without its NUL inside the block.
    std::string noNul = "\x0a\x00\x00\x00\x00\x00V\x00S\x00";
    EXPECT_EQ(QueryVersionString(Span(noNul), "\\A"), std::nullopt);
    // A child claiming more than its parent holds.
    std::string child = block(u"StringFileInfo", 200, 0, 1);
    std::string parent = block(u"VS_VERSION_INFO", 0, 0, 0);
    const auto total = static_cast<std::uint16_t>(parent.size() + child.size());
    parent[0] = static_cast<char>(total & 0xFF);
    parent[1] = static_cast<char>(total >> 8);
    parent += child;
    EXPECT_EQ(QueryVersionString(Span(parent), "\\StringFileInfo"), std::nullopt);
    // A fixed-info value with the wrong signature.
    std::string badSignature = block(u"VS_VERSION_INFO", 0, 52, 0) + std::string(52, '\x11');
    badSignature[0] = static_cast<char>(badSignature.size());
    EXPECT_EQ(QueryVersionString(Span(badSignature), "\\"), std::nullopt);
}

} // namespace
