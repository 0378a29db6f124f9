#include "window/frm_loto.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "window/controls.h"
#include "window/design.h"

namespace loto {
namespace {

QString Name(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The Tab key visits text boxes and buttons in increasing tab index; labels take no focus.
void SetTabOrder(const std::vector<std::pair<int, QWidget*>>& focusable) {
    std::vector<std::pair<int, QWidget*>> ordered = focusable;
    std::sort(ordered.begin(), ordered.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < ordered.size(); ++i) {
        QWidget::setTabOrder(ordered[i - 1].second, ordered[i].second);
    }
}

}  // namespace

FrmLoto::FrmLoto(RunTime& runTime, QWidget* parent) : QWidget(parent), commands_(runTime, 0) {
    const FormDesign& form = FrmLotoDesign();
    setObjectName(QStringLiteral("FrmLoto"));
    setWindowTitle(Name(form.title));
    setFixedSize(form.clientWidth / kTwipsPerPixel, form.clientHeight / kTwipsPerPixel);
    setFont(DesignFont(form.font));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, DesignColour(form.background));
    setPalette(palette);
    setAutoFillBackground(true);
    BuildControls();

    connect(cmdSimuler_, &QPushButton::clicked, this, &FrmLoto::SimulateCommand);
    connect(cmdEffacer_, &QPushButton::clicked, this, &FrmLoto::ClearCommand);
    connect(cmdQuitter_, &QPushButton::clicked, this, &FrmLoto::QuitCommand);
    WindowLoad();
}

void FrmLoto::BuildControls() {
    std::vector<std::pair<int, QWidget*>> focusable;
    for (const ControlDesign& design : FrmLotoControls()) {
        QWidget* control = CreateControl(design, this);
        if (design.kind != ControlKind::Label) {
            focusable.emplace_back(design.tabIndex, control);
        }
    }
    SetTabOrder(focusable);

    const auto box = [this](const QString& name) { return findChild<QLineEdit*>(name); };
    txtNbTirages_ = box(QStringLiteral("TxtNbTirages"));
    txtDateFin_ = box(QStringLiteral("TxtDateFin"));
    static constexpr std::array<const char*, kFavouriteCount> kOrdinals{"1er",  "2eme", "3eme",
                                                                        "4eme", "5eme", "6eme"};
    for (std::size_t i = 0; i < kOrdinals.size(); ++i) {
        txtFavourites_[i] = box(QStringLiteral("Txt%1N\u00B0").arg(QLatin1String(kOrdinals[i])));
    }
    static constexpr std::array<const char*, 3> kColumns{"Stat", "Theo", "Ecart"};
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
        for (int k = 0; k < kResultRows; ++k) {
            txtResults_[c][static_cast<std::size_t>(k)] =
                box(QStringLiteral("Txt%1%2N\u00B0").arg(QLatin1String(kColumns[c])).arg(k));
        }
    }
    messages_ = {findChild<QLabel*>(QStringLiteral("LblValidGrille")),
                 findChild<QLabel*>(QStringLiteral("LblTest")),
                 findChild<QLabel*>(QStringLiteral("LblPatientez"))};
    cmdSimuler_ = findChild<QPushButton*>(QStringLiteral("CmdSimuler"));
    cmdEffacer_ = findChild<QPushButton*>(QStringLiteral("CmdEffacer"));
    cmdQuitter_ = findChild<QPushButton*>(QStringLiteral("CmdQuitter"));
    txtNbTirages_->setFocus();
}

std::string FrmLoto::DrawCountText() {
    return txtNbTirages_->text().toStdString();
}

std::string FrmLoto::FavouriteText(int position) {
    return txtFavourites_.at(static_cast<std::size_t>(position - 1))->text().toStdString();
}

void FrmLoto::SetEstimateText(const std::string& text) {
    txtDateFin_->setText(QString::fromStdString(text));
}

void FrmLoto::SetResultText(ResultColumn column, int k, const std::string& text) {
    txtResults_.at(static_cast<std::size_t>(column))
        .at(static_cast<std::size_t>(k))
        ->setText(QString::fromStdString(text));
}

void FrmLoto::SetMessageVisible(Message message, bool visible) {
    messages_.at(static_cast<std::size_t>(message))->setVisible(visible);
}

bool FrmLoto::ProcessEvents(const DrawProgress&) {
    return pump_.Pump();
}

void FrmLoto::WindowLoad() {
    commands_.WindowLoad();
}

void FrmLoto::SimulateCommand() {
    if (runningCommands_ >= kMaxRunningCommands) {
        return;
    }
    ++runningCommands_;
    const SimulateReport report = commands_.SimulateCommand(*this);
    --runningCommands_;
    if (report.outcome != Outcome::Stopped) {
        lastReport_ = report;
    }
}

void FrmLoto::ClearCommand() {
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
