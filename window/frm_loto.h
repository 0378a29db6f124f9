#pragma once

#include <QWidget>

#include "core/command_window.h"
#include "core/commands.h"
#include "platform/event_loop_pump.h"
#include "window/announcements.h"
#include "window/controls.h"
#include "window/destroyed_window_watch.h"

namespace loto {

// The program's one window. It builds its controls from the fixed design, owns the generator
// through the commands' object (seeded as it is made: the window's load), and wires its three
// buttons to the commands. The commands read and write its boxes through CommandWindow, and run
// the event loop's pump between slices of draws.
class FrmLoto final : public QWidget, public CommandWindow {
    Q_OBJECT

public:
    explicit FrmLoto(RunTime& runTime, QWidget* parent = nullptr);

    // CommandWindow
    [[nodiscard]] std::string DrawCountText() override;
    [[nodiscard]] std::string FavouriteText(int position) override;
    void SetEstimateText(const std::string& text) override;
    void SetResultText(ResultColumn column, int k, const std::string& text) override;
    void SetMessageVisible(Message message, bool visible) override;

    // A click on "SIMULER" during a run starts a nested command inside the running one's event
    // processing; each takes some stack, so past this many running commands a click does nothing.
    static constexpr int kMaxRunningCommands = 100;

    // How many "SIMULER" commands are running, nested ones included.
    [[nodiscard]] int runningCommands() const noexcept { return runningCommands_; }
    // The controls that the commands use.
    [[nodiscard]] const FrmLotoWidgets& controls() const noexcept { return controls_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void SimulateCommand();
    void ClearCommand();
    void QuitCommand();

    LotoCommands commands_;
    EventLoopPump pump_;
    int runningCommands_ = 0;
    FrmLotoWidgets controls_;
    Announcements* announcements_ = nullptr;
    DestroyedWindowWatch destroyedWatch_{*this};
};

}  // namespace loto
