#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <memory>

#include "platform/system_run_time.h"
#include "window/frm_loto.h"

namespace loto::test {

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

}  // namespace loto::test
