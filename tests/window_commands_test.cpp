// The window's commands through real clicks on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
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

    template <typename Widget>
    Widget* At(const ControlUse& use) const {
        return form.Control<Widget>(use);
    }
    QLineEdit* Box(const ControlUse& use) const { return At<QLineEdit>(use); }
    QPushButton* Button(Role role) const { return At<QPushButton>(Is(role)); }
    // Types the number of draws, then 1 to 6 as the favourites.
    void Enter(const QString& draws) {
        const auto type = [](QLineEdit* box, const QString& text) {
            box->clear();
            QTest::keyClicks(box, text);
        };
        type(Box(Is(Role::DrawCount)), draws);
        for (int i = 1; i <= kFavouriteCount; ++i) {
            type(Box(FavouriteAt(i)), QString::number(i));
        }
    }
    static void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    [[nodiscard]] bool Shown(Message message) const {
        return At<QLabel>(Shows(message))->isVisibleTo(&form);
    }
    // TxtDateFin, then the result boxes column by column.
    [[nodiscard]] QStringList Outputs() const {
        QStringList texts{Box(Is(Role::Estimate))->text()};
        for (const ResultColumn column : kResultColumns) {
            for (int k = 0; k < kResultRows; ++k) {
                texts << Box(ResultAt(column, k))->text();
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
    program.Enter("100000000");
    QString estimateAfterClear = "not cleared";
    QLineEdit* estimate = program.Box(Is(Role::Estimate));
    const OnShow clicks(program.At<QLabel>(Shows(Message::Patientez)), [&] {
        // Both wait in the event queue until the run processes events.
        QMetaObject::invokeMethod(
            program.Button(Role::Effacer),
            [&] {
                Program::Click(program.Button(Role::Effacer));
                estimateAfterClear = estimate->text();
                // Runs to its end before the first goes on.
                Program::Click(program.Button(Role::Simuler));
            },
            Qt::QueuedConnection);
    });
    Program::Click(program.Button(Role::Simuler));
    EXPECT_EQ(estimateAfterClear, "");
    qint64 tally = 0;
    for (const QString& count : program.Outputs().mid(1, kResultRows)) {
        tally += count.toLongLong();
    }
    EXPECT_EQ(tally, 100000000);
    EXPECT_FALSE(estimate->text().isEmpty());  // the nested run's estimate
    EXPECT_FALSE(std::ranges::any_of(kMessages, [&](Message m) { return program.Shown(m); }));
}

// A box holds what was pasted as it was copied, to the boxes' limit: a paste of 20 MB is cut
// there, and a copy's CR and byte-order mark are kept, as the page and loto-sim keep them.
TEST(Window, APasteKeepsWhatWasCopied) {
    Program program;
    QLineEdit* box = program.Box(Is(Role::DrawCount));
    const auto copied = [](const QByteArray& utf8) {
        auto* data = new QMimeData;
        data->setData(QStringLiteral("text/plain;charset=utf-8"), utf8);
        return data;
    };
    const std::pair<QMimeData*, QString> pastes[] = {
        {copied("1000" + QByteArray(20'000'000, '0')), QStringLiteral("1000") + QString(996, u'0')},
        {copied("\xEF\xBB\xBF"
                "7"),
         QStringLiteral("\uFEFF7")},
        {copied("1\r\n000"), QStringLiteral("1\r\n000")},
    };
    for (const auto& [data, text] : pastes) {
        QApplication::clipboard()->setMimeData(data);
        box->clear();
        box->setFocus();
        QTest::keySequence(box, QKeySequence::Paste);
        EXPECT_EQ(box->text(), text);
    }
}

// Another X11 program's copy, as a terminal or `xclip` offers it, pasted on Qt's X11 platform (run
// on a virtual display): the byte-order mark stays whatever target the copy is offered as, from
// the clipboard or the selection, and a copy too large for one transfer comes whole.
TEST(X11Paste, KeepsWhatAnotherProgramCopied) {
    struct Copy {
        QClipboard::Mode mode;
        QString target;
        QByteArray bytes;
        QString pasted;
    };
    const QByteArray bom = "\xEF\xBB\xBF";
    const QString kept = QStringLiteral("\uFEFF7");
    const Copy copies[] = {
        {QClipboard::Clipboard, "UTF8_STRING", bom + "7", kept},
        {QClipboard::Clipboard, "text/plain;charset=utf-8", bom + "7", kept},
        {QClipboard::Clipboard, "text/plain", bom + "7", kept},
        {QClipboard::Clipboard, "STRING", bom + "7", QString::fromLatin1(bom + "7")},
        {QClipboard::Clipboard, "UTF8_STRING", bom + "1\r\n" + QByteArray(3'000'000, '0'),
         QStringLiteral("\uFEFF1\r\n") + QString(996, u'0')},
        {QClipboard::Selection, "UTF8_STRING", bom + "7", kept},
    };
    Program program;
    QLineEdit* box = program.Box(Is(Role::DrawCount));
    QClipboard* clipboard = QApplication::clipboard();
    for (const auto& [mode, target, bytes, pasted] : copies) {
        const bool primary = mode == QClipboard::Selection;
        const QSignalSpy changed(
            clipboard, primary ? &QClipboard::selectionChanged : &QClipboard::dataChanged);
        QProcess xclip;
        xclip.start("xclip",
                    {"-quiet", "-selection", primary ? "primary" : "clipboard", "-target", target});
        xclip.write(bytes);
        xclip.closeWriteChannel();
        // Owned by xclip once the display says that the owner changed and there is one.
        const QDeadlineTimer deadline(10'000);
        while ((changed.isEmpty() || clipboard->mimeData(mode)->formats().isEmpty()) &&
               !deadline.hasExpired()) {
            QTest::qWait(10);
        }
        box->clear();
        box->setFocus();
        if (primary) {
            QTest::mouseClick(box, Qt::MiddleButton);
        } else {
            QTest::keySequence(box, QKeySequence::Paste);
        }
        EXPECT_EQ(box->text(), pasted) << target.toStdString();
        xclip.kill();
        xclip.waitForFinished();
    }
    // The box's own copy, which Qt holds and no other program is asked for: pasted at once.
    box->setText(kept);
    box->selectAll();
    box->copy();
    QElapsedTimer pasting;
    pasting.start();
    QTest::keySequence(box, QKeySequence::Paste);
    EXPECT_EQ(box->text(), kept);
    EXPECT_LT(pasting.elapsed(), 1000);
}

// "QUITTER" during a run (here during the speed test): every command stops, nothing more is
// written, and the event loop ends at once with status 0.
TEST(Window, QuitDuringARunEndsTheProgramPromptly) {
    Program program;
    program.Enter("1000000000");
    QElapsedTimer sinceQuit;
    const OnShow quit(program.At<QLabel>(Shows(Message::Test)), [&] {
        sinceQuit.start();
        Program::Click(program.Button(Role::Quitter));
    });
    QTimer::singleShot(0, [&] { Program::Click(program.Button(Role::Simuler)); });
    EXPECT_EQ(QApplication::exec(), 0);
    ASSERT_TRUE(sinceQuit.isValid());
    EXPECT_LT(sinceQuit.elapsed(), 1000);
    EXPECT_FALSE(program.form.isVisible());
    EXPECT_EQ(program.Outputs().mid(1), QStringList(21));  // no result written
}

}  // namespace
}  // namespace loto
