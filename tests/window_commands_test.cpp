// The window's commands through real clicks on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>

#include "tests/window_program.h"

namespace loto {
namespace {

using test::Program;

QStringList Texts(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts) {
        list << QString::fromUtf8(text);
    }
    return list;
}

TEST(Window, StartsEmptyWithNoMessage) {
    Program program;
    for (const QLineEdit* box : program.form().findChildren<QLineEdit*>()) {
        EXPECT_TRUE(box->text().isEmpty());
    }
    EXPECT_EQ(program.form().findChildren<QLineEdit*>().size(), 29);
    for (const char* message : {"LblValidGrille", "LblTest", "LblPatientez"}) {
        EXPECT_FALSE(program.Shown(message));
    }
    EXPECT_EQ(program.form().focusWidget(), program.Box("TxtNbTirages"));
    // "EFFACER" right after start-up changes nothing visible.
    const QImage before = program.form().grab().toImage();
    program.Click("CmdEffacer");
    EXPECT_EQ(program.form().grab().toImage(), before);
}

TEST(Window, FreshStartTalliesThroughClicks) {
    Program program;
    program.Enter("100", {"1", "2", "3", "4", "5", "6"});
    program.Click("CmdSimuler");
    EXPECT_EQ(program.Column("Stat"), Texts({"43", "47", "9", "1", "0", "0", "0"}));
    EXPECT_EQ(program.Column("Theo")[0], "43,5965");
    EXPECT_EQ(program.Column("Ecart")[6], "-100,");
    EXPECT_FALSE(program.Box("TxtDateFin")->text().isEmpty());
    for (const char* message : {"LblValidGrille", "LblTest", "LblPatientez"}) {
        EXPECT_FALSE(program.Shown(message));
    }
    program.Click("CmdSimuler");
    EXPECT_EQ(program.Column("Stat"), Texts({"44", "41", "14", "1", "0", "0", "0"}));
    // The inputs are never changed by the commands.
    EXPECT_EQ(program.Box("TxtNbTirages")->text(), "100");
}

TEST(Window, RefusedGridThenClear) {
    Program program;
    program.Enter("100", {"7", "8", "9", "10", "11", "7"});
    program.Click("CmdSimuler");
    EXPECT_TRUE(program.Shown("LblValidGrille"));
    EXPECT_FALSE(program.Shown("LblPatientez"));
    EXPECT_EQ(program.Outputs(), QStringList(22));  // estimate removed, results empty
    program.Type("TxtStat3N\u00B0", "typed");       // output boxes take typing too
    program.Type("TxtDateFin", "typed");
    program.Click("CmdEffacer");
    EXPECT_EQ(program.Outputs(), QStringList(22));
    EXPECT_TRUE(program.Shown("LblValidGrille"));  // the message stays
    program.Enter("100", {"1", "2", "3", "4", "5", "6"});
    program.Click("CmdSimuler");
    EXPECT_FALSE(program.Shown("LblValidGrille"));
}

TEST(Window, TwoStartsGiveIdenticalResults) {
    QStringList runs[2];
    for (QStringList& outputs : runs) {
        Program program;
        program.Enter("1000", {"7", "10", "14", "20", "30", "40"});
        program.Click("CmdSimuler");
        program.Type("Txt6emeN\u00B0", "41");
        program.Click("CmdSimuler");
        outputs = program.Outputs().mid(1);  // the estimates depend on the clock
    }
    EXPECT_EQ(runs[0], runs[1]);
}

nlohmann::json LotoSimJson(const std::string& arguments) {
    const std::string command = std::string(LOTO_SIM) + " --json --locale fr_FR " + arguments;
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    for (std::size_t n = 0; pipe != nullptr && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, n);
    }
    if (pipe != nullptr) {
        pclose(pipe);
    }
    return nlohmann::json::parse(out);
}

QStringList JsonTexts(const nlohmann::json& texts) {
    QStringList list;
    for (const auto& text : texts) {
        list << QString::fromStdString(text.get<std::string>());
    }
    return list;
}

