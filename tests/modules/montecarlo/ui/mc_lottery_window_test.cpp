// The windows of Benford's law, the newsboy, Legio risk, the scratch lottery
// and the lotto.
#include "common/random.h"
#include "modules/montecarlo/benford.h"
#include "modules/montecarlo/lotto.h"
#include "modules/montecarlo/newsboy.h"
#include "modules/montecarlo/scratch.h"
#include "modules/montecarlo/ui/mcbenfordunit.h"
#include "modules/montecarlo/ui/mckeuzedialoogunit.h"
#include "modules/montecarlo/ui/mckrasunit.h"
#include "modules/montecarlo/ui/mclegiounit.h"
#include "modules/montecarlo/ui/mclottounit.h"
#include "modules/montecarlo/ui/mcnewsboyunit.h"
#include "modules/montecarlo/ui/mctesting.h"
#include "modules/montecarlo/ui/mcunit.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace tarvik::montecarlo;
using namespace tarvik::montecarlo::ui;
using tarvik::montecarlo::test::WaitWhile;
using tarvik::test::ProcessEvents;

class MCBenfordWindow : public tarvik::montecarlo::test::MCWindowTest {};
class MCNewsboyWindow : public tarvik::montecarlo::test::MCWindowTest {};
class MCLegioWindow : public tarvik::montecarlo::test::MCWindowTest {};
class MCScratchWindow : public tarvik::montecarlo::test::MCWindowTest {};
class MCLottoWindow : public tarvik::montecarlo::test::MCWindowTest {};

void Type(QLineEdit* e, const QString& text) {
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, text);
}

// --- Benford ---------------------------------------------------------------------------------

TEST_F(MCBenfordWindow, TheNumberOfIntervalsEnablesItsFieldsAndBadBoundsAreRefused) {
    auto* dlg = Open<TMCBenfordDialoog>(MCChoice::Benford);
    ASSERT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->windowTitle(), "Law of Benford");
    EXPECT_EQ(dlg->IntervalsEdit->value(), 10);
    EXPECT_EQ(dlg->DrawsEdit->value(), 100000);
    EXPECT_EQ(dlg->DrawsEdit->toolTip(), "Min: 100 ; Max: 1.000.000");
    EXPECT_EQ(dlg->DrawsEdit->singleStep(), 100);
    for (QLineEdit* e : dlg->IntervalEdit) {
        EXPECT_TRUE(e->isEnabled());
        EXPECT_EQ(e->text(), "");
    }
    dlg->IntervalsEdit->setValue(3);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(dlg->IntervalEdit[static_cast<std::size_t>(i)]->isEnabled(), i < 3) << i;
    EXPECT_NE(dlg->IntervalLabel[5]->palette().color(QPalette::WindowText),
              dlg->IntervalLabel[0]->palette().color(QPalette::WindowText));

    Type(dlg->IntervalEdit[0], "500");
    Type(dlg->IntervalEdit[1], "99");
    Type(dlg->IntervalEdit[2], "1.5");
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    ASSERT_EQ(dialogs.messageTexts().size(), 1u);
    EXPECT_EQ(dialogs.messageTexts()[0], "Interval not between 100 and 10 to the power 15");
    EXPECT_EQ(dialogs.messages[0].kind, tarvik::ui::MsgKind::Error);
    EXPECT_TRUE(dlg->IntervalEdit[1]->hasFocus());
    EXPECT_EQ(dlg->IntervalEdit[1]->selectedText(), "99");
    Type(dlg->IntervalEdit[1], "2000000000000000");
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    EXPECT_EQ(dialogs.messageTexts().back(), "Interval not between 100 and 10 to the power 15");
    Type(dlg->IntervalEdit[1], "100");
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    EXPECT_EQ(dialogs.messageTexts().back(), "A wrong number has been entered.");
    EXPECT_TRUE(dlg->IntervalEdit[2]->hasFocus());
    EXPECT_EQ(dialogs.messageTexts().size(), 3u);
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(MCBenfordWindow, ARunDrawsTheBarsOfTheComputationAndAgainRepeatsIt) {
    auto* dlg = Open<TMCBenfordDialoog>(MCChoice::Benford);
    auto* plot = module->findChild<TMCBenfordPlot*>();
    dlg->IntervalsEdit->setValue(1);
    dlg->DrawsEdit->setValue(5000);
    Type(dlg->IntervalEdit[0], "100");
    StartGenerators(5u);
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    ProcessEvents();
    EXPECT_FALSE(dlg->isVisible());
    ASSERT_TRUE(plot->isVisible());
    EXPECT_TRUE(plot->AgainBtn->isEnabled());
    StartGenerators(5u);
    tarvik::Progress progress;
    const BenfordResult expected = RunBenford({.bounds = {100}, .draws = 5000}, ChooseStream(), progress);
    EXPECT_EQ(plot->lastResult().counts, expected.counts);
    const QImage& pic = plot->picture();
    EXPECT_EQ(pic.size(), QSize(609, 345));
    const QRgb red = QColor(Qt::red).rgb(), blue = QColor(Qt::blue).rgb();
    for (int d = 1; d <= 9; ++d) {
        const int top = BenfordShareTop(expected.share(d));
        EXPECT_EQ(pic.pixel(60 * d + 16, top), red) << d;
        EXPECT_NE(pic.pixel(60 * d + 16, top - 1), red) << d;
        EXPECT_EQ(pic.pixel(60 * d + 40, BenfordBarTop(d)), blue) << d;
        EXPECT_NE(pic.pixel(60 * d + 40, BenfordBarTop(d) - 1), blue) << d;
    }
    QTest::mouseClick(plot->AgainBtn, Qt::LeftButton);
    long long sum = 0;
    for (long long c : plot->lastResult().counts) sum += c;
    EXPECT_EQ(sum, 5000);
    QTest::mouseClick(plot->TerugBtn, Qt::LeftButton);
    EXPECT_FALSE(plot->isVisible());
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->IntervalEdit[0]->text(), "100");
}

