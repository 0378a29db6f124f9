// Random typing and clicking on the window, during runs and nested runs too. The seed is printed;
// LOTO_MONKEY_SEED=N replays a failing sequence.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <iostream>
#include <random>

#include "tests/window_program.h"

namespace loto {
namespace {

using test::Program;

// Draw counts small enough for a sequence to take a second or so, many of them long enough for
// clicks to land inside the runs.
const QStringList kDrawCounts = {"5000000", "3000000", "1 500 000", "2e6",   "100",   "0",
                                 "",        "-3",      "E999",      "1E999", "12abc", "&HFF"};
// What users type anywhere.
const QStringList kTexts = {"",       " ",    "0",     "7",     "10",    "14",   "20",     "30",
                            "40",     "49",   "50",    "1",     "100",   "5000", "200000", "-3",
                            "2.5",    "7.6",  "8",     "12abc", "1 000", "abc",  "E999",   "1E999",
                            "-1e308", "&HFF", "\t8\n", "1e5",   "0.5",   "49.1", "  4 9 "};

class Monkey {
public:
    Monkey(Program& program, std::uint32_t seed) : program_(program), random_(seed) {
        during_.setInterval(2);
        QObject::connect(&during_, &QTimer::timeout, [this] { ActDuringRun(); });
    }

    // One thing a user does: type, clear, or click "SIMULER", which nests while a run goes on.
    void Act() {
        const int choice = Pick(6);
        if (choice < 2) {
            Type();
        } else if (choice == 2) {
            program_.Click("CmdEffacer");
        } else if (depth_ == 0 || (choice < 5 && depth_ < 3)) {
            nested_ += depth_ > 0 ? 1 : 0;
            Simulate();
        }
        if (depth_ == 0) {
            // Between commands no wait or test message can be left over.
            EXPECT_FALSE(program_.Shown(Message::Test));
            EXPECT_FALSE(program_.Shown(Message::Patientez));
        }
    }

    [[nodiscard]] int nested() const noexcept { return nested_; }

    // "QUITTER" now, or during a run started for it.
    void Quit() {
        quitting_ = true;
        if (Pick(2) == 0) {
            program_.Click("CmdQuitter");
        } else {
            program_.Type("TxtNbTirages", "100000000");
            Simulate();
        }
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    void Type() {
        static const QStringList kBoxes = {"TxtNbTirages",    "Txt1erN\u00B0",   "Txt2emeN\u00B0",
                                           "Txt3emeN\u00B0",  "Txt4emeN\u00B0",  "Txt5emeN\u00B0",
                                           "Txt6emeN\u00B0",  "TxtDateFin",      "TxtStat2N\u00B0",
                                           "TxtTheo6N\u00B0", "TxtEcart0N\u00B0"};
        const QString& box = kBoxes[Pick(static_cast<int>(kBoxes.size()))];
        const QStringList& texts = box == "TxtNbTirages" ? kDrawCounts : kTexts;
        if (Pick(20) == 0) {
            program_.Box(box)->setText(QString(5000, QLatin1Char(Pick(2) == 0 ? '9' : 'x')));
        } else if (const QString& text = texts[Pick(static_cast<int>(texts.size()))];
                   text.contains('\t') || text.contains('\n')) {
            program_.Box(box)->setText(text);  // pasted: keys would move the focus
        } else {
            program_.Type(box, text);
        }
    }

    void Simulate() {
        ++depth_;
        during_.start();
        program_.Click("CmdSimuler");
        --depth_;
        if (depth_ == 0) {
            during_.stop();
        }
        const SimulateReport& report = program_.form().lastReport();
        if (!quitting_ && report.outcome == Outcome::Completed) {
            EXPECT_EQ(program_.TallySum(), static_cast<qint64>(report.drawsDone));
        }
    }

    // Clicks and typing that land between two draws.
    void ActDuringRun() {
        if (depth_ == 0) {
            return;
        }
        if (quitting_) {
            program_.Click("CmdQuitter");
        } else {
            Act();
        }
    }

    Program& program_;
    std::mt19937 random_;
    QTimer during_;
    int depth_ = 0;
    int nested_ = 0;
    bool quitting_ = false;
};

std::uint32_t BaseSeed() {
    bool ok = false;
    const auto seed = qEnvironmentVariableIntValue("LOTO_MONKEY_SEED", &ok);
    return ok ? static_cast<std::uint32_t>(seed) : 20261206u;
}

TEST(WindowMonkey, RandomSequencesKeepTheWindowSound) {
    constexpr int kSequences = 12;
    constexpr int kActions = 30;
    const std::uint32_t base = BaseSeed();
    std::cout << "monkey seed " << base << " (LOTO_MONKEY_SEED to replay)\n";
    int nested = 0;
    for (int sequence = 0; sequence < kSequences; ++sequence) {
        const std::uint32_t seed = base + static_cast<std::uint32_t>(sequence);
        SCOPED_TRACE("LOTO_MONKEY_SEED=" + std::to_string(seed));
        Program program;
        program.Enter("2000000", {"7", "10", "14", "20", "30", "40"});
        Monkey monkey(program, seed);
        QElapsedTimer sinceQuit;
        QTimer::singleShot(0, [&] {
            for (int i = 0; i < kActions && !::testing::Test::HasFatalFailure(); ++i) {
                monkey.Act();
            }
            sinceQuit.start();
            monkey.Quit();
        });
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_TRUE(sinceQuit.isValid());
        EXPECT_LT(sinceQuit.elapsed(), 3000);  // "QUITTER" ends the program promptly
        EXPECT_FALSE(program.form().isVisible());
        nested += monkey.nested();
    }
    std::cout << "monkey: " << nested << " nested runs\n";
    EXPECT_GT(nested, 0);  // the clicks did land inside runs
}

}  // namespace
}  // namespace loto
