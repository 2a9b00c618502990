// Every experiment run from a seed fixed with "Seed..." shows what
// `tarvik-solve --montecarlo EXPERIMENT --seed S` prints for the same input.
#include "common/numformat.h"
#include "common/random.h"
#include "common/ui/seed.h"
#include "modules/montecarlo/montecarlocli.h"
#include "modules/montecarlo/ui/mcbdpunit.h"
#include "modules/montecarlo/ui/mcbenfordunit.h"
#include "modules/montecarlo/ui/mcbuffonunit.h"
#include "modules/montecarlo/ui/mckellyunit.h"
#include "modules/montecarlo/ui/mckeuzedialoogunit.h"
#include "modules/montecarlo/ui/mckrasunit.h"
#include "modules/montecarlo/ui/mclegiounit.h"
#include "modules/montecarlo/ui/mclottounit.h"
#include "modules/montecarlo/ui/mcnewsboyunit.h"
#include "modules/montecarlo/ui/mcrouletteunit.h"
#include "modules/montecarlo/ui/mcsppunit.h"
#include "modules/montecarlo/ui/mctesting.h"
#include "modules/montecarlo/ui/mcunit.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace tarvik::montecarlo;
using namespace tarvik::montecarlo::ui;
using tarvik::montecarlo::test::Choose;
using tarvik::test::ProcessEvents;
using Lines = std::vector<std::string>;

void WaitWhile(const std::function<bool()>& busy) {
    for (int i = 0; i < 2000000 && busy(); ++i) QCoreApplication::processEvents();
    ProcessEvents();
}

void Click(QAbstractButton* b) {
    QTest::mouseClick(b, Qt::LeftButton);
}

std::string Text(const QLineEdit* e) {
    return e->text().toStdString();
}

std::string Line(const std::string& label, const std::string& value) {
    return label + ": " + value;
}

