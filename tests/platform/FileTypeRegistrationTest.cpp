#include "platform/FreedesktopFileTypes.h"
#include "platform/ScuError.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

struct Registration {
    TempFolder home;
    std::vector<std::string> toolsRun;

    void Register(const std::string& program) {
        FreedesktopFileTypes types(program, false, home / "data", home / "config");
        types.runTool = [this](const std::string& tool, const std::string& folder) {
            toolsRun.push_back(tool + " " + folder.substr(home.Path().size()));
        };
        types.RegisterXpdFileType();
    }
};

TEST(FileTypeRegistration, DeclaresTheTypeTheProgramAndTheDefault) {
    Registration r;
    r.Register("/opt/zelta/zeltasc");
    const std::string mime = r.home.Read("data/mime/packages/zeltasc-xpd.xml");
    EXPECT_NE(mime.find("<mime-type type=\"application/x-zelta-xpd\">"), std::string::npos);
    EXPECT_NE(mime.find("<comment>ZELTA SCU Extended PAD File</comment>"), std::string::npos);
    EXPECT_NE(mime.find("<glob pattern=\"*.xpd\"/>"), std::string::npos);
    EXPECT_NE(mime.find("<icon name=\"application-x-zelta-xpd\"/>"), std::string::npos);
    const std::string desktop = r.home.Read("data/applications/zeltasc.desktop");
    EXPECT_NE(desktop.find("\nExec=/opt/zelta/zeltasc %f\n"), std::string::npos);
    EXPECT_NE(desktop.find("\nIcon=zeltasc\n"), std::string::npos);
    EXPECT_NE(desktop.find("\nNoDisplay=true\n"), std::string::npos) << "a copy stays out of menus";
    EXPECT_NE(desktop.find("\nMimeType=application/x-zelta-xpd;\n"), std::string::npos);
    EXPECT_NE(r.home.Read("config/mimeapps.list")
                  .find("[Default Applications]\r\napplication/x-zelta-xpd=zeltasc.desktop"),
              std::string::npos);
    EXPECT_EQ(r.toolsRun, (std::vector<std::string>{"update-mime-database /data/mime",
                                                    "update-desktop-database /data/applications"}));
}

TEST(FileTypeRegistration, RewritesOnlyWhatDiffers) {
    Registration r;
    r.home.Write("config/mimeapps.list", "[Added Associations]\ntext/plain=editor.desktop;\n");
    r.Register("/opt/zelta/zeltasc");
    r.toolsRun.clear();
    r.Register("/opt/zelta/zeltasc");
    EXPECT_TRUE(r.toolsRun.empty());
    // A copy started from elsewhere re-points the association.
    r.Register("/home/ann/zelta copy/zeltasc");
    EXPECT_EQ(r.toolsRun, (std::vector<std::string>{"update-desktop-database /data/applications"}));
    EXPECT_NE(r.home.Read("data/applications/zeltasc.desktop")
                  .find("Exec=\"/home/ann/zelta copy/zeltasc\" %f"),
              std::string::npos);
    EXPECT_EQ(r.home.Read("config/mimeapps.list")
                  .rfind("[Added Associations]\ntext/plain=editor.desktop;\n", 0),
              0u);
}

TEST(FileTypeRegistration, QuotesProgramPathsAsDesktopEntriesRequire) {
    EXPECT_EQ(FreedesktopFileTypes::ExecArgument("/usr/bin/zeltasc"), "/usr/bin/zeltasc");
    EXPECT_EQ(FreedesktopFileTypes::ExecArgument("/a b/z"), "\"/a b/z\"");
    // The quoting's backslash is escaped once more for the string rules, which come first.
    EXPECT_EQ(FreedesktopFileTypes::ExecArgument("/a$b/z"), "\"/a\\\\$b/z\"");
    EXPECT_EQ(FreedesktopFileTypes::ExecArgument("/a\"`b"), "\"/a\\\\\"\\\\`b\"");
    EXPECT_EQ(FreedesktopFileTypes::ExecArgument("/a\nb"), "\"/a\\nb\""); // stays on its line
    EXPECT_EQ(FreedesktopFileTypes::ExecArgument("/a\\b"), "\"/a\\\\\\\\b\"");
    EXPECT_EQ(FreedesktopFileTypes::ExecArgument("/100%/z"), "\"/100%%/z\"");
}

TEST(FileTypeRegistration, AFailedWriteNamesTheFile) {
    Registration r;
    r.home.Write("data/applications", "a file where the folder should be");
    try {
        r.Register("/opt/zelta/zeltasc");
        FAIL();
    } catch (const ScuError& e) {
        EXPECT_EQ(std::string(e.what()), "Failed to set data for '" +
                                             (r.home / "data/applications/zeltasc.desktop") + "'");
    }
}

} // namespace
