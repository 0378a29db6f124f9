#pragma once

#include <QWidget>

#include "core/command_session.h"
#include "core/command_window.h"
#include "platform/event_loop_pump.h"
#include "window/announcements.h"
#include "window/controls.h"
#include "window/destroyed_window_watch.h"

namespace loto {

// The program's one window, a view of one command session. It builds its controls from the fixed
// design, owns the session (its generator seeded as it is made: the window's load), and hands
// its three buttons' clicks to it. The commands read and write its boxes through CommandWindow,
// and run the event loop's pump between slices of draws.
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
    void SetRunEnded(bool ended) override;

    [[nodiscard]] const CommandSession& session() const noexcept { return session_; }
    // The controls that the commands use.
    [[nodiscard]] const FrmLotoWidgets& controls() const noexcept { return controls_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CommandSession session_;
    EventLoopPump pump_;
    FrmLotoWidgets controls_;
    Announcements* announcements_ = nullptr;
    DestroyedWindowWatch destroyedWatch_{*this};
};

}  // namespace loto
