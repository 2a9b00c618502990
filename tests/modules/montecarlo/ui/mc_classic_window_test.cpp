// The windows of pi, the birthday problem and Buffon's needle.
#include "common/random.h"
#include "modules/montecarlo/birthday.h"
#include "modules/montecarlo/pi.h"
#include "modules/montecarlo/ui/mcbdpunit.h"
#include "modules/montecarlo/ui/mcbuffonunit.h"
#include "modules/montecarlo/ui/mckeuzedialoogunit.h"
#include "modules/montecarlo/ui/mcpiunit.h"
#include "modules/montecarlo/ui/mctesting.h"
#include "modules/montecarlo/ui/mcunit.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace tarvik::montecarlo;
using namespace tarvik::montecarlo::ui;
using tarvik::montecarlo::test::WaitWhile;
using tarvik::test::ProcessEvents;

template <typename W> W* Choose(TMC* module, MCChoice choice) {
    TMCKeuzeDialoog* chooser = module->chooser();
    QRadioButton* radio = chooser->Choices[static_cast<std::size_t>(choice)];
    // On its round mark: a click beyond the caption does not count.
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(8, radio->height() / 2));
    EXPECT_EQ(chooser->choice(), choice);
    QTest::mouseClick(chooser->OKBtn, Qt::LeftButton);
    ProcessEvents();
    EXPECT_FALSE(chooser->isVisible());
    return module->findChild<W*>();
}

using tarvik::montecarlo::test::AtHandOver;
using tarvik::montecarlo::test::EveryHandOver;

class MCPiWindow : public tarvik::montecarlo::test::MCWindowTest {};
class MCBirthdayWindow : public tarvik::montecarlo::test::MCWindowTest {};
class MCBuffonWindow : public tarvik::montecarlo::test::MCWindowTest {};

TEST_F(MCPiWindow, ARunShowsTheNumbersOfTheComputationFromTheSameGeneratorState) {
    auto* pi = Choose<TMCPi>(module, MCChoice::Pi);
    ASSERT_NE(pi, nullptr);
    auto* plot = module->findChild<TMCPiPlot*>();
    EXPECT_TRUE(pi->isVisible());
    EXPECT_TRUE(plot->isVisible());
    EXPECT_EQ(pi->windowTitle(), "Graphical estimate pi");
    EXPECT_EQ(plot->x(), pi->x() + pi->width() + 15);
    EXPECT_EQ(plot->y(), pi->y());
    EXPECT_EQ(pi->DrawsEdit->value(), 1000);
    EXPECT_EQ(pi->ActualEdit->text(), "3.1416");

    StartGenerators(4242u);
    pi->DrawsEdit->setValue(2000);
    QTest::mouseClick(pi->SimulateBtn, Qt::LeftButton);
    WaitWhile([&] { return pi->running(); });
    StartGenerators(4242u);
    tarvik::Progress progress;
    const PiResult expected = RunPi({.draws = 2000, .fast = true}, ChooseStream(), progress);
    EXPECT_EQ(pi->CurrentEdit->text(), "2000");
    EXPECT_EQ(pi->EstimateEdit->text().toStdString(), expected.estimateText());
    EXPECT_EQ(pi->IntervalEdit->text().toStdString(), expected.intervalText());
    EXPECT_EQ(pi->TerugBtn->text(), "Previous");
    EXPECT_TRUE(pi->SimulateBtn->isEnabled());
    // Darts were drawn on the board: many more black pixels than the circle's outline.
    const auto black = [](const QImage& im) {
        int n = 0;
        for (int y = 0; y < im.height(); ++y)
            for (int x = 0; x < im.width(); ++x) n += im.pixel(x, y) == qRgb(0, 0, 0) ? 1 : 0;
        return n;
    };
    const int withDarts = black(plot->picture());
    plot->Clear();
    EXPECT_GT(withDarts, black(plot->picture()) + 2000);
}

TEST_F(MCPiWindow, PreviousReadsStopDuringARunAndStopsIt) {
    auto* pi = Choose<TMCPi>(module, MCChoice::Pi);
    pi->DrawsEdit->setValue(400000);
    pi->FastBox->setChecked(false);
    QString during;
    bool fieldsEnabled = true;
    QTest::mouseClick(pi->SimulateBtn, Qt::LeftButton);
    AtHandOver(pi, 50, [&] {
        during = pi->TerugBtn->text();
        fieldsEnabled =
            pi->DrawsEdit->isEnabled() || pi->FastBox->isEnabled() || pi->SimulateBtn->isEnabled();
        QTest::mouseClick(pi->TerugBtn, Qt::LeftButton);
    });
    WaitWhile([&] { return pi->running(); });
    EXPECT_EQ(during, "Stop");
    EXPECT_FALSE(fieldsEnabled);
    EXPECT_LT(pi->lastResult().draws, 400000);
    EXPECT_EQ(pi->CurrentEdit->text().toInt(), pi->lastResult().draws);
    EXPECT_EQ(pi->TerugBtn->text(), "Previous");
    EXPECT_TRUE(pi->isVisible());
    // "Previous" after the run returns to the chooser.
    QTest::mouseClick(pi->TerugBtn, Qt::LeftButton);
    EXPECT_FALSE(pi->isVisible());
    EXPECT_TRUE(module->chooser()->isVisible());
}

