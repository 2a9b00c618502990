// The windows of St Petersburg, Kelly betting and the roulette systems.
#include "common/random.h"
#include "modules/montecarlo/kelly.h"
#include "modules/montecarlo/roulettesystems.h"
#include "modules/montecarlo/stpetersburg.h"
#include "modules/montecarlo/ui/mckellyunit.h"
#include "modules/montecarlo/ui/mckeuzedialoogunit.h"
#include "modules/montecarlo/ui/mcrouletteunit.h"
#include "modules/montecarlo/ui/mcsppunit.h"
#include "modules/montecarlo/ui/mctesting.h"
#include "modules/montecarlo/ui/mcunit.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace tarvik::montecarlo;
using namespace tarvik::montecarlo::ui;
using tarvik::montecarlo::test::WaitWhile;
using tarvik::test::ProcessEvents;

class MCStPetersburgWindow : public tarvik::montecarlo::test::MCWindowTest {};
class MCKellyWindow : public tarvik::montecarlo::test::MCWindowTest {};
class MCRouletteWindows : public tarvik::montecarlo::test::MCWindowTest {};

// --- St Petersburg ---------------------------------------------------------------------

TEST_F(MCStPetersburgWindow, ARunShowsTheComputationsAverageAndInterval) {
    auto* dlg = Open<TMCSPPDialoog>(MCChoice::StPetersburg);
    auto* plot = module->findChild<TMCSPPPlot*>();
    ASSERT_TRUE(dlg->isVisible());
    EXPECT_TRUE(plot->isVisible());
    EXPECT_EQ(dlg->windowTitle(), "St Petersburg Paradox");
    EXPECT_EQ(dlg->RunsEdit->toolTip(), "Min. 350 ; Max. 100000");
    EXPECT_EQ(dlg->MEdit->value(), 10);
    EXPECT_EQ(dlg->AverageEdit->text(), "");
    dlg->MEdit->setValue(5);
    dlg->RunsEdit->setValue(2000);
    dlg->LineBox->setChecked(true);
    StartGenerators(17u);
    QTest::mouseClick(dlg->SimulateBtn, Qt::LeftButton);
    WaitWhile([&] { return dlg->running(); });
    StartGenerators(17u);
    tarvik::Progress progress;
    const SppResult expected = RunStPetersburg({.m = 5, .runs = 2000}, ChooseStream(), progress);
    EXPECT_EQ(dlg->AverageEdit->text().toStdString(), expected.averageText());
    EXPECT_EQ(dlg->IntervalEdit->text().toStdString(), expected.intervalText());
    EXPECT_EQ(dlg->TerugBtn->text(), "Previous");
    // The dashed expectation line at y = 300 - 7 m.
    int red = 0;
    for (int x = 50; x <= 375; ++x) red += plot->picture().pixel(x, 265) == QColor(Qt::red).rgb() ? 1 : 0;
    EXPECT_GT(red, 60);
}

TEST_F(MCStPetersburgWindow, StopReadsPreviousAndTheFrameHidesBothWindowsWithoutTheChooser) {
    auto* dlg = Open<TMCSPPDialoog>(MCChoice::StPetersburg);
    dlg->RunsEdit->setValue(100000);
    dlg->MEdit->setValue(25);
    QString during;
    tarvik::montecarlo::test::EveryHandOver everyToss;
    QTest::mouseClick(dlg->SimulateBtn, Qt::LeftButton);
    tarvik::montecarlo::test::AtHandOver(dlg, 50, [&] {
        during = dlg->TerugBtn->text();
        QTest::mouseClick(dlg->TerugBtn, Qt::LeftButton);
        EXPECT_EQ(dlg->TerugBtn->text(), "Previous");
    });
    WaitWhile([&] { return dlg->running(); });
    EXPECT_EQ(during, "Stop");
    EXPECT_LT(dlg->lastResult().runs(), 100000);
    EXPECT_FALSE(dlg->AverageEdit->text().isEmpty());

    dlg->close();
    ProcessEvents();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_FALSE(module->findChild<TMCSPPPlot*>()->isVisible());
    EXPECT_FALSE(module->chooser()->isVisible());
    EXPECT_TRUE(dlg->SimulateBtn->isEnabled());
}

// --- Kelly ---------------------------------------------------------------------------------

void FillKelly(TMCKellyBDialoog* dlg, const QStringList& p, const QStringList& u, const QStringList& f) {
    dlg->HorsesEdit->setValue(static_cast<int>(p.size()));
    for (int i = 0; i < p.size(); ++i) {
        const auto k = static_cast<std::size_t>(i);
        dlg->ProbEdit[k]->setText(p[i]);
        dlg->PayEdit[k]->setText(u[i]);
        dlg->FracEdit[k]->setText(f[i]);
    }
}