// --- Newsboy ---------------------------------------------------------------------------------

TEST_F(MCNewsboyWindow, TheDistributionChoiceEnablesItsFieldsAndTheGrid) {
    auto* dlg = Open<TMCNewsboyDialoog>(MCChoice::Newsboy);
    ASSERT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->Q1Edit->text(), "200");
    EXPECT_EQ(dlg->SalvageEdit->text(), "0.5");
    EXPECT_EQ(dlg->RunsEdit->text(), "10000");
    EXPECT_EQ(dlg->BinsEdit->toolTip(), "min 5 ; max 25");
    EXPECT_TRUE(dlg->UniformBtn->isChecked());
    EXPECT_EQ(dlg->OwnGrid->toolTip(), "Kansen mogen hooguit 2 decimalen hebben.");
    const auto enabled = [&] {
        return std::vector<bool>{dlg->UniformAEdit->isEnabled(), dlg->UniformBEdit->isEnabled(),
                                 dlg->TriangularAEdit->isEnabled(), dlg->TriangularMEdit->isEnabled(),
                                 bool(dlg->OwnGrid->item(1, 0)->flags() & Qt::ItemIsEditable)};
    };
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, false, false, false}));
    QTest::mouseClick(dlg->TriangularBtn, Qt::LeftButton, {}, QPoint(8, dlg->TriangularBtn->height() / 2));
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, true, true, false}));
    QTest::mouseClick(dlg->OwnBtn, Qt::LeftButton, {}, QPoint(8, dlg->OwnBtn->height() / 2));
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false, false, true}));
    EXPECT_EQ(dlg->OwnGrid->item(1, 3)->foreground().color(), QColor(Qt::black));
    QTest::mouseClick(dlg->UniformBtn, Qt::LeftButton, {}, QPoint(8, dlg->UniformBtn->height() / 2));
    EXPECT_NE(dlg->OwnGrid->item(1, 3)->foreground().color(), QColor(Qt::black));
}