TEST(Window, WritesTheTextsOfLotoSim) {
    const std::pair<const char*, QStringList> cases[] = {
        {"1000 7 10 14 20 30 40", {"1000", "7", "10", "14", "20", "30", "40"}},
        {"'1 000' 12abc 2 3 4 5 6", {"1 000", "12abc", "2", "3", "4", "5", "6"}},
        {"0 1 2 3 4 5 6", {"0", "1", "2", "3", "4", "5", "6"}},
        {"10 7.6 8 9 10 11 12", {"10", "7.6", "8", "9", "10", "11", "12"}},
    };
    for (const auto& [arguments, boxes] : cases) {
        Program program;
        program.Enter(boxes[0], boxes.mid(1));
        program.Click("CmdSimuler");
        const nlohmann::json sim = LotoSimJson(arguments);
        EXPECT_EQ(program.Column("Stat"), JsonTexts(sim["observed"])) << arguments;
        EXPECT_EQ(program.Column("Theo"), JsonTexts(sim["expected"])) << arguments;
        EXPECT_EQ(program.Column("Ecart"), JsonTexts(sim["deviation"])) << arguments;
        EXPECT_EQ(program.Box("TxtDateFin")->text().isEmpty(),
                  sim["estimate"].get<std::string>().empty())
            << arguments;
    }
}

// Clicks during a run land between two draws, inside the event processing.
TEST(Window, ClearAndNestedSimulateDuringARun) {
    Program program;
    program.Enter("10000000", {"1", "2", "3", "4", "5", "6"});
    int stage = 0;
    QString estimateAfterClear = "not cleared";
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!program.Shown("LblPatientez") || stage >= 2) {
            return;
        }
        if (stage++ == 0) {
            program.Click("CmdEffacer");
            estimateAfterClear = program.Box("TxtDateFin")->text();
        } else {
            program.Click("CmdSimuler");  // runs to its end before the first run goes on
        }
    });
    poll.start();
    program.Click("CmdSimuler");
    poll.stop();
    EXPECT_EQ(stage, 2);
    EXPECT_EQ(estimateAfterClear, "");
    EXPECT_EQ(program.form().lastReport().outcome, Outcome::Completed);
    EXPECT_EQ(program.TallySum(), 10000000);
    EXPECT_FALSE(program.Box("TxtDateFin")->text().isEmpty());  // the nested run's estimate
    for (const char* message : {"LblValidGrille", "LblTest", "LblPatientez"}) {
        EXPECT_FALSE(program.Shown(message));
    }
}

// Clicks on "SIMULER" that keep coming during runs nest commands, up to a bound that keeps the
// stack small; then the window still closes at once.
TEST(Window, NestedCommandsAreBounded) {
    Program program;
    program.Enter("1000000000", {"1", "2", "3", "4", "5", "6"});
    auto* simuler = program.form().findChild<QPushButton*>("CmdSimuler");
    int clicks = 0;
    int deepest = 0;
    QObject::connect(simuler, &QPushButton::pressed, [&] {
        deepest = std::max(deepest, program.form().runningCommands());
        // The next click waits in the event queue until the running command processes events.
        QMetaObject::invokeMethod(
            simuler,
            [&] {
                if (++clicks <= FrmLoto::kMaxRunningCommands + 10) {
                    simuler->click();
                } else {
                    program.form().close();
                }
            },
            Qt::QueuedConnection);
    });
    QTimer::singleShot(0, [&] { simuler->click(); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(deepest, FrmLoto::kMaxRunningCommands);
    EXPECT_EQ(program.form().runningCommands(), 0);
}

// "QUITTER" or the close button during a run: every command stops, nothing more is written, and
// the event loop ends at once with status 0.
TEST(Window, QuitDuringARunEndsTheProgramPromptly) {
    struct Case {
        const char* during;  // the message shown when the quit comes
        bool closeButton;
    };
    for (const Case& c :
         {Case{"LblTest", false}, Case{"LblPatientez", false}, Case{"LblPatientez", true}}) {
        Program program;
        program.Enter("1000000000", {"1", "2", "3", "4", "5", "6"});
        QElapsedTimer sinceQuit;
        QTimer poll;
        poll.setInterval(1);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!sinceQuit.isValid() && program.Shown(c.during)) {
                sinceQuit.start();
                if (c.closeButton) {
                    program.form().close();
                } else {
                    program.Click("CmdQuitter");
                }
            }
        });
        poll.start();
        QTimer::singleShot(0, [&] { program.Click("CmdSimuler"); });
        const int status = QApplication::exec();
        poll.stop();
        EXPECT_EQ(status, 0);
        ASSERT_TRUE(sinceQuit.isValid()) << c.during;
        EXPECT_LT(sinceQuit.elapsed(), 1000) << c.during;
        EXPECT_FALSE(program.form().isVisible());
        EXPECT_EQ(program.Column("Stat"), QStringList(7));
    }
}

}  // namespace
}  // namespace loto