TEST_F(MCKellyWindow, TheNumberOfHorsesEnablesTheirFields) {
    auto* dlg = Open<TMCKellyBDialoog>(MCChoice::Kelly);
    ASSERT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->HorsesEdit->value(), 10);
    EXPECT_EQ(dlg->RacesEdit->value(), 100);
    for (std::size_t i = 0; i < 10; ++i) EXPECT_TRUE(dlg->FracEdit[i]->isEnabled());
    dlg->HorsesEdit->setValue(3);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(dlg->ProbEdit[i]->isEnabled(), i < 3) << i;
        EXPECT_EQ(dlg->PayEdit[i]->isEnabled(), i < 3) << i;
        EXPECT_EQ(dlg->FracEdit[i]->isEnabled(), i < 3) << i;
        EXPECT_EQ(dlg->ProbLabel[i]->palette().color(QPalette::WindowText) == QColor(128, 128, 128), i >= 3)
            << i;
    }
    EXPECT_EQ(dlg->FracLabel[0]->text(), "fraction on horse 1");
    EXPECT_EQ(dlg->PayLabel[9]->text(), "horse 10");
    // The field with the focus is lime green.
    dlg->activateWindow();
    dlg->ProbEdit[0]->setFocus();
    ProcessEvents(1);
    EXPECT_EQ(dlg->ProbEdit[0]->palette().color(QPalette::Base), QColor(0, 255, 0));
}

TEST_F(MCKellyWindow, AnErrorIsReportedAndItsFieldSelectedAndAValidRunDrawsTheSameRaces) {
    auto* dlg = Open<TMCKellyBDialoog>(MCChoice::Kelly);
    auto* plot = module->findChild<TMCKellyBPlot*>();
    FillKelly(dlg, {"0.5", "0.3", "abc"}, {"2.5", "3", "3"}, {"0", "0", "0"});
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    ASSERT_EQ(dialogs.messageTexts().size(), 1u);
    EXPECT_EQ(dialogs.messageTexts()[0], "A wrong number has been entered.");
    EXPECT_EQ(dialogs.messages[0].kind, tarvik::ui::MsgKind::Error);
    EXPECT_TRUE(dlg->ProbEdit[2]->hasFocus() || dlg->ProbEdit[2]->selectedText() == "abc");
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_FALSE(plot->isVisible());

    dlg->ProbEdit[2]->setText("0.2");
    dlg->RacesEdit->setValue(10);
    StartGenerators(23u);
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    EXPECT_EQ(dialogs.messageTexts().size(), 1u);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(plot->isVisible());
    EXPECT_TRUE(plot->drawing());
    EXPECT_FALSE(plot->AgainBtn->isEnabled());
    EXPECT_FALSE(plot->DataBtn->isEnabled());
    EXPECT_FALSE(plot->TerugBtn->isEnabled());
    WaitWhile([&] { return plot->drawing(); });
    EXPECT_TRUE(plot->AgainBtn->isEnabled());
    StartGenerators(23u);
    const KellyRun expected = RunKelly({.races = 10, .p = {0.5, 0.3, 0.2}, .u = {2.5, 3, 3}, .f = {0, 0, 0}});
    ASSERT_NE(plot->lastRun(), nullptr);
    EXPECT_EQ(plot->lastRun()->winners, expected.winners);
    EXPECT_EQ(plot->lastRun()->kellyLog10, expected.kellyLog10);

    QTest::mouseClick(plot->DataBtn, Qt::LeftButton);
    auto* data = module->findChild<TMCKellyBData*>();
    EXPECT_TRUE(data->isVisible());
    const QString report = data->Report->toPlainText();
    EXPECT_TRUE(report.contains("Horse  2    0.300          3.00           0.00000         0.05000"));
    EXPECT_TRUE(report.contains("End capital :            $1.0000"));
    QTest::mouseClick(data->OKBtn, Qt::LeftButton);
    EXPECT_FALSE(data->isVisible());

    QTest::mouseClick(plot->TerugBtn, Qt::LeftButton);
    EXPECT_FALSE(plot->isVisible());
    EXPECT_TRUE(dlg->isVisible());
}

// --- Roulette --------------------------------------------------------------------------------

