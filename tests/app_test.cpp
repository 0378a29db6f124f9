// How loto starts from a command line: Qt's own options, its own, and no display.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <cstdio>

#include "tests/shell.h"

namespace {

using loto::test::Shell;

TEST(LotoStart, OptionsAndDisplays) {
    const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
    struct Case {
        std::string environment;
        const char* arguments;
        int status;
        const char* says;  // on standard output or error
    };
    const Case cases[] = {
        {"", "-platform offscreen --version", 0, "1.00"},
        {"", "-platform offscreen -style fusion -reverse --version", 0, "1.00"},
        {"", "-platform offscreen --help", 0, "--screenshot"},
        {"", "-platform offscreen --bogus", 2, "bogus"},
        {"", "-platform offscreen stray", 2, "stray"},
        {"", "-platform offscreen --screenshot /nonexistent/dir/x.png", 1,
         "impossible d'\u00E9crire l'image /nonexistent/dir/x.png\n"},
        {noDisplay, "--version", 0, "1.00"},
        {noDisplay, "", 1, "xvfb-run"},
        {noDisplay + "DISPLAY=:4242 ", "", 1, "xvfb-run"},  // a display that cannot be reached
        // A platform named in the environment needs no display: the window runs until stopped.
        {noDisplay + "QT_QPA_PLATFORM=offscreen timeout 2 ", "", 124, ""},
    };
    for (const Case& c : cases) {
        const auto run = Shell(c.environment + LOTO_APP + " " + c.arguments + " 2>&1");
        EXPECT_EQ(run.status, c.status) << c.environment << c.arguments << ": " << run.out;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << c.arguments << ": " << run.out;
    }
}

// On an X display (named: the tests run with the offscreen platform in their environment) the
// window opens, titled and sized as designed (the README picture's size).
TEST(LotoStart, OpensItsWindowOnADisplay) {
    const auto run = Shell("xvfb-run -a sh -c '" LOTO_APP
                           " -platform xcb & loto=$!; timeout 20 "
                           "xdotool search --sync --name \"^Form1$\" getwindowgeometry; "
                           "status=$?; kill $loto; exit $status'");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("Geometry: 607x455\n"), std::string::npos) << run.out;
}

// The README's picture is what the window draws, pixel for pixel: every control's place,
// colours, font, caption and bevel, and the texts of a 1000-draw run (make screenshot renews it).
// A style named on the command line replaces the classic one.
TEST(LotoStart, DrawsTheReadmePicture) {
    const auto drawn = [](const std::string& options) {
        // A name of its own: another run of these tests may be drawing at the same moment.
        const std::string path =
            testing::TempDir() + "loto-screenshot-" + std::to_string(getpid()) + ".png";
        EXPECT_EQ(Shell(std::string(LOTO_APP) + options + " --screenshot " + path).status, 0);
        const QImage image(QString::fromStdString(path));
        std::remove(path.c_str());
        return image;
    };
    const QImage readme(LOTO_SOURCE_DIR "/docs/screenshot.png");
    ASSERT_FALSE(readme.isNull());
    EXPECT_EQ(drawn(" -platform offscreen").convertToFormat(readme.format()), readme)
        << "the window no longer draws docs/screenshot.png";
    for (const char* style : {" -style fusion", " --style=fusion"}) {
        const QImage fusion = drawn(std::string(" -platform offscreen") + style);
        EXPECT_EQ(fusion.size(), readme.size()) << style;
        EXPECT_NE(fusion.convertToFormat(readme.format()), readme) << style;
    }
}

}  // namespace