TEST_F(MCPiWindow, TheFrameHidesBothWindowsWithoutTheChooserAndClosingTheModuleEndsARun) {
    auto* pi = Choose<TMCPi>(module, MCChoice::Pi);
    pi->close();
    ProcessEvents();
    EXPECT_FALSE(pi->isVisible());
    EXPECT_FALSE(module->findChild<TMCPiPlot*>()->isVisible());
    EXPECT_FALSE(module->chooser()->isVisible());

    module->OpenChoice(MCChoice::Pi);
    pi->DrawsEdit->setValue(400000);
    pi->FastBox->setChecked(false);
    QTest::mouseClick(pi->SimulateBtn, Qt::LeftButton);
    AtHandOver(pi, 20, [&] { module->closeModule(); });
    for (int i = 0; i < 200000 && module; ++i) QCoreApplication::processEvents();
    ProcessEvents();
    EXPECT_TRUE(module.isNull());
}

TEST_F(MCBirthdayWindow, TheKindSetsAndEnablesTheDayDifference) {
    auto* bdp = Choose<TMCBDP>(module, MCChoice::Birthday);
    ASSERT_NE(bdp, nullptr);
    EXPECT_EQ(bdp->KindBox->toolTip(), "Kies soort");
    EXPECT_EQ(bdp->PersonsEdit->toolTip(), "Min: 2 ; Max: 75");
    EXPECT_FALSE(bdp->DaysEdit->isEnabled());
    bdp->KindBox->setCurrentIndex(1);
    EXPECT_TRUE(bdp->DaysEdit->isEnabled());
    EXPECT_EQ(bdp->DaysEdit->value(), 1);
    bdp->KindBox->setCurrentIndex(0);
    EXPECT_FALSE(bdp->DaysEdit->isEnabled());
    EXPECT_EQ(bdp->DaysEdit->value(), 0);
}

TEST_F(MCBirthdayWindow, TwentyThreePersonsShowTheExactProbabilityAndTheComputationsEstimate) {
    auto* bdp = Choose<TMCBDP>(module, MCChoice::Birthday);
    bdp->PersonsEdit->setValue(23);
    bdp->LineBox->setChecked(true);
    StartGenerators(99u);
    QTest::mouseClick(bdp->SimulateBtn, Qt::LeftButton);
    WaitWhile([&] { return bdp->running(); });
    StartGenerators(99u);
    tarvik::Progress progress;
    const BirthdayResult expected =
        RunBirthday({.persons = 23, .dayDifference = 0, .runs = 1000}, ChooseStream(), progress);
    EXPECT_EQ(bdp->ExactEdit->text(), "0.5073");
    EXPECT_EQ(bdp->EstimateEdit->text().toStdString(), expected.estimateText());
    EXPECT_EQ(bdp->IntervalEdit->text().toStdString(), expected.intervalText());
    // The dashed line at the exact probability: red pixels on y = 300 - round(0.5073 x 275).
    const QImage& g = module->findChild<TMCBDPPlot*>()->picture();
    int red = 0;
    for (int x = 50; x <= 375; ++x) red += g.pixel(x, BirthdayY(0.5073)) == QColor(Qt::red).rgb() ? 1 : 0;
    EXPECT_GT(red, 100);
}

TEST_F(MCBuffonWindow, StopPausesContinueResumesAndTheRunEndsAtTheRequestedTotal) {
    auto* dlg = Choose<TMCBuffonDialoog>(module, MCChoice::Buffon);
    ASSERT_NE(dlg, nullptr);
    auto* plot = module->findChild<TMCBuffonPlot*>();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_FALSE(plot->isVisible());
    EXPECT_EQ(dlg->ThrowsEdit->toolTip(), "Min: 100 ; Max: 100.000");
    EveryHandOver everyThrow;
    dlg->ThrowsEdit->setValue(1000);
    bool previousEnabled = true;
    int pausedAt = 0, crossedAt = 0;
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    AtHandOver(plot, 300, [&] {
        previousEnabled = plot->TerugBtn->isEnabled();
        QTest::mouseClick(plot->RunBtn, Qt::LeftButton);
    });
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(plot->isVisible());
    WaitWhile([&] { return plot->running(); });
    EXPECT_FALSE(previousEnabled);
    ASSERT_EQ(plot->state(), TMCBuffonPlot::State::Paused);
    EXPECT_EQ(plot->RunBtn->text(), "Continue");
    EXPECT_TRUE(plot->TerugBtn->isEnabled());
    pausedAt = plot->experiment().throws();
    crossedAt = plot->experiment().crossings();
    EXPECT_GT(pausedAt, 0);
    EXPECT_LT(pausedAt, 1000);

    QTest::mouseClick(plot->RunBtn, Qt::LeftButton);
    WaitWhile([&] { return plot->running(); });
    EXPECT_EQ(plot->state(), TMCBuffonPlot::State::Finished);
    EXPECT_EQ(plot->RunBtn->text(), "Again");
    EXPECT_EQ(plot->experiment().throws(), 1000);
    EXPECT_GE(plot->experiment().crossings(), crossedAt);

    // "Previous" returns to the parameter window.
    QTest::mouseClick(plot->TerugBtn, Qt::LeftButton);
    EXPECT_FALSE(plot->isVisible());
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(MCBuffonWindow, ClosingTheBoardByItsFrameStopsTheRunAndGoesBack) {
    auto* dlg = Choose<TMCBuffonDialoog>(module, MCChoice::Buffon);
    auto* plot = module->findChild<TMCBuffonPlot*>();
    EveryHandOver everyThrow;
    dlg->ThrowsEdit->setValue(100000);
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    AtHandOver(plot, 40, [&] { plot->close(); });
    WaitWhile([&] { return plot->running(); });
    EXPECT_LT(plot->experiment().throws(), 100000);
    EXPECT_FALSE(plot->isVisible());
    EXPECT_TRUE(dlg->isVisible());
    // Previous in the parameter window: the chooser again.
    QTest::mouseClick(dlg->TerugBtn, Qt::LeftButton);
    EXPECT_TRUE(module->chooser()->isVisible());
}

} // namespace