TEST_F(MCNewsboyWindow, MessagesFocusTheirFieldAndARunFillsTheDataReport) {
    auto* dlg = Open<TMCNewsboyDialoog>(MCChoice::Newsboy);
    auto* plot = module->findChild<TMCNewsboyPlot*>();
    auto* data = module->findChild<TMCNewsBoyData*>();
    // No number: the focus only.
    Type(dlg->PriceEdit, "abc");
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    EXPECT_TRUE(dialogs.messageTexts().empty());
    EXPECT_TRUE(dlg->PriceEdit->hasFocus());
    Type(dlg->PriceEdit, "12");
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    ASSERT_EQ(dialogs.messageTexts().size(), 1u);
    EXPECT_EQ(dialogs.messageTexts()[0], "Selling price must be between 1 and 10 dollar");
    EXPECT_TRUE(dlg->PriceEdit->hasFocus());
    Type(dlg->PriceEdit, "2");
    Type(dlg->UniformBEdit, "501");
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    EXPECT_EQ(dialogs.messageTexts().back(), "a and b must be between 0 and 500");
    EXPECT_TRUE(dlg->UniformBEdit->hasFocus());
    Type(dlg->UniformBEdit, "300");
    // Own distribution: three decimals refused, then p0 = 1.
    QTest::mouseClick(dlg->OwnBtn, Qt::LeftButton, {}, QPoint(8, dlg->OwnBtn->height() / 2));
    dlg->OwnGrid->item(1, 0)->setText(".334");
    dlg->OwnGrid->item(1, 1)->setText(".333");
    dlg->OwnGrid->item(1, 2)->setText(".333");
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    EXPECT_EQ(dialogs.messageTexts().back(), "The probabilities can have a maximum of 2 decimals");
    EXPECT_EQ(dlg->OwnGrid->currentColumn(), 0);
    dlg->OwnGrid->item(1, 0)->setText("1");
    dlg->OwnGrid->item(1, 1)->setText("0");
    dlg->OwnGrid->item(1, 2)->setText("0");
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    EXPECT_EQ(dialogs.messageTexts().back(), "Order quantity must be between 1 and 10");
    EXPECT_TRUE(dlg->Q1Edit->hasFocus());
    Type(dlg->Q1Edit, "1");
    Type(dlg->Q2Edit, "1");
    Type(dlg->RunsEdit, "1000");
    const std::size_t messages = dialogs.messageTexts().size();
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    ProcessEvents();
    EXPECT_EQ(dialogs.messageTexts().size(), messages);
    EXPECT_FALSE(dlg->isVisible());
    ASSERT_TRUE(plot->isVisible());
    ASSERT_TRUE(plot->lastResult());
    EXPECT_DOUBLE_EQ(plot->lastResult()->mean[0], -0.5);
    QTest::mouseClick(plot->DataBtn, Qt::LeftButton);
    ASSERT_TRUE(data->isVisible());
    EXPECT_EQ(data->windowTitle(), "Data");
    const QString report = data->Report->toPlainText();
    EXPECT_TRUE(report.contains("Own distribution\n0: 1\n1: 0\n"));
    EXPECT_TRUE(report.contains("Expected profit Q1:       -0.5  95 % BTI: (      -0.5 ;      -0.5)"));
    EXPECT_FALSE(report.contains("nan"));
    QTest::mouseClick(data->OKBtn, Qt::LeftButton);
    EXPECT_FALSE(data->isVisible());
    QTest::mouseClick(plot->TerugBtn, Qt::LeftButton);
    EXPECT_TRUE(dlg->isVisible());
}

// --- Legio risk -------------------------------------------------------------------------------

TEST_F(MCLegioWindow, TheWithdrawalLimitFollowsTheRateAndTheCheckUsesTheFieldsAsTheyAre) {
    auto* dlg = Open<TMCLegioRiskDialoog>(MCChoice::LegioRisk);
    ASSERT_TRUE(dlg->isVisible());
    EXPECT_TRUE(dlg->Refresh->isActive());
    EXPECT_EQ(dlg->Refresh->interval(), 500);
    EXPECT_EQ(dlg->WithdrawalLabel->text(), "Yearly withdrawal(<=15098):");
    EXPECT_EQ(dlg->WithdrawalEdit->text(), "15098");
    EXPECT_EQ(dlg->TermBox->currentText(), "20");
    Type(dlg->RateEdit, "abc");
    dlg->RefreshTick();
    EXPECT_EQ(dlg->WithdrawalLabel->text(), "Yearly withdrawal:");
    EXPECT_EQ(dlg->WithdrawalEdit->text(), "Unknown");
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    EXPECT_EQ(dialogs.messageTexts().back(), "Invalid number for return percentage");
    EXPECT_TRUE(dlg->RateEdit->hasFocus());
    Type(dlg->RateEdit, "20");
    dlg->RefreshTick();
    EXPECT_EQ(dlg->WithdrawalEdit->text(), "20535");
    // Typed down to 4 and "OK" before the next tick.
    Type(dlg->RateEdit, "4");
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    EXPECT_EQ(dialogs.messageTexts().back(), "The amount of withdrawal can be max 7358");
    EXPECT_TRUE(dlg->WithdrawalEdit->hasFocus());
    Type(dlg->WithdrawalEdit, "-3");
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    EXPECT_EQ(dialogs.messageTexts().back(), "Withdrawal amount must be between 0 and 7358");
    Type(dlg->WithdrawalEdit, "7000");
    Type(dlg->FluctuationEdit, "0.7");
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    EXPECT_EQ(dialogs.messageTexts().back(), "The increase factor must be between 0 and 0.5.");
    EXPECT_TRUE(dlg->FluctuationEdit->hasFocus());
    Type(dlg->FluctuationEdit, "0.1");
    Type(dlg->RunsEdit, "1234567890123456789012345");
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    EXPECT_EQ(dialogs.messageTexts().back(), "Number of runs must be between 1000 and 100000");
    EXPECT_TRUE(dlg->RunsEdit->hasFocus());
    QTest::mouseClick(dlg->TerugBtn, Qt::LeftButton);
    EXPECT_FALSE(dlg->Refresh->isActive());
    EXPECT_TRUE(module->chooser()->isVisible());
}

