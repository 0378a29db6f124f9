// The window's commands through real clicks on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>

#include "platform/system_run_time.h"
#include "window/frm_loto.h"

namespace loto {
namespace {

// A shown window, typed into and clicked as a user would.
class Program {
public:
    Program() { form.show(); }

    const FrmLotoWidgets& controls() const { return form.controls(); }
    // Types the number of draws, then 1 to 6 as the favourites.
    void Enter(const QString& draws) {
        for (int i = 0; i <= kFavouriteCount; ++i) {
            QLineEdit* box = i == 0 ? controls().drawCount : controls().favourites.at(i - 1);
            box->clear();
            QTest::keyClicks(box, i == 0 ? draws : QString::number(i));
        }
    }
    static void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    [[nodiscard]] bool Shown(Message message) const {
        return controls().messages[message]->isVisibleTo(&form);
    }
    // TxtDateFin, then the result boxes column by column.
    [[nodiscard]] QStringList Outputs() const {
        QStringList texts{controls().estimate->text()};
        for (const auto& column : controls().results) {
            for (const QLineEdit* box : column) {
                texts << box->text();
            }
        }
        return texts;
    }

    SystemRunTime runTime{TextLocale("fr_FR")};
    FrmLoto form{runTime};
};

// Runs `action` inside the call that shows a widget, as a user's click at that very moment.
class OnShow final : public QObject {
public:
    OnShow(QWidget* widget, std::function<void()> action) : action_(std::move(action)) {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show && action_) {
            std::exchange(action_, nullptr)();
        }
        return false;
    }

private:
    std::function<void()> action_;
};

// Clicks during a run land between two draws, inside the event processing.
TEST(Window, ClearAndNestedSimulateDuringARun) {
    Program program;
    const FrmLotoWidgets& controls = program.controls();
    program.Enter("100000000");
    QString estimateAfterClear = "not cleared";
    const OnShow clicks(controls.messages[Message::Patientez], [&] {
        // Both wait in the event queue until the run processes events.
        QMetaObject::invokeMethod(
            controls.effacer,
            [&] {
                Program::Click(controls.effacer);
                estimateAfterClear = controls.estimate->text();
                Program::Click(controls.simuler);  // runs to its end before the first goes on
            },
            Qt::QueuedConnection);
    });
    Program::Click(controls.simuler);
    EXPECT_EQ(estimateAfterClear, "");
    qint64 tally = 0;
    for (const QString& count : program.Outputs().mid(1, kResultRows)) {
        tally += count.toLongLong();
    }
    EXPECT_EQ(tally, 100000000);
    EXPECT_FALSE(controls.estimate->text().isEmpty());  // the nested run's estimate
    EXPECT_FALSE(std::ranges::any_of(kMessages, [&](Message m) { return program.Shown(m); }));
}

// A number of draws beyond the range of numbers says why in the message area, red on white as a
// refused grid is said (app_test hears it), and draws nothing.
TEST(Window, ADrawCountBeyondTheRangeSaysWhy) {
    Program program;
    program.Enter("-1e400");
    Program::Click(program.controls().simuler);
    EXPECT_TRUE(program.Shown(Message::ValidNbTirages));
    const QImage area = program.form.grab(QRect(112, 384, 353, 49)).toImage();
    EXPECT_EQ(area.pixel(1, 1) & 0xFFFFFF, 0xFFFFFFu);
    int red = 0;
    for (int x = 0; x < area.width(); ++x) {
        red += (area.pixel(x, 12) & 0xFFFFFF) == 0xFF0000u ? 1 : 0;
    }
    EXPECT_GT(red, 10);
    EXPECT_EQ(program.Outputs(), QStringList(22));
}

// A paste of 20 MB into a box is cut to the boxes' limit, and what it holds still reads as typed.
TEST(Window, AHugePasteIsCutToTheLimit) {
    Program program;
    QLineEdit* box = program.controls().drawCount;
    QApplication::clipboard()->setText(QStringLiteral("1000") + QString(20'000'000, u'0'));
    box->setFocus();
    QTest::keySequence(box, QKeySequence::Paste);
    EXPECT_EQ(box->text().size(), kBoxCharacterLimit);
    EXPECT_TRUE(box->text().startsWith(QStringLiteral("10000")));
}

// Clicks on "SIMULER" that keep coming during runs nest commands, up to a bound that keeps the
// stack small; then the window still closes at once.
TEST(Window, NestedCommandsAreBounded) {
    Program program;
    program.Enter("1000000000");
    QPushButton* simuler = program.controls().simuler;
    int clicks = 0;
    int deepest = 0;
    QObject::connect(simuler, &QPushButton::pressed, [&] {
        deepest = std::max(deepest, program.form.session().running());
        // The next click waits in the event queue until the running command processes events.
        QMetaObject::invokeMethod(
            simuler,
            [&] {
                if (++clicks <= 110) {
                    simuler->click();
                } else {
                    program.form.close();
                }
            },
            Qt::QueuedConnection);
    });
    QTimer::singleShot(0, [&] { simuler->click(); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(deepest, 100);  // the bound that the README states
    EXPECT_EQ(program.form.session().running(), 0);
}

// "QUITTER" during a run (here during the speed test): every command stops, nothing more is
// written, and the event loop ends at once with status 0.
TEST(Window, QuitDuringARunEndsTheProgramPromptly) {
    Program program;
    program.Enter("1000000000");
    QElapsedTimer sinceQuit;
    const OnShow quit(program.controls().messages[Message::Test], [&] {
        sinceQuit.start();
        Program::Click(program.controls().quitter);
    });
    QTimer::singleShot(0, [&] { Program::Click(program.controls().simuler); });
    EXPECT_EQ(QApplication::exec(), 0);
    ASSERT_TRUE(sinceQuit.isValid());
    EXPECT_LT(sinceQuit.elapsed(), 1000);
    EXPECT_FALSE(program.form.isVisible());
    EXPECT_EQ(program.Outputs().mid(1), QStringList(21));  // no result written
}

}  // namespace
}  // namespace loto
