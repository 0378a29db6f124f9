#include "window/frm_loto.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "window/design.h"

namespace loto {

FrmLoto::FrmLoto(RunTime& runTime, QWidget* parent) : QWidget(parent), commands_(runTime, 0) {
    const FormDesign& form = FrmLotoDesign();
    setObjectName(QStringLiteral("FrmLoto"));
    setWindowTitle(QString::fromUtf8(form.title.data(), static_cast<qsizetype>(form.title.size())));
    setFixedSize(form.clientWidth / kTwipsPerPixel, form.clientHeight / kTwipsPerPixel);
    setFont(DesignFont(form.font));
    setPalette(FormPalette(form, palette()));
    setAutoFillBackground(true);
    controls_ = BuildControls(this);
    controls_.drawCount->setFocus();
    announcements_ = new Announcements(*this, controls_.messages);

    connect(controls_.simuler, &QPushButton::clicked, this, &FrmLoto::SimulateCommand);
    connect(controls_.effacer, &QPushButton::clicked, this, &FrmLoto::ClearCommand);
    connect(controls_.quitter, &QPushButton::clicked, this, &FrmLoto::QuitCommand);
}

std::string FrmLoto::DrawCountText() {
    return controls_.drawCount->text().toStdString();
}

std::string FrmLoto::FavouriteText(int position) {
    return controls_.favourites.at(static_cast<std::size_t>(position - 1))->text().toStdString();
}

void FrmLoto::SetEstimateText(const std::string& text) {
    controls_.estimate->setText(QString::fromStdString(text));
}

void FrmLoto::SetResultText(ResultColumn column, int k, const std::string& text) {
    controls_.results.at(static_cast<std::size_t>(column))
        .at(static_cast<std::size_t>(k))
        ->setText(QString::fromStdString(text));
}

void FrmLoto::SetMessageVisible(Message message, bool visible) {
    controls_.messages.at(static_cast<std::size_t>(message))->setVisible(visible);
    announcements_->MessageChanged(message);
}

void FrmLoto::SimulateCommand() {
    if (runningCommands_ >= kMaxRunningCommands) {
        return;
    }
    ++runningCommands_;
    announcements_->SetRunEnded(false);
    if (commands_.SimulateCommand(*this, pump_).outcome == Outcome::Completed) {
        announcements_->SetRunEnded(true);
    }
    --runningCommands_;
}

void FrmLoto::ClearCommand() {
    announcements_->SetRunEnded(false);
    LotoCommands::ClearCommand(*this);
}

// Unloading the window ends the program: every running command stops at its next event
// processing and writes nothing more, and the event loop ends once they have returned.
void FrmLoto::QuitCommand() {
    close();
}

void FrmLoto::closeEvent(QCloseEvent* event) {
    pump_.RequestStop();
    event->accept();
    QCoreApplication::quit();
}

}  // namespace loto