TEST_F(MCLegioWindow, ProgressWindowRunsToTheGraphAndStopReturnsToTheSettings) {
    tarvik::montecarlo::test::EveryHandOver everyHandOver;
    auto* dlg = Open<TMCLegioRiskDialoog>(MCChoice::LegioRisk);
    auto* plot = module->findChild<TMCLegioRiskPlot*>();
    auto* progress = module->findChild<TMCLegioRiskProgress*>();
    Type(dlg->RunsEdit, "2000");
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    int maximum = 0;
    bool progressShown = false;
    tarvik::montecarlo::test::AtHandOver(module, 3, [&] {
        maximum = progress->Bar->maximum();
        progressShown = progress->isVisible();
    });
    WaitWhile([&] { return plot->running(); });
    ProcessEvents();
    EXPECT_TRUE(progressShown);
    EXPECT_EQ(maximum, 2000);
    EXPECT_EQ(progress->windowTitle(), "Simulation progress");
    EXPECT_FALSE(progress->isVisible());
    ASSERT_TRUE(plot->isVisible());
    ASSERT_TRUE(plot->lastResult());
    EXPECT_EQ(plot->lastResult()->runs, 2000);
    EXPECT_EQ(plot->picture().size(), QSize(561, 361));

    // "Again", then "Stop" in the progress window: the settings return.
    QTest::mouseClick(plot->AgainBtn, Qt::LeftButton);
    tarvik::montecarlo::test::AtHandOver(module, 5,
                                         [&] { QTest::mouseClick(progress->StopBtn, Qt::LeftButton); });
    WaitWhile([&] { return plot->running(); });
    ProcessEvents();
    EXPECT_FALSE(progress->isVisible());
    EXPECT_FALSE(plot->isVisible());
    EXPECT_TRUE(dlg->isVisible());
}

// --- Scratch lottery --------------------------------------------------------------------------

TEST_F(MCScratchWindow, MinimaAreRefusedAndACompletedRunOpensTheTable) {
    tarvik::montecarlo::test::EveryHandOver everyHandOver;
    auto* dlg = Open<TMCKrasOpties>(MCChoice::Scratch);
    auto* plot = module->findChild<TMCKrasPlot*>();
    auto* table = module->findChild<TMCKrasTabel*>();
    ASSERT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->windowTitle(), "Settings");
    EXPECT_EQ(dlg->TicketsEdit->value(), 10000);
    EXPECT_TRUE(dlg->OKBtn->isDefault());
    dlg->TicketsEdit->setValue(4);
    dlg->WeeksEdit->setValue(99);
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    EXPECT_EQ(dialogs.messageTexts().back(), "The number of lottery tickets must be at least 5");
    EXPECT_TRUE(dlg->TicketsEdit->hasFocus());
    dlg->TicketsEdit->setValue(5);
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    EXPECT_EQ(dialogs.messageTexts().back(), "The number of weeks must at least be 100");
    EXPECT_TRUE(dlg->WeeksEdit->hasFocus());
    dlg->WeeksEdit->setValue(300);
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    bool stopShown = false, tableOff = false;
    tarvik::montecarlo::test::AtHandOver(module, 3, [&] {
        stopShown = plot->TerugBtn->text() == "Stop";
        tableOff = !plot->TabelBtn->isEnabled() && !plot->SaveBtn->isEnabled();
    });
    WaitWhile([&] { return plot->running(); });
    EXPECT_TRUE(stopShown);
    EXPECT_TRUE(tableOff);
    EXPECT_EQ(plot->TerugBtn->text(), "Previous");
    ASSERT_TRUE(plot->TabelBtn->isEnabled());
    EXPECT_EQ(plot->SaveBtn->toolTip(), "Naar Klembord");
    const ScratchResult& r = plot->lastResult();
    EXPECT_EQ(r.completed, 300);
    EXPECT_EQ(r.counts[4], 0);
    for (int c = 0; c < kScratchClasses; ++c)
        EXPECT_EQ(plot->CountLabel[static_cast<std::size_t>(c)]->text(), QString::number(r.counts[c]));
    dialogs.fileAnswers = {std::nullopt};
    QTest::mouseClick(plot->SaveBtn, Qt::LeftButton);
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].fileName, "Scratch lottery.bmp");
    EXPECT_TRUE(dialogs.fileRequests[0].filters.contains("Bitmap-files (*.bmp)"));
    QTest::mouseClick(plot->TabelBtn, Qt::LeftButton);
    ASSERT_TRUE(table->isVisible());
    EXPECT_EQ(table->windowTitle(), "Table");
    QTest::mouseClick(table->TerugBtn, Qt::LeftButton);
    EXPECT_FALSE(table->isVisible());
    EXPECT_TRUE(plot->isVisible());
}