TEST_F(MCRouletteWindows, SingleRunRefusesAStartNotBelowTheDesiredCapitalAndDrawsARealisation) {
    auto* keuze = Open<TMCRouletteKeuze>(MCChoice::Roulette);
    ASSERT_TRUE(keuze->isVisible());
    EXPECT_EQ(keuze->windowTitle(), "Choice");
    EXPECT_TRUE(keuze->SingleBtn->isChecked());
    QTest::mouseClick(keuze->OKBtn, Qt::LeftButton);
    auto* dlg = module->findChild<TMCRouletteDialoog*>();
    ASSERT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->StartEdit->toolTip(), "Min 10;Max 250");
    EXPECT_EQ(dlg->DesiredEdit->toolTip(), "Min 11: Max 500");
    dlg->StartEdit->setValue(200);
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    ASSERT_EQ(dialogs.messageTexts().size(), 1u);
    EXPECT_EQ(dialogs.messageTexts()[0], "Starting capital must be smaller then desired capital");
    EXPECT_TRUE(dlg->isVisible());

    dlg->StartEdit->setValue(10);
    dlg->DesiredEdit->setValue(20);
    tarvik::RandSeed = 8;
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    auto* plot = module->findChild<TMCRoulettePlot*>();
    EXPECT_TRUE(plot->isVisible());
    EXPECT_FALSE(plot->DataBtn->isEnabled());
    // The rest of the realisation at once, as closing the window would.
    plot->FinishDrawing();
    EXPECT_TRUE(plot->DataBtn->isEnabled());
    tarvik::RandSeed = 8;
    const RouletteRealisation expected = RunRouletteRealisation(10, 20);
    QTest::mouseClick(plot->DataBtn, Qt::LeftButton);
    auto* data = module->findChild<TMCRouletteData*>();
    EXPECT_TRUE(data->isVisible());
    for (std::size_t s = 0; s < kSystems; ++s)
        EXPECT_EQ(data->Rounds[s]->text().toInt(), expected.systems[s].rounds);
    EXPECT_EQ(data->Largest[2]->text(), "1");
    QTest::mouseClick(data->OKBtn, Qt::LeftButton);
    // "Previous": settings, then the roulette choice, then the module chooser.
    QTest::mouseClick(plot->TerugBtn, Qt::LeftButton);
    EXPECT_TRUE(dlg->isVisible());
    QTest::mouseClick(dlg->TerugBtn, Qt::LeftButton);
    EXPECT_TRUE(keuze->isVisible());
    QTest::mouseClick(keuze->TerugBtn, Qt::LeftButton);
    EXPECT_TRUE(module->chooser()->isVisible());
}

TEST_F(MCRouletteWindows, DistributionsRunWithProgressAndShowTheComputationsData) {
    auto* keuze = Open<TMCRouletteKeuze>(MCChoice::Roulette);
    keuze->DistBtn->setChecked(true);
    QTest::mouseClick(keuze->OKBtn, Qt::LeftButton);
    auto* dlg = module->findChild<TMCRouletteDialoog2*>();
    ASSERT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->StartEdit->value(), 10);
    EXPECT_EQ(dlg->RunsEdit->value(), 1000);
    auto* progress = module->findChild<TMCRouletteProgress*>();
    EXPECT_EQ(progress->windowTitle(), "Simulatievoortgang");
    StartGenerators(61u);
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    WaitWhile([&] { return dlg->running(); });
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(progress->Bar->value(), 0);
    auto* plot = module->findChild<TMCRoulettePlot2*>();
    EXPECT_TRUE(plot->isVisible());
    StartGenerators(61u);
    tarvik::Progress none;
    const RouletteDistData expected = RouletteDistTexts(RunRouletteDistributions({10, 10, 1000}, none));
    QTest::mouseClick(plot->DataBtn, Qt::LeftButton);
    auto* data = module->findChild<TMCRouletteData2*>();
    ASSERT_TRUE(data->isVisible());
    for (std::size_t s = 0; s < kSystems; ++s) {
        EXPECT_EQ(data->Estimate[s]->text().toStdString(), expected.estimate[s]);
        EXPECT_EQ(data->Bets[s]->text().toStdString(), expected.averageBets[s]);
    }
    EXPECT_EQ(data->RunsText->text(), "1000");
    QTest::mouseClick(data->OKBtn, Qt::LeftButton);

    // "&Stop" ends the simulation after the current run.
    dlg->RunsEdit->setValue(100000);
    QTest::mouseClick(plot->TerugBtn, Qt::LeftButton);
    EXPECT_TRUE(dlg->isVisible());
    tarvik::montecarlo::test::EveryHandOver everyBet;
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    tarvik::montecarlo::test::AtHandOver(progress, 500,
                                         [&] { QTest::mouseClick(progress->StopBtn, Qt::LeftButton); });
    WaitWhile([&] { return dlg->running(); });
    ASSERT_NE(dlg->lastResult(), nullptr);
    EXPECT_LT(dlg->lastResult()->completed, 100000);
    EXPECT_GT(dlg->lastResult()->completed, 0);
}

} // namespace
