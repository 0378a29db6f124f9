// How loto starts from a command line: Qt's own options, its own, and no display.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <cstdio>
#include <tuple>

#include "tests/shell.h"

namespace {

using loto::test::Shell;

TEST(LotoStart, OptionsAndDisplays) {
    const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
    // The environment, the arguments, the status and a part of what is said on either output.
    const std::tuple<std::string, const char*, int, const char*> cases[] = {
        {"", "-platform offscreen --version", 0, "1.00"},
        {"", "-platform offscreen -style fusion -reverse --version", 0, "1.00"},
        {"", "-platform offscreen --help", 0, "Utilisation : loto [options]\n"},
        // Refused in French, what was typed quoted.
        {"", "-platform offscreen --bogus", 2, "loto : option inconnue : \"bogus\"\n"},
        {"", "-platform offscreen \"$(printf '\\033[31mx')\"", 2,
         "loto : argument inconnu : \"\\x1B[31mx\"\n"},
        {"", "-platform offscreen --screenshot", 2, "il manque le nom du fichier"},
        {"", "-platform offscreen --screenshot /nonexistent/dir/x.png", 1,
         "impossible d'\u00E9crire l'image \"/nonexistent/dir/x.png\" : No such file"},
        {"", "-platform offscreen --screenshot x", 1,
         "format d'image inconnu pour \"x\" ; extensions possibles : "},
        // Icons (and cursors) would shrink the picture to 256 pixels a side.
        {"", "-platform offscreen --screenshot /tmp/loto-shot.ico", 1,
         "le format ico ne peut pas garder la taille de la fen\u00EAtre (607 x 455)"},
        {noDisplay, "--version", 0, "1.00"},
        {noDisplay, "", 1, "xvfb-run"},
        {noDisplay + "DISPLAY=:4242 ", "", 1, "xvfb-run"},  // a display that cannot be reached
        {noDisplay, "-display :4242", 1, "xvfb-run"},
        {noDisplay, "--display=:4242", 1, "xvfb-run"},
        {noDisplay + "QT_QPA_PLATFORM=offscreen ", "-display :4242 --version", 0, "1.00"},
        // What needs no display is done where the environment names one that is gone.
        {noDisplay + "DISPLAY=:4242 ", "--version", 0, "1.00"},
        {noDisplay + "DISPLAY=:4242 ", "--help", 0, "Utilisation : loto [options]\n"},
        {noDisplay + "DISPLAY=:4242 ",
         "--screenshot /tmp/loto-gone-display.png && rm "
         "/tmp/loto-gone-display.png && echo written",
         0, "written"},
        {noDisplay, "-platform bogus", 1, "le module de plateforme de Qt \"bogus\" ne peut pas"},
        // A platform named in the environment needs no display: the window runs until stopped.
        {noDisplay + "QT_QPA_PLATFORM=offscreen timeout 2 ", "", 124, ""},
    };
    for (const auto& [environment, arguments, status, says] : cases) {
        const auto run = Shell(environment + LOTO_APP + " " + arguments + " 2>&1");
        EXPECT_EQ(run.status, status) << environment << arguments << ": " << run.out;
        EXPECT_NE(run.out.find(says), std::string::npos) << arguments << ": " << run.out;
    }
}

// What cannot be written is said, never a success with nothing said; a file name's bytes are
// the name, whatever the locale's encoding makes of them.
TEST(LotoStart, WritesWhatItSaysOrSaysWhy) {
    const std::pair<std::string, std::string> runs[] = {
        {"--version 2>&1 >/dev/full; echo $?",
         "loto : impossible d'\u00E9crire la version : No space left on device\n1\n"},
        {"--help 2>&1 >/dev/full; echo $?",
         "loto : impossible d'\u00E9crire l'aide : No space left on device\n1\n"},
        {"--screenshot \"$d/$(printf 'caf\\351.png')\" && ls $d | od -An -c",
         "   c   a   f 351   .   p   n   g  \\n\n"},
    };
    for (const auto& [arguments, said] : runs) {
        const auto run =
            Shell("d=$(mktemp -d) && " LOTO_APP " -platform offscreen " + arguments + "; rm -r $d");
        EXPECT_TRUE(run.out.ends_with(said)) << arguments << ": " << run.out;
    }
}

// On an X display (named: the tests run with the offscreen platform in their environment) the
// window opens, titled and sized as designed (the README picture's size); destroyed from outside,
// it ends the program, idle or in the middle of a run.
TEST(LotoStart, OpensItsWindowOnADisplayAndEndsWithIt) {
    const std::pair<std::string, std::string> runs[] = {
        {"xdotool getwindowgeometry $w; ", "  Geometry: 607x455\n"},
        {"xdotool windowfocus --sync $w type 1e12; for n in 1 2 3 4 5 6; do xdotool key Tab type "
         "$n; done; xdotool key Tab space; ",
         ""},
    };
    for (const auto& [run, said] : runs) {
        const auto ended = Shell("LSAN_OPTIONS=suppressions=" LOTO_SOURCE_DIR
                                 "/tests/lsan.supp xvfb-run -a sh -c '" LOTO_APP
                                 " -platform xcb & loto=$!; w=$(timeout 20 xdotool search --sync "
                                 "--name \"^Form1$\" | head -n 1); " +
                                 run +
                                 "xdotool windowclose $w; for i in $(seq 50); do "
                                 "kill -0 $loto 2>/dev/null || break; sleep 0.2; done; "
                                 "kill $loto 2>/dev/null && echo still running; wait $loto'");
        EXPECT_EQ(ended.status, 0) << run;
        EXPECT_TRUE(said.empty() ? ended.out.empty() : ended.out.ends_with(said)) << ended.out;
    }
}

// A screen reader hears each message appear, and the end of a run, as notifications that it
// speaks (Orca speaks a notification that starts showing and ignores a plain label), and only
// what is still shown when the window is drawn: a run on 1 to 6, one on a grid whose sixth number
// repeats the first (whose wait message is never seen), and one of a number of draws beyond the
// range of numbers.
TEST(LotoStart, ScreenReadersHearTheMessages) {
    const auto heard =
        Shell("dbus-run-session -- " LOTO_SOURCE_DIR "/tests/hear_messages.sh " LOTO_APP
              " " LOTO_SOURCE_DIR "/tests 2>/dev/null");
    const std::string test =
        "notification: Patientez s'il vous pla\u00EEt, test de rapidit\u00E9 du PC\n";
    const std::string draws = "notification: Patientez s'il vous pla\u00EEt, tirages en cours\n";
    EXPECT_EQ(heard.out.substr(heard.out.find("listening")),
              "listening\n" + test + draws +
                  "notification: Tirages termin\u00E9s, les r\u00E9sultats sont affich\u00E9s\n" +
                  test +
                  "notification: Grille non valide : num\u00E9ros de 1 \u00E0 49, tous "
                  "diff\u00E9rents, s'il vous pla\u00EEt\n"
                  "notification: Nombre de tirages illisible : hors des limites du PC\n");
}

// The README's picture is what the window draws, pixel for pixel: every control's place,
// colours, font, caption and bevel, and the texts of a 1000-draw run (make screenshot renews it).
// A style named on the command line replaces the classic one. The picture is written as loto-sim
// writes its chart (cli_test follows it through links, FIFOs, devices and size limits).
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
    // A style that does not exist leaves the classic one.
    EXPECT_EQ(drawn(" -platform offscreen -style bogus").convertToFormat(readme.format()), readme);
    for (const char* style : {" -style fusion", " --style=fusion"}) {
        const QImage fusion = drawn(std::string(" -platform offscreen") + style);
        EXPECT_EQ(fusion.size(), readme.size()) << style;
        EXPECT_NE(fusion.convertToFormat(readme.format()), readme) << style;
    }
}

}  // namespace