TEST_F(MCScratchWindow, StopLeavesTheTableDisabled) {
    tarvik::montecarlo::test::EveryHandOver everyHandOver;
    auto* dlg = Open<TMCKrasOpties>(MCChoice::Scratch);
    auto* plot = module->findChild<TMCKrasPlot*>();
    dlg->WeeksEdit->setValue(1000000);
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    tarvik::montecarlo::test::AtHandOver(module, 20,
                                         [&] { QTest::mouseClick(plot->TerugBtn, Qt::LeftButton); });
    WaitWhile([&] { return plot->running(); });
    EXPECT_LT(plot->lastResult().completed, 1000000);
    EXPECT_FALSE(plot->TabelBtn->isEnabled());
    EXPECT_FALSE(plot->SaveBtn->isEnabled());
    EXPECT_EQ(plot->TerugBtn->text(), "Previous");
    QTest::mouseClick(plot->TerugBtn, Qt::LeftButton);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_FALSE(plot->isVisible());
}

// --- Lotto ------------------------------------------------------------------------------------

TEST_F(MCLottoWindow, StopAfterDraw120ThenContinueEndsWithAllDraws) {
    tarvik::montecarlo::test::EveryHandOver everyHandOver;
    auto* dlg = Open<TMCLottoDialoog>(MCChoice::Lotto);
    auto* plot = module->findChild<TMCLottoPlot*>();
    ASSERT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->BallsEdit->value(), 45);
    EXPECT_EQ(dlg->DrawnEdit->value(), 6);
    EXPECT_EQ(dlg->DrawsEdit->value(), 300);
    EXPECT_EQ(dlg->DrawsEdit->toolTip(), "Min 25 ; Max 5000");
    // "Stop" at the hand-over after draw 120.
    QString during;
    bool previousOff = false;
    auto* watch = new QTimer(module);
    watch->setInterval(0);
    QObject::connect(watch, &QTimer::timeout, module, [&] {
        if (plot->state().current < 120) return;
        watch->stop();
        during = plot->AgainBtn->text();
        previousOff = !plot->TerugBtn->isEnabled();
        QTest::mouseClick(plot->AgainBtn, Qt::LeftButton);
    });
    watch->start();
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    ASSERT_TRUE(plot->isVisible());
    WaitWhile([&] { return plot->running(); });
    EXPECT_EQ(plot->width(), 12 * 45 + 58);
    EXPECT_EQ(plot->DataBtn->geometry().right(), plot->width() - 11);
    EXPECT_EQ(during, "Stop");
    EXPECT_TRUE(previousOff);
    EXPECT_EQ(plot->state().current, 120);
    EXPECT_EQ(plot->AgainBtn->text(), "Continue");
    EXPECT_TRUE(plot->SaveBtn->isEnabled());
    EXPECT_FALSE(plot->DataBtn->isEnabled());
    EXPECT_TRUE(plot->TerugBtn->isEnabled());
    QTest::mouseClick(plot->AgainBtn, Qt::LeftButton);
    EXPECT_FALSE(plot->SaveBtn->isEnabled());
    WaitWhile([&] { return plot->running(); });
    EXPECT_EQ(plot->state().current, 300);
    long long sum = 0;
    for (long long c : plot->state().counts) sum += c;
    EXPECT_EQ(sum, 300 * 6);
    EXPECT_EQ(plot->AgainBtn->text(), "Again");
    EXPECT_TRUE(plot->DataBtn->isEnabled());
    EXPECT_TRUE(plot->HotBtn->isEnabled());
    EXPECT_EQ(plot->HotBtn->toolTip(), "Overzicht van de Hot & Cold Numbers");

    auto* data = module->findChild<TMCLottoData*>();
    QTest::mouseClick(plot->DataBtn, Qt::LeftButton);
    ASSERT_TRUE(data->isVisible());
    EXPECT_FALSE(plot->isVisible());
    EXPECT_TRUE(data->Report->toPlainText().contains("Expectation of X :40\nStandard deviation of X5.8878"));
    QTest::mouseClick(data->OKBtn, Qt::LeftButton);
    EXPECT_TRUE(plot->isVisible());

    auto* walk = module->findChild<TMCLottoGoodnBad*>();
    QTest::mouseClick(plot->WalkBtn, Qt::LeftButton);
    ASSERT_TRUE(walk->isVisible());
    EXPECT_TRUE(walk->OKBtn->isEnabled());
    QTest::mouseClick(walk->OKBtn, Qt::LeftButton);
    EXPECT_TRUE(plot->isVisible());

    auto* hot = module->findChild<TMCLottoHotnCold*>();
    QTest::mouseClick(plot->HotBtn, Qt::LeftButton);
    ASSERT_TRUE(hot->isVisible());
    EXPECT_EQ(hot->width(), 12 * 45 + 58);
    QTest::mouseClick(hot->OKBtn, Qt::LeftButton);
    EXPECT_FALSE(hot->isVisible());

    // The graph and the ages save only their left 13 s pixels.
    QTemporaryDir dir;
    const QString lottoFile = dir.filePath("l.bmp"), hotFile = dir.filePath("h.bmp");
    dialogs.fileAnswers = {lottoFile, hotFile};
    QTest::mouseClick(plot->SaveBtn, Qt::LeftButton);
    QTest::mouseClick(plot->HotBtn, Qt::LeftButton);
    QTest::mouseClick(hot->SaveBtn, Qt::LeftButton);
    QTest::mouseClick(hot->OKBtn, Qt::LeftButton);
    ASSERT_EQ(dialogs.fileRequests.size(), 2u);
    EXPECT_EQ(dialogs.fileRequests[0].fileName, "Lotto.bmp");
    EXPECT_EQ(dialogs.fileRequests[1].fileName, "HotNCold.bmp");
    EXPECT_EQ(QImage(lottoFile).size(), QSize(13 * 45, plot->picture().height()));
    EXPECT_EQ(QImage(hotFile).width(), 13 * 45);

    // "Again" starts from draw 1 with the counts reset.
    QTest::mouseClick(plot->AgainBtn, Qt::LeftButton);
    WaitWhile([&] { return plot->running(); });
    sum = 0;
    for (long long c : plot->state().counts) sum += c;
    EXPECT_EQ(sum, 300 * 6);
    QTest::mouseClick(plot->TerugBtn, Qt::LeftButton);
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(MCLottoWindow, TheFrameDuringARunStopsItThenActsAsPrevious) {
    tarvik::montecarlo::test::EveryHandOver everyHandOver;
    auto* dlg = Open<TMCLottoDialoog>(MCChoice::Lotto);
    auto* plot = module->findChild<TMCLottoPlot*>();
    dlg->DrawsEdit->setValue(5000);
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    tarvik::montecarlo::test::AtHandOver(module, 30, [&] { plot->close(); });
    WaitWhile([&] { return plot->running(); });
    ProcessEvents();
    EXPECT_LT(plot->state().current, 5000);
    EXPECT_FALSE(plot->isVisible());
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(MCLottoWindow, ClosingTheModuleDuringARunEndsIt) {
    tarvik::montecarlo::test::EveryHandOver everyHandOver;
    auto* dlg = Open<TMCLottoDialoog>(MCChoice::Lotto);
    dlg->DrawsEdit->setValue(5000);
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    tarvik::montecarlo::test::AtHandOver(module, 30, [&] { module->closeModule(); });
    for (int i = 0; i < 200000 && module; ++i) QCoreApplication::processEvents();
    ProcessEvents();
    EXPECT_TRUE(module.isNull());
}

} // namespace
