// The six two-system experiments in the module window: their settings
// dialogs, graph windows and results windows.
#include "common/random.h"
#include "modules/simulation/simulationcli.h"
#include "modules/simulation/ui/simfields.h"
#include "modules/simulation/ui/simmodule.h"
#include "modules/simulation/ui/simstate.h"
#include "modules/simulation/ui/simunit.h"
#include "simuitesting.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace tarvik::simulation::ui {
namespace {

using tarvik::test::ProcessEvents;
using test::DuringRun;

class SimExperiments : public test::SimWindowTest {
protected:
    void Choose(Experiment e) {
        module->options()->Keuze[static_cast<int>(e)]->setChecked(true);
        QTest::mouseClick(module->options()->OKBtn, Qt::LeftButton);
        ProcessEvents();
    }
    void Click(QPushButton* b) {
        QTest::mouseClick(b, Qt::LeftButton);
        WaitForRun();
    }
    // The results window's texts in the command line's form.
    static QString AsText(TSimResults* r) {
        QString t = r->KopTekst->text() + "\n";
        for (std::size_t i = 0; i < r->ParamCaptions.size(); ++i)
            t += r->ParamCaptions[i]->text() + " " + r->ParamValues[i]->text() + "\n";
        for (QLabel* c : r->ColumnTitles) t += "\t" + c->text();
        t += "\n";
        for (std::size_t i = 0; i < r->RowCaptions.size(); ++i) {
            t += r->RowCaptions[i]->text();
            for (QLabel* v : r->ValueLabels[i]) t += "\t" + v->text();
            t += "\n";
        }
        // Then the theory and interval columns as the command line lists them.
        QString block;
        for (std::size_t i = 0; i < r->RowCaptions.size(); ++i)
            for (std::size_t c = 0; c < r->TheoryLabels[i].size(); ++c) {
                const QString theory = r->TheoryLabels[i][c]->text();
                const QString iv = r->IntervalLabels[i][c]->text();
                if (theory == "-") continue;
                const QStringList ends =
                    iv == "-" ? QStringList{"-", "-"} : iv.mid(1, iv.size() - 2).split(", ");
                block += QStringList{r->RowCaptions[i]->text(),
                                     QString::number(c + 1),
                                     r->ValueLabels[i][c]->text(),
                                     theory,
                                     ends.value(0),
                                     ends.value(1)}
                             .join('\t') +
                         "\n";
            }
        return t + "\nTheory and 95% intervals\n" + block;
    }
    static QString Cli(std::vector<std::string> args) {
        std::ostringstream out, err;
        EXPECT_EQ(RunCli(args, out, err), 0) << err.str();
        return QString::fromStdString(out.str());
    }
};

TEST_F(SimExperiments, EachChoiceOpensItsDialogWithItsStartValues) {
    Choose(Experiment::CompareDM1);
    TSimDialoog2* d2 = module->dialoog2();
    ASSERT_TRUE(d2->isVisible());
    EXPECT_EQ(d2->KopLabel->text(), "D/M/1 and  M/M/1 queues");
    EXPECT_EQ(d2->findChild<QLabel*>("NoteLabel")->text(), "Parameters below apply to both queues");
    EXPECT_EQ(d2->LambdaEdit->text(), "1");
    EXPECT_EQ(d2->MuEdit->text(), "1.25");
    EXPECT_EQ(d2->StopTimeEdit->text(), "10000");
    Click(d2->TerugBtn);
    EXPECT_TRUE(module->options()->isVisible());
    Choose(Experiment::CompareMD1);
    EXPECT_EQ(d2->KopLabel->text(), "M/D/1 and  M/M/1 queues");
    Click(d2->TerugBtn);

    Choose(Experiment::VaryingLoad);
    TSimDialoog3* d3 = module->dialoog3();
    EXPECT_EQ(d3->KopLabel->text(), "Varying load in M/M/1 queue");
    EXPECT_EQ(d3->Rho1Edit->text(), "0.9");
    EXPECT_EQ(d3->Rho2Edit->text(), "0.8");
    Click(d3->TerugBtn);

    Choose(Experiment::Pooling);
    TSimDialoog4* d4 = module->dialoog4();
    EXPECT_EQ(d4->KopLabel->text(), "Separate queues versus pooling");
    EXPECT_EQ(d4->OKBtn->text(), "Run");
    EXPECT_EQ(d4->Bediening.first->text(), "Poisson");
    EXPECT_TRUE(d4->Bediening.first->isChecked());
    EXPECT_NE(d4->findChild<QLabel*>(), nullptr);
    QStringList captions;
    for (QLabel* l : d4->findChildren<QLabel*>()) captions << l->text();
    EXPECT_TRUE(captions.contains("Average arrival rate (queue 2)"));
    EXPECT_TRUE(captions.contains("Average service rate (type 1)"));
    Click(d4->TerugBtn);

    Choose(Experiment::Tandem);
    TSimDialoogTandem* dt = module->dialoogTandem();
    EXPECT_EQ(dt->KopLabel->text(), "Tandem queue");
    EXPECT_EQ(dt->Mu2Edit->text(), "1.25");
    EXPECT_TRUE(dt->Aankomst.first->isChecked() && dt->Bediening1.first->isChecked());
    EXPECT_EQ(dt->Bediening2.first->text(), "Exponential");
    Click(dt->TerugBtn);

    Choose(Experiment::Priority);
    TSimDialoogPriority* dp = module->dialoogPriority();
    EXPECT_EQ(dp->KopLabel->text(), "Priority Queue");
    EXPECT_EQ(dp->findChild<QLabel*>("NoteLabel")->text(), "Type 1 customers have priority");
    EXPECT_EQ(dp->Mu1Edit->text(), "3");
}

TEST_F(SimExperiments, RunDialogsShowEveryFailingCheckInOrderAndStoreNothing) {
    Choose(Experiment::Tandem);
    TSimDialoogTandem* dt = module->dialoogTandem();
    Type(dt->Lambda1Edit, "-1");
    Type(dt->Mu1Edit, "-2");
    Type(dt->Mu2Edit, "-2");
    Click(dt->OKBtn);
    EXPECT_EQ(dialogs.messageTexts(),
              (std::vector<QString>{"Invalid arrive intensity", "Invalid service speed"}));
    EXPECT_EQ(State().tandem.lambda, 1.0);
    EXPECT_FALSE(module->lastOutcome().has_value());
    // F10 runs the stored (start) settings, never the refused ones.
    dialogs.clear();
    module->Run();
    WaitForRun();
    ASSERT_TRUE(module->lastOutcome().has_value());
    EXPECT_TRUE(module->lastOutcome()->finished);

    dialogs.clear();
    Type(dt->Lambda1Edit, "1");
    Type(dt->Mu1Edit, "1.25");
    Type(dt->Mu2Edit, "1.25");
    dt->Aankomst.second->setChecked(true);
    dt->Bediening1.second->setChecked(true);
    dt->Bediening2.second->setChecked(true);
    Click(dt->OKBtn);
    EXPECT_EQ(dialogs.messageTexts(), std::vector<QString>{"One of both processes must be stochastic"});
    EXPECT_FALSE(State().tandem.detArrivals);

    module->dialoogTandem()->hide();
    Choose(Experiment::Pooling);
    TSimDialoog4* d4 = module->dialoog4();
    dialogs.clear();
    Type(d4->Lambda1Edit, "0.5");
    Type(d4->Lambda2Edit, "1.3");
    Click(d4->OKBtn);
    EXPECT_EQ(dialogs.messageTexts(),
              std::vector<QString>{"Choose: 0.1 <= Rho <= 0.98 with Rho = Arrival intensity/Serve speed"});
    EXPECT_EQ(State().pooling.lambda1, 1.0);
    dialogs.clear();
    Type(d4->Lambda1Edit, "nan");
    Type(d4->Mu2Edit, "1e400");
    Click(d4->OKBtn);
    EXPECT_EQ(dialogs.messageTexts(),
              (std::vector<QString>{"Invalid arrive intensity", "Invalid service speed"}));
}

TEST_F(SimExperiments, ComparisonDialogStopsAtTheFirstFailureAndStoresNothing) {
    Choose(Experiment::CompareMD1);
    TSimDialoog2* d2 = module->dialoog2();
    Type(d2->LambdaEdit, "1,5");
    Type(d2->MuEdit, "abc");
    Type(d2->StopTimeEdit, "300");
    Click(d2->OKBtn);
    EXPECT_EQ(dialogs.messageTexts(), std::vector<QString>{"Invalid arrive intensity"});
    dialogs.clear();
    Type(d2->LambdaEdit, "0.99");
    Type(d2->MuEdit, "1");
    Click(d2->OKBtn);
    EXPECT_EQ(dialogs.messageTexts(),
              std::vector<QString>{"Choose: 0.1 <= Rho <= 0.98 with Rho = Arrival intensity/Serve speed"});
    EXPECT_EQ(State().single.lambda, 1.0);
    EXPECT_EQ(State().single.length, 10000.0);
    EXPECT_FALSE(State().single.detService);
    EXPECT_FALSE(module->lastOutcome().has_value());
    EXPECT_TRUE(d2->isVisible());
}

TEST_F(SimExperiments, VaryingLoadReadsLoadsTolerantlyAndNamesTheFailingOne) {
    Choose(Experiment::VaryingLoad);
    TSimDialoog3* d3 = module->dialoog3();
    Type(d3->Rho1Edit, "0,7");
    Type(d3->Rho2Edit, "0.99");
    Click(d3->OKBtn);
    EXPECT_EQ(dialogs.messageTexts(), std::vector<QString>{"Choose: 0.1 <= Rho 2 <= 0.98"});
    EXPECT_EQ(State().varying.rho1, 0.9);
    dialogs.clear();
    Type(d3->Rho1Edit, "");
    Click(d3->OKBtn);
    EXPECT_EQ(dialogs.messageTexts(), std::vector<QString>{"Choose: 0.1 <= Rho 1 <= 0.98"});
    dialogs.clear();
    Type(d3->Rho1Edit, "0,7");
    Type(d3->Rho2Edit, "0.7");
    Type(d3->StopTimeEdit, "50");
    RandSeed = 77;
    Click(d3->OKBtn);
    EXPECT_TRUE(dialogs.messages.empty());
    // Loads set the shared rates; the length went to its lower bound.
    EXPECT_EQ(State().single.lambda, 0.7);
    EXPECT_EQ(State().single.mu, 1.0);
    EXPECT_EQ(State().single.length, 225.0);
    TSimResults* r = module->results(Experiment::VaryingLoad);
    EXPECT_EQ(r->ParaBox->objectName(), "RhoBox");
    EXPECT_EQ(r->ParamValues[0]->text(), "0,7");
    EXPECT_EQ(r->ColumnTitles[0]->text(), "M/M/1 ; 1");
    // Equal loads: identical columns.
    for (const auto& row : r->values()) EXPECT_EQ(row[0], row[1]);
}

TEST_F(SimExperiments, DialogsRefreshFromTheStoredSettingsButTheTandemKeepsItsText) {
    Choose(Experiment::Priority);
    TSimDialoogPriority* dp = module->dialoogPriority();
    Type(dp->Lambda1Edit, "0.5");
    Type(dp->StopTimeEdit, "9");
    dp->Lambda2Edit->setFocus();
    EXPECT_EQ(dp->StopTimeEdit->text(), "225");
    Click(dp->TerugBtn);
    Choose(Experiment::Priority);
    EXPECT_EQ(dp->Lambda1Edit->text(), "1");
    EXPECT_EQ(dp->StopTimeEdit->text(), "10000");
    Click(dp->TerugBtn);

    Choose(Experiment::Tandem);
    Type(module->dialoogTandem()->Lambda1Edit, "0.5");
    Click(module->dialoogTandem()->TerugBtn);
    Choose(Experiment::Tandem);
    EXPECT_EQ(module->dialoogTandem()->Lambda1Edit->text(), "0.5");
}

TEST_F(SimExperiments, ResultsEqualTheCommandLineForTheSameSeed) {
    struct Case {
        Experiment e;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {Experiment::CompareMD1, {"--simulate", "compare-md1", "--length", "2000", "--initial", "3"}},
        {Experiment::CompareDM1, {"--simulate", "compare-dm1", "--length", "2000", "--initial", "3"}},
        {Experiment::VaryingLoad, {"--simulate", "varying-load", "--length", "2000", "--initial", "3"}},
        {Experiment::Pooling, {"--simulate", "pooling", "--length", "2000"}},
        {Experiment::Tandem, {"--simulate", "tandem", "--length", "2000"}},
        {Experiment::Priority, {"--simulate", "priority", "--length", "2000"}},
    };
    for (const Case& c : cases) {
        Choose(c.e);
        TSimSettingsDialog* d = module->settingsDialog(c.e);
        auto* length = d->findChild<TWholeEdit*>("StopTimeEdit");
        Type(length, "2000");
        if (auto* initial = d->findChild<TWholeEdit*>("AantalEdit")) Type(initial, "3");
        RandSeed = 2026;
        Click(d->OKBtn);
        ASSERT_TRUE(module->lastOutcome() && module->lastOutcome()->finished);
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--seed", "2026"});
        EXPECT_EQ(AsText(module->results(c.e)), Cli(args)) << int(c.e);
        Click(module->panelGraph(c.e)->SluitBtn); // back to the settings
        module->settingsDialog(c.e)->hide();
        module->ShowOptions();
    }
}

TEST_F(SimExperiments, GraphScalesAndTitlesFollowTheExperiment) {
    Choose(Experiment::CompareMD1);
    TSimResults* r2 = module->results(Experiment::CompareMD1);
    EXPECT_EQ(r2->ColumnTitles[0]->text(), "Strategy 1");
    EXPECT_EQ(r2->ColumnTitles[1]->text(), "Strategy 2");
    EXPECT_EQ(r2->SluitenBtn->text(), "&Previous");
    Type(module->dialoog2()->StopTimeEdit, "500");
    Click(module->dialoog2()->OKBtn);
    TSimPanelGraph* g2 = module->panelGraph(Experiment::CompareMD1);
    EXPECT_EQ(g2->scale(), 10);
    EXPECT_EQ(g2->picture().size(), QSize(593, 321));
    EXPECT_EQ(g2->SpeedButton2->toolTip(), "Save graph to file");
    EXPECT_EQ(r2->ColumnTitles[0]->text(), "M/D/1");
    EXPECT_EQ(r2->KopTekst->text(), "Two queues");
    // Grid: labels 1, 3, ..., 21 with lines at y + 2 = 242 .. 42 in both panels.
    EXPECT_EQ(g2->picture().pixelColor(279, 242), QColor(Qt::black));
    EXPECT_EQ(g2->picture().pixelColor(577, 42), QColor(Qt::black));
    EXPECT_NE(g2->picture().pixelColor(577, 22), QColor(Qt::black));
    // Both processes of the settings became the comparison's.
    EXPECT_TRUE(State().single.detService);
    EXPECT_FALSE(State().single.detArrivals);

    Click(g2->SluitBtn);
    module->dialoog2()->hide();
    module->ShowOptions();
    Choose(Experiment::Priority);
    TSimDialoogPriority* dp = module->dialoogPriority();
    Type(dp->Lambda1Edit, "0.978");
    Type(dp->Mu1Edit, "1");
    Type(dp->Lambda2Edit, "0.011");
    Type(dp->Mu2Edit, "99");
    Type(dp->StopTimeEdit, "300");
    Click(dp->OKBtn);
    TSimPanelGraph* gp = module->panelGraph(Experiment::Priority);
    EXPECT_EQ(gp->scale(), 1); // round(50 x log10(1/0.978)) would be 0
    EXPECT_TRUE(gp->gridDrawn());
    EXPECT_EQ(gp->picture().size(), QSize(593, 329));
    EXPECT_EQ(gp->SpeedButton2->toolTip(), "Grafiek opslaan naar bestand");
    EXPECT_EQ(module->results(Experiment::Priority)->SluitenBtn->text(), "Close");
    EXPECT_EQ(module->results(Experiment::Tandem)->SluitenBtn->text(), "&Sluiten");
}

TEST_F(SimExperiments, StopLeavesEmptyFiguresAndAgainRunsFromTheStart) {
    Choose(Experiment::Pooling);
    TSimDialoog4* d4 = module->dialoog4();
    Type(d4->StopTimeEdit, "1000000");
    TSimPanelGraph* g = module->panelGraph(Experiment::Pooling);
    DuringRun stopper(module, g, [&] {
        QTest::mouseClick(g->SluitBtn, Qt::LeftButton);
        EXPECT_EQ(g->SluitBtn->text(), "Previous");
    });
    Click(d4->OKBtn);
    ASSERT_TRUE(stopper.done);
    EXPECT_FALSE(module->lastOutcome()->finished);
    QTest::mouseClick(g->ToonDataBtn, Qt::LeftButton);
    TSimResults* r = module->results(Experiment::Pooling);
    EXPECT_TRUE(r->isVisible());
    for (const auto& row : r->values()) EXPECT_TRUE(row[0].isEmpty() && row[1].isEmpty());
    EXPECT_EQ(r->KopTekst->text(), "Two separate queues versus Pooling");

    State().pooling.length = 1000;
    Click(g->BitBtn1);
    EXPECT_TRUE(module->lastOutcome()->finished);
    EXPECT_FALSE(r->values()[0][0].isEmpty());
}

TEST_F(SimExperiments, ClosingTheGraphByItsTitleBarStopsTheRun) {
    Choose(Experiment::Tandem);
    TSimDialoogTandem* dt = module->dialoogTandem();
    Type(dt->StopTimeEdit, "1000000");
    TSimPanelGraph* g = module->panelGraph(Experiment::Tandem);
    DuringRun closer(module, g, [&] { g->close(); });
    Click(dt->OKBtn);
    ASSERT_TRUE(closer.done);
    EXPECT_FALSE(g->isVisible());
    EXPECT_FALSE(module->lastOutcome()->finished);
    EXPECT_EQ(module->lastOutcome()->station[0].customers, module->lastOutcome()->station[1].customers);
}

} // namespace
} // namespace tarvik::simulation::ui
