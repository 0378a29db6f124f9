#include "window/frm_loto.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "form/units.h"
#include "window/controls.h"
#include "window/qt_text.h"

namespace loto {

FrmLoto::FrmLoto(RunTime& runTime, QWidget* parent) : QWidget(parent), session_(runTime, 0) {
    const FormDesign& form = FrmLotoDesign();
    setObjectName(QStringLiteral("FrmLoto"));
    setWindowTitle(ToQString(form.title));
    setFixedSize(Pixels(form.clientWidth), Pixels(form.clientHeight));
    setFont(DesignFont(form.font));
    setPalette(FormPalette(form, palette()));
    setAutoFillBackground(true);
    for (const ControlDesign& design : FrmLotoControls()) {
        controls_.push_back(CreateControl(design, this));
    }
    SetTabOrder(controls_);
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        Bind(i);
    }
    Control<QLineEdit>(Is(Role::DrawCount))->setFocus();
    EnumArray<Message, QLabel*> messages;
    for (const Message message : kMessages) {
        messages[message] = Control<QLabel>(Shows(message));
    }
    announcements_ = new Announcements(*this, messages);
    session_.model().Subscribe([this](std::size_t control) { Follow(control); });
}

// What a box holds goes to the model, typed or set (the model's own texts come back unchanged),
// and the buttons' clicks go to the session.
void FrmLoto::Bind(std::size_t control) {
    QWidget* widget = controls_[control];
    switch (FrmLotoControls()[control].use.role) {
        case Role::Simuler:
            connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, this,
                    [this] { (void)session_.ClickSimuler(pump_); });
            break;
        case Role::Effacer:
            connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, this,
                    [this] { session_.ClickEffacer(); });
            break;
        case Role::Quitter:
            // Unloading the window ends the program (closeEvent).
            connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, this,
                    &QWidget::close);
            break;
        default:
            if (auto* box = qobject_cast<QLineEdit*>(widget)) {
                connect(box, &QLineEdit::textChanged, this, [this, control](const QString& text) {
                    session_.model().Typed(control, text.toStdString());
                });
            }
    }
}

void FrmLoto::Follow(std::size_t control) {
    const FormModel& model = session_.model();
    if (control == FormModel::kRunEnded) {
        announcements_->SetRunEnded(model.runEnded());
        return;
    }
    const ControlDesign& design = FrmLotoControls()[control];
    if (design.kind == ControlKind::TextBox) {
        static_cast<QLineEdit*>(controls_[control])->setText(ToQString(model.TextAt(control)));
    } else if (design.use.role == Role::Message) {
        controls_[control]->setVisible(model.ShownAt(control));
        announcements_->MessageChanged(design.use.message);
    }
}

// Every running command stops at its next event processing and writes nothing more; the event
// loop ends once they have returned.
void FrmLoto::closeEvent(QCloseEvent* event) {
    session_.Quit();
    event->accept();
    QCoreApplication::quit();
}

}  // namespace loto
