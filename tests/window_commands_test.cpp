// The window's commands through real clicks on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <memory>

#include "platform/system_run_time.h"
#include "window/frm_loto.h"

namespace loto {
namespace {

const QStringList kFavouriteBoxes = {"Txt1erN\u00B0",  "Txt2emeN\u00B0", "Txt3emeN\u00B0",
                                     "Txt4emeN\u00B0", "Txt5emeN\u00B0", "Txt6emeN\u00B0"};

// A started program: its window shown, driven by typing and clicking.
class Program {
public:
    Program() { form_->show(); }

    QLineEdit* Box(const QString& name) { return form_->findChild<QLineEdit*>(name); }
    void Type(const QString& box, const QString& text) {
        Box(box)->clear();
        QTest::keyClicks(Box(box), text);
    }
    void Enter(const QString& draws, const QStringList& favourites) {
        Type("TxtNbTirages", draws);
        for (int i = 0; i < 6; ++i) {
            Type(kFavouriteBoxes[i], favourites[i]);
        }
    }
    void Click(const char* button) {
        QTest::mouseClick(form_->findChild<QPushButton*>(button), Qt::LeftButton);
    }
    [[nodiscard]] bool Shown(const char* label) {
        return form_->findChild<QLabel*>(label)->isVisibleTo(form_.get());
    }
    [[nodiscard]] QStringList Column(const char* column) {
        QStringList texts;
        for (int k = 0; k < 7; ++k) {
            texts
                << Box(QStringLiteral("Txt%1%2N\u00B0").arg(QLatin1String(column)).arg(k))->text();
        }
        return texts;
    }
    [[nodiscard]] QStringList Outputs() {
        return QStringList{Box("TxtDateFin")->text()} + Column("Stat") + Column("Theo") +
               Column("Ecart");
    }
    [[nodiscard]] qint64 TallySum() {
        qint64 sum = 0;
        for (const QString& text : Column("Stat")) {
            sum += text.toLongLong();
        }
        return sum;
    }
    FrmLoto& form() { return *form_; }

private:
    SystemRunTime runTime_{TextLocale("fr_FR")};
    std::unique_ptr<FrmLoto> form_ = std::make_unique<FrmLoto>(runTime_);
};

QStringList Texts(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts) {
        list << QString::fromUtf8(text);
    }
    return list;
}

// The window starts empty and quiet; the buttons run the commands on its boxes.
TEST(Window, ClicksRunTheCommands) {
    Program program;
    EXPECT_EQ(program.Outputs(), QStringList(22));
    EXPECT_FALSE(program.Shown("LblValidGrille") || program.Shown("LblTest") ||
                 program.Shown("LblPatientez"));
    EXPECT_EQ(program.form().focusWidget(), program.Box("TxtNbTirages"));
    const QImage before = program.form().grab().toImage();
    program.Click("CmdEffacer");  // right after start-up it changes nothing visible
    EXPECT_EQ(program.form().grab().toImage(), before);

    program.Enter("1000", {"7", "10", "14", "20", "30", "40"});
    program.Click("CmdSimuler");
    EXPECT_EQ(program.Column("Stat"), Texts({"399", "444", "135", "22", "0", "0", "0"}));
    EXPECT_EQ(program.Column("Theo")[6], "0,00007151");
    EXPECT_FALSE(program.Box("TxtDateFin")->text().isEmpty());
    program.Type("TxtStat3N\u00B0", "typed");  // output boxes take typing too
    program.Click("CmdEffacer");
    EXPECT_EQ(program.Outputs(), QStringList(22));
    program.Type("Txt6emeN\u00B0", "7");
    program.Click("CmdSimuler");
    EXPECT_TRUE(program.Shown("LblValidGrille"));
    EXPECT_EQ(program.Box("Txt6emeN\u00B0")->text(), "7");  // the inputs are never changed
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
                if (++clicks <= 110) {
                    simuler->click();
                } else {
                    program.form().close();
                }
            },
            Qt::QueuedConnection);
    });
    QTimer::singleShot(0, [&] { simuler->click(); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(deepest, 100);  // the bound that the README states
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