Lines ReportLines(const QTextEdit* report) {
    Lines lines;
    for (const QString& l : report->toPlainText().split('\n')) lines.push_back(l.toStdString());
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

template <typename W> W* Find(TMC* module) {
    W* w = module->findChild<W*>();
    EXPECT_NE(w, nullptr);
    return w;
}

struct Row {
    const char* name;
    MCChoice choice;
    Lines cli; // after "--montecarlo", without the seed
    // Sets the windows' fields as `cli` does, runs the experiment and returns
    // the result texts as the command line writes them.
    std::function<Lines(TMC*)> window;
};

const Row kRows[] = {
    {"birthday",
     MCChoice::Birthday,
     {"birthday", "--persons", "23", "--runs", "500"},
     [](TMC* m) -> Lines {
         auto* w = Find<TMCBDP>(m);
         w->PersonsEdit->setValue(23);
         w->RunsEdit->setValue(500);
         Click(w->SimulateBtn);
         WaitWhile([w] { return w->running(); });
         return {Line("Simulated probability", Text(w->EstimateEdit)), Line("95% BTI", Text(w->IntervalEdit)),
                 Line("Exact probability", Text(w->ExactEdit))};
     }},
    {"st-petersburg",
     MCChoice::StPetersburg,
     {"st-petersburg", "--m", "6", "--runs", "800"},
     [](TMC* m) -> Lines {
         auto* w = Find<TMCSPPDialoog>(m);
         w->MEdit->setValue(6);
         w->RunsEdit->setValue(800);
         Click(w->SimulateBtn);
         WaitWhile([w] { return w->running(); });
         return {Line("Average pay-out", Text(w->AverageEdit)), Line("95% BTI", Text(w->IntervalEdit))};
     }},
    {"buffon",
     MCChoice::Buffon,
     {"buffon", "--throws", "700"},
     [](TMC* m) -> Lines {
         auto* dlg = Find<TMCBuffonDialoog>(m);
         auto* plot = Find<TMCBuffonPlot>(m);
         dlg->ThrowsEdit->setValue(700);
         Click(dlg->OKBtn);
         WaitWhile([plot] { return plot->running(); });
         // The texts the board shows under the needles.
         const BuffonExperiment& e = plot->experiment();
         return {Line("Number of throws", e.throwsText()), Line("Intersections", e.crossingsText()),
                 Line("Approximation of Pi", e.estimateText()),
                 Line("95% Confidence interval", e.intervalText())};
     }},
    {"kelly",
     MCChoice::Kelly,
     {"kelly", "--races", "40", "--probabilities", "0.5,0.3,0.2", "--payoffs", "2.5,3,3", "--fractions",
      "0.1,0.05,0"},
     [](TMC* m) -> Lines {
         auto* dlg = Find<TMCKellyBDialoog>(m);
         auto* plot = Find<TMCKellyBPlot>(m);
         dlg->HorsesEdit->setValue(3);
         dlg->RacesEdit->setValue(40);
         const char* p[] = {"0.5", "0.3", "0.2"};
         const char* u[] = {"2.5", "3", "3"};
         const char* f[] = {"0.1", "0.05", "0"};
         for (std::size_t i = 0; i < 3; ++i) {
             dlg->ProbEdit[i]->setText(p[i]);
             dlg->PayEdit[i]->setText(u[i]);
             dlg->FracEdit[i]->setText(f[i]);
         }
         Click(dlg->OKBtn);
         WaitWhile([plot] { return plot->drawing(); });
         Click(plot->DataBtn);
         return ReportLines(Find<TMCKellyBData>(m)->Report);
     }},
    {"roulette-run",
     MCChoice::Roulette,
     {"roulette-run", "--capital", "30", "--desired", "60"},
     [](TMC* m) -> Lines {
         auto* keuze = Find<TMCRouletteKeuze>(m);
         keuze->SingleBtn->setChecked(true);
         Click(keuze->OKBtn);
         auto* dlg = Find<TMCRouletteDialoog>(m);
         dlg->StartEdit->setValue(30);
         dlg->DesiredEdit->setValue(60);
         Click(dlg->OKBtn);
         auto* plot = Find<TMCRoulettePlot>(m);
         plot->FinishDrawing();
         Click(plot->DataBtn);
         auto* data = Find<TMCRouletteData>(m);
         Lines lines;
         for (std::size_t s = 0; s < kSystems; ++s) {
             lines.push_back(SystemName(static_cast<int>(s)));
             lines.push_back(Line("Number of rounds played", Text(data->Rounds[s])));
             lines.push_back(Line("Total staked chips", Text(data->Staked[s])));
             lines.push_back(Line("Largest stake during game", Text(data->Largest[s])));
         }
         return lines;
     }},
    {"roulette-dist",
     MCChoice::Roulette,
     {"roulette-dist", "--capital", "20", "--bets", "15", "--runs", "1000"},
     [](TMC* m) -> Lines {
         auto* keuze = Find<TMCRouletteKeuze>(m);
         keuze->DistBtn->setChecked(true);
         Click(keuze->OKBtn);
         auto* dlg = Find<TMCRouletteDialoog2>(m);
         dlg->StartEdit->setValue(20);
         dlg->BetsEdit->setValue(15);
         dlg->RunsEdit->setValue(1000);
         Click(dlg->OKBtn);
         WaitWhile([dlg] { return dlg->running(); });
         Click(Find<TMCRoulettePlot2>(m)->DataBtn);
         auto* data = Find<TMCRouletteData2>(m);
         Lines lines;
         for (std::size_t s = 0; s < kSystems; ++s)
             lines.push_back(Line(SystemName(static_cast<int>(s)), Text(data->Estimate[s])));
         for (std::size_t s = 0; s < kSystems; ++s) {
             lines.push_back(SystemName(static_cast<int>(s)));
             lines.push_back(Line("Total number of staked chips", Text(data->Staked[s])));
             lines.push_back(Line("Total number of lost chips", Text(data->Lost[s])));
             lines.push_back(Line("Fraction lost chips", Text(data->Fraction[s])));
         }
         for (std::size_t s = 0; s < kSystems; ++s)
             lines.push_back(Line(SystemName(static_cast<int>(s)), Text(data->Bets[s])));
         return lines;
     }},
    {"benford",
     MCChoice::Benford,
     {"benford", "--bounds", "500,70000", "--draws", "3000"},
     [](TMC* m) -> Lines {
         auto* dlg = Find<TMCBenfordDialoog>(m);
         auto* plot = Find<TMCBenfordPlot>(m);
         dlg->IntervalsEdit->setValue(2);
         dlg->DrawsEdit->setValue(3000);
         dlg->IntervalEdit[0]->setText("500");
         dlg->IntervalEdit[1]->setText("70000");
         Click(dlg->OKBtn);
         WaitWhile([plot] { return plot->running(); });
         // The bars' counts.
         Lines lines;
         for (int d = 1; d <= 9; ++d)
             lines.push_back(std::to_string(d) + "  " +
                             std::to_string(plot->lastResult().counts[static_cast<std::size_t>(d)]) + "  " +
                             tarvik::FormatFixed(plot->lastResult().share(d), 4) + "  " +
                             tarvik::FormatFixed(BenfordProbability(d), 4));
         return lines;
     }},
    {"newsboy",
     MCChoice::Newsboy,
     {"newsboy", "--q1", "150", "--q2", "260", "--runs", "1000"},
     [](TMC* m) -> Lines {
         auto* dlg = Find<TMCNewsboyDialoog>(m);
         auto* plot = Find<TMCNewsboyPlot>(m);
         dlg->Q1Edit->setText("150");
         dlg->Q2Edit->setText("260");
         dlg->RunsEdit->setText("1000");
         Click(dlg->OKBtn);
         ProcessEvents();
         Click(plot->DataBtn);
         return ReportLines(Find<TMCNewsBoyData>(m)->Report);
     }},
    {"legio",
     MCChoice::LegioRisk,
     {"legio", "--runs", "1500"},
     [](TMC* m) -> Lines {
         auto* dlg = Find<TMCLegioRiskDialoog>(m);
         auto* plot = Find<TMCLegioRiskPlot>(m);
         dlg->RunsEdit->setText("1500");
         Click(dlg->OKBtn);
         WaitWhile([plot] { return plot->running(); });
         if (!plot->lastResult()) return {"no result"};
         return plot->lastResult()->pictureTexts();
     }},
    {"scratch",
     MCChoice::Scratch,
     {"scratch", "--tickets", "2000", "--weeks", "150"},
     [](TMC* m) -> Lines {
         auto* dlg = Find<TMCKrasOpties>(m);
         auto* plot = Find<TMCKrasPlot>(m);
         dlg->TicketsEdit->setValue(2000);
         dlg->WeeksEdit->setValue(150);
         Click(dlg->OKBtn);
         WaitWhile([plot] { return plot->running(); });
         const ScratchResult& r = plot->lastResult();
         Lines lines;
         for (int k = 0; k < kScratchClasses; ++k) {
             // The counts under the bars, and the table's row.
             EXPECT_EQ(plot->CountLabel[static_cast<std::size_t>(k)]->text(), QString::number(r.counts[k]));
             lines.push_back(r.classText(k) + " | " + r.simulatedText(k) + " | " + r.intervalText(k) + " | " +
                             r.exactText(k));
         }
         return lines;
     }},
    {"lotto",
     MCChoice::Lotto,
     {"lotto", "--balls", "42", "--drawn", "5", "--draws", "60"},
     [](TMC* m) -> Lines {
         auto* dlg = Find<TMCLottoDialoog>(m);
         auto* plot = Find<TMCLottoPlot>(m);
         dlg->BallsEdit->setValue(42);
         dlg->DrawnEdit->setValue(5);
         dlg->DrawsEdit->setValue(60);
         Click(dlg->OKBtn);
         WaitWhile([plot] { return plot->running(); });
         Click(plot->DataBtn);
         Lines lines = ReportLines(Find<TMCLottoData>(m)->Report);
         for (int k = 1; k <= 42; ++k)
             lines.push_back(std::to_string(k) + ": " + std::to_string(plot->state().age(k)));
         return lines;
     }},
};

// Whether `wanted` appears in `lines` in its order (other lines may come between).
::testing::AssertionResult InOrder(const Lines& wanted, const Lines& lines) {
    std::size_t at = 0;
    for (const std::string& w : wanted) {
        while (at < lines.size() && lines[at] != w) ++at;
        if (at == lines.size())
            return ::testing::AssertionFailure() << "missing or out of order: \"" << w << "\"";
        ++at;
    }
    return ::testing::AssertionSuccess();
}

TEST(MCSeedCli, EveryExperimentRepeatsTheCommandLineRunOfItsSeed) {
    std::uint32_t seed = 90210;
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        seed += 7;
        tarvik::test::ScriptedDialogs dialogs;
        QPointer<TMC> module = new TMC;
        module->show();
        dialogs.textAnswers = {QString::number(seed)};
        module->findChild<QAction*>("SeedCommand")->trigger();
        Choose(module, row.choice);
        tarvik::RandomInt(1000); // draws before the run change nothing
        const Lines shown = row.window(module);
        EXPECT_EQ(tarvik::ui::LastRunSeed("montecarlo"), seed);
        EXPECT_TRUE(dialogs.messageTexts().empty()) << dialogs.messageTexts()[0].toStdString();

        std::vector<std::string> args = {"--montecarlo"};
        args.insert(args.end(), row.cli.begin(), row.cli.end());
        args.insert(args.end(), {"--seed", std::to_string(seed)});
        std::ostringstream out, err;
        ASSERT_EQ(RunCli(args, out, err), 0) << err.str();
        Lines printed;
        std::istringstream in(out.str());
        for (std::string l; std::getline(in, l);) printed.push_back(l);
        ASSERT_FALSE(shown.empty());
        EXPECT_TRUE(InOrder(shown, printed)) << out.str();
        tarvik::ui::SetFixedSeed("montecarlo", std::nullopt);
        delete module;
    }
}

} // namespace
