#include "window/frm_loto.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "form/design.h"
#include "form/units.h"

namespace loto {
namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

FrmLoto::FrmLoto(RunTime& runTime, QWidget* parent) : QWidget(parent), session_(runTime, 0) {
    const FormDesign& form = FrmLotoDesign();
    setObjectName(QStringLiteral("FrmLoto"));
    setWindowTitle(FromUtf8(form.title));
    setFixedSize(Pixels(form.clientWidth), Pixels(form.clientHeight));
    setFont(DesignFont(form.font));
    setPalette(FormPalette(form, palette()));
    setAutoFillBackground(true);
    controls_ = BuildControls(this);
    controls_.drawCount->setFocus();
    announcements_ = new Announcements(*this, controls_.messages);

    connect(controls_.simuler, &QPushButton::clicked, this,
            [this] { (void)session_.Simulate(*this, pump_); });
    connect(controls_.effacer, &QPushButton::clicked, this, [this] { session_.Clear(*this); });
    // Unloading the window ends the program (closeEvent).
    connect(controls_.quitter, &QPushButton::clicked, this, &QWidget::close);
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
    controls_.results[column]
        .at(static_cast<std::size_t>(k))
        ->setText(QString::fromStdString(text));
}

void FrmLoto::SetMessageVisible(Message message, bool visible) {
    controls_.messages[message]->setVisible(visible);
    announcements_->MessageChanged(message);
}

void FrmLoto::SetRunEnded(bool ended) {
    announcements_->SetRunEnded(ended);
}

// Every running command stops at its next event processing and writes nothing more; the event
// loop ends once they have returned.
void FrmLoto::closeEvent(QCloseEvent* event) {
    session_.Quit();
    event->accept();
    QCoreApplication::quit();
}

}  // namespace loto
