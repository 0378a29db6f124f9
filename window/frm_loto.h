#pragma once

#include <QWidget>
#include <vector>

#include "form/command_session.h"
#include "platform/event_loop_pump.h"
#include "window/announcements.h"
#include "window/destroyed_window_watch.h"

namespace loto {

// The program's one window, a view of one command session: it makes each control of the design
// once from its row, owns the session (its generator seeded as it is made: the window's load),
// follows the session's model, tells it what the user types, and hands it its buttons' clicks and
// the event loop's pump between slices of draws.
class FrmLoto final : public QWidget {
    Q_OBJECT

public:
    explicit FrmLoto(RunTime& runTime, QWidget* parent = nullptr);

    [[nodiscard]] const CommandSession& session() const noexcept { return session_; }
    // What the window shows, which it follows.
    [[nodiscard]] FormModel& model() noexcept { return session_.model(); }
    // The control that serves `use` in the design, as the widget it is.
    template <typename Widget>
    [[nodiscard]] Widget* Control(const ControlUse& use) const {
        return static_cast<Widget*>(controls_.at(ControlIndex(use)));
    }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Shows what the model holds for control `control` of the design's table.
    void Follow(std::size_t control);
    void Bind(std::size_t control);

    CommandSession session_;
    EventLoopPump pump_;
    std::vector<QWidget*> controls_;  // in the order of the design's table
    Announcements* announcements_ = nullptr;
    DestroyedWindowWatch destroyedWatch_{*this};
};

}  // namespace loto
