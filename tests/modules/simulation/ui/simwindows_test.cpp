#include "common/random.h"
#include "common/ui/accessibility.h"
#include "common/ui/seed.h"
#include "modules/simulation/simulationcli.h"
#include "modules/simulation/ui/simfields.h"
#include "modules/simulation/ui/simmodule.h"
#include "modules/simulation/ui/simpictures.h"
#include "modules/simulation/ui/simstate.h"
#include "modules/simulation/ui/simunit.h"
#include "simuitesting.h"
#include "support/apptesting.h"
#include "support/picturecheck.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace tarvik::simulation::ui {
namespace {

using tarvik::test::ProcessEvents;
using tarvik::ui::MsgKind;
using test::DuringRun;

class SimWindows : public test::SimWindowTest {
protected:
    TSimDialoog1* dlg() { return module->dialoog1(); }
    void ToSettings() {
        QTest::mouseClick(module->options()->OKBtn, Qt::LeftButton);
        ProcessEvents();
    }
    void ClickOK() {
        QTest::mouseClick(dlg()->OKBtn, Qt::LeftButton);
        WaitForRun();
    }
    QString Value(const char* name) { return module->simRun()->findChild<QLabel*>(name)->text(); }
};

TEST_F(SimWindows, OpensWithTheOptionsDialogAndItsMenus) {
    EXPECT_EQ(module->windowTitle(), "Queue simulation");
    ASSERT_EQ(module->moduleMenus().size(), 3);
    EXPECT_EQ(module->moduleMenus()[0]->title(), "File");
    EXPECT_EQ(module->moduleMenus()[0]->actions()[0]->text(), "Close queue");
    EXPECT_EQ(module->moduleMenus()[1]->title(), "Options");
    EXPECT_FALSE(module->moduleMenus()[1]->menuAction()->isVisible());
    EXPECT_EQ(module->moduleMenus()[1]->actions()[0]->text(), "Settings");
    EXPECT_EQ(module->moduleMenus()[1]->actions()[1]->text(), "Run");
    EXPECT_EQ(module->runAction()->shortcut(), QKeySequence(Qt::Key_F10));
    EXPECT_EQ(module->moduleMenus()[2]->title(), "Help");
    EXPECT_EQ(module->moduleMenus()[2]->actions()[0]->text(), "Explanation");

    TSimOpties* o = module->options();
    EXPECT_TRUE(o->isVisible());
    EXPECT_EQ(o->windowTitle(), "Options");
    const QStringList texts = {"Single-server queues",
                               "Compare M/D/1 and M/M/1 queues",
                               "Compare D/M/1 and M/M/1 queues",
                               "Varying load in M/M/1 queue",
                               "Pooling of two queues",
                               "Tandem queue",
                               "Priority queue"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(o->Keuze[i]->text(), texts[i]);
        EXPECT_TRUE(o->Keuze[i]->isEnabled()) << i;
    }
    EXPECT_TRUE(o->Keuze[0]->isChecked());
    EXPECT_FALSE(module->grafiek()->isVisible());
    EXPECT_EQ(module->grafiek()->windowTitle(), "Graph");
    EXPECT_EQ(module->grafiek()->picture().size(), QSize(497, 353));
    EXPECT_EQ(module->simRun()->windowTitle(), "Results");
}

TEST_F(SimWindows, SettingsDialogShowsTheStoredStateAndGoesBack) {
    ToSettings();
    EXPECT_FALSE(module->options()->isVisible());
    ASSERT_TRUE(dlg()->isVisible());
    EXPECT_EQ(dlg()->windowTitle(), "Settings");
    EXPECT_EQ(dlg()->LambdaEdit->text(), "1");
    EXPECT_EQ(dlg()->MuEdit->text(), "1.25");
    EXPECT_EQ(dlg()->AantalEdit->text(), "0");
    EXPECT_EQ(dlg()->StopTimeEdit->text(), "10000");
    EXPECT_TRUE(dlg()->AankomstPoisson->isChecked());
    EXPECT_TRUE(dlg()->BedieningExp->isChecked());
    Type(dlg()->LambdaEdit, "0.5");
    QTest::mouseClick(dlg()->TerugBtn, Qt::LeftButton);
    EXPECT_FALSE(dlg()->isVisible());
    EXPECT_TRUE(module->options()->isVisible());
    ToSettings();
    EXPECT_EQ(dlg()->LambdaEdit->text(), "1"); // nothing was stored
}

TEST_F(SimWindows, FieldsTurnYellowAndWholeNumbersClampOnLeavingTheField) {
    ToSettings();
    Type(dlg()->StopTimeEdit, "12");
    EXPECT_EQ(dlg()->StopTimeEdit->palette().color(QPalette::Base), QColor(Qt::yellow));
    dlg()->LambdaEdit->setFocus();
    EXPECT_EQ(dlg()->StopTimeEdit->text(), "400");
    EXPECT_NE(dlg()->StopTimeEdit->palette().color(QPalette::Base), QColor(Qt::yellow));
    EXPECT_EQ(dlg()->LambdaEdit->palette().color(QPalette::Base), QColor(Qt::yellow));
    for (auto [typed, expected] : {std::pair{"abc", "400"}, std::pair{"5000000", "1000000"},
                                   std::pair{"-7", "400"}, std::pair{"1e400", "400"}}) {
        Type(dlg()->StopTimeEdit, typed);
        dlg()->MuEdit->setFocus();
        EXPECT_EQ(dlg()->StopTimeEdit->text(), expected) << typed;
    }
    Type(dlg()->AantalEdit, "2000");
    dlg()->MuEdit->setFocus();
    EXPECT_EQ(dlg()->AantalEdit->text(), "1000");
    Type(dlg()->AantalEdit, "");
    dlg()->MuEdit->setFocus();
    EXPECT_EQ(dlg()->AantalEdit->text(), "0");
}

TEST_F(SimWindows, RefusedSettingsShowOneWarningAndStoreNothing) {
    ToSettings();
    struct Case {
        const char *lambda, *mu, *message;
    };
    for (const Case& c :
         {Case{"0.01", "1", "Invalid arrive intensity"}, Case{"nan", "1", "Invalid arrive intensity"},
          Case{"1e400", "1", "Invalid arrive intensity"}, Case{"1,5", "2", "Invalid arrive intensity"},
          Case{"", "1", "Invalid arrive intensity"}, Case{"1", "100", "Invalid service speed"},
          Case{"1", "-2", "Invalid service speed"},
          Case{"0.99", "1", "Choose: 0.1 <= Rho <= 0.98 with Rho = Arrival intensity/Serve speed"}}) {
        dialogs.clear();
        Type(dlg()->LambdaEdit, c.lambda);
        Type(dlg()->MuEdit, c.mu);
        ClickOK();
        ASSERT_EQ(dialogs.messages.size(), 1u) << c.lambda << " " << c.mu;
        EXPECT_EQ(dialogs.messages[0].text, c.message);
        EXPECT_EQ(dialogs.messages[0].kind, MsgKind::Warning);
        EXPECT_EQ(dialogs.messages[0].buttons, tarvik::ui::mbOK);
        EXPECT_TRUE(dlg()->isVisible());
        EXPECT_FALSE(module->grafiek()->isVisible());
        EXPECT_EQ(State().single.lambda, 1.0);
        EXPECT_EQ(State().single.mu, 1.25);
    }
}

TEST_F(SimWindows, BothProcessesDeterministicIsStoredButNotRun) {
    ToSettings();
    dlg()->AankomstDet->setChecked(true);
    dlg()->BedieningDet->setChecked(true);
    ClickOK();
    ASSERT_EQ(dialogs.messageTexts(), std::vector<QString>{"One of both processes must be stochastic"});
    EXPECT_TRUE(State().single.detArrivals && State().single.detService);
    EXPECT_FALSE(module->grafiek()->isVisible());
    // F10 does not run it either.
    dialogs.clear();
    module->Run();
    WaitForRun();
    EXPECT_EQ(dialogs.messageTexts(), std::vector<QString>{"One of both processes must be stochastic"});
    EXPECT_FALSE(module->lastOutcome().has_value());
}

TEST_F(SimWindows, ResultsSavedAsTextAreWhatTheCommandLinePrintsAndAsPdfAreADocument) {
    ToSettings();
    Type(dlg()->StopTimeEdit, "2000");
    Type(dlg()->AantalEdit, "3");
    RandSeed = 31337;
    ClickOK();
    std::ostringstream out, err;
    ASSERT_EQ(
        RunCli({"--simulate", "single", "--seed", "31337", "--length", "2000", "--initial", "3"}, out, err),
        0);
    TSimResults* results = module->simRun();
    ASSERT_NE(results->findChild<QPushButton*>(QStringLiteral("SaveReportBtn")), nullptr);
    QTemporaryDir dir;
    const QString textFile = dir.filePath(QStringLiteral("results.txt"));
    const QString pdfFile = dir.filePath(QStringLiteral("results.pdf"));
    dialogs.fileAnswers = {textFile, pdfFile};
    results->findChild<QAction*>(QStringLiteral("SaveReportText"))->trigger();
    results->findChild<QAction*>(QStringLiteral("SaveReportPdf"))->trigger();
    QFile text(textFile);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(text.readAll().toStdString(), out.str());
    QFile pdf(pdfFile);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SimWindows, EveryRunShowsItsSeedAndAFixedSeedRepeatsTheCommandLineRun) {
    // The six result values of the window, against the command line's for a seed.
    auto matchesCommandLine = [this](std::uint32_t seed) {
        std::ostringstream out, err;
        EXPECT_EQ(RunCli({"--simulate", "single", "--seed", std::to_string(seed), "--length", "3000",
                          "--initial", "5"},
                         out, err),
                  0);
        const QStringList lines = QString::fromStdString(out.str()).split('\n', Qt::SkipEmptyParts);
        const char* names[] = {"FTBBLabel", "FKWLabel", "GAKSLabel", "GAKWLabel", "GVKLabel", "GWKLabel"};
        for (int i = 0; i < 6; ++i)
            if (lines.value(4 + i) != module->simRun()->RowCaptions[i]->text() + "\t" + Value(names[i]))
                return false;
        return true;
    };
    ToSettings();
    Type(dlg()->StopTimeEdit, "3000");
    Type(dlg()->AantalEdit, "5");
    // Nothing fixed: the run goes on from the generator as it stands and says where it started.
    RandSeed = 2024;
    ClickOK();
    EXPECT_EQ(tarvik::ui::LastRunSeed("simulation"), 2024u);
    EXPECT_TRUE(matchesCommandLine(2024));

    // "Seed..." fixes a seed for the following runs; "Again" starts from it.
    auto* seedCommand = module->findChild<QAction*>("SeedCommand");
    ASSERT_NE(seedCommand, nullptr);
    EXPECT_EQ(seedCommand->text(), QString::fromUtf16(u"Seed\u2026"));
    dialogs.textAnswers = {QStringLiteral("x7"), QStringLiteral("4711")};
    seedCommand->trigger(); // the question stays after a refusal and takes the next entry
    ASSERT_EQ(dialogs.messages.size(), 1u) << "a text that is no seed is refused";
    EXPECT_EQ(tarvik::ui::FixedSeed("simulation"), 4711u);
    for (int run = 0; run < 2; ++run) {
        RandSeed = 99 + run;
        QTest::mouseClick(module->grafiek()->BitBtn1, Qt::LeftButton);
        ProcessEvents();
        WaitForRun();
        EXPECT_EQ(tarvik::ui::LastRunSeed("simulation"), 4711u);
        EXPECT_TRUE(matchesCommandLine(4711)) << "run " << run;
    }
    // Emptied, the field gives the runs back to the clock.
    dialogs.textAnswers = {QString()};
    seedCommand->trigger();
    EXPECT_EQ(dialogs.textRequests.back().text, QStringLiteral("4711"));
    EXPECT_FALSE(tarvik::ui::FixedSeed("simulation").has_value());
}

TEST_F(SimWindows, ARunFillsTheResultsAsTheCommandLinePrintsThem) {
    ToSettings();
    Type(dlg()->StopTimeEdit, "3000");
    Type(dlg()->AantalEdit, "5");
    RandSeed = 4711;
    ClickOK();
    ASSERT_TRUE(module->lastOutcome().has_value());
    EXPECT_TRUE(module->lastOutcome()->finished);
    TSimGrafiek* g = module->grafiek();
    EXPECT_TRUE(g->isVisible());
    EXPECT_FALSE(dlg()->isVisible());
    EXPECT_EQ(g->SluitBtn->text(), "Previous");
    EXPECT_TRUE(g->BitBtn1->isEnabled());
    EXPECT_TRUE(g->ToonDataBtn->isEnabled());
    EXPECT_EQ(g->scale(), 10);

    std::ostringstream out, err;
    ASSERT_EQ(
        RunCli({"--simulate", "single", "--seed", "4711", "--length", "3000", "--initial", "5"}, out, err),
        0);
    QStringList lines = QString::fromStdString(out.str()).split('\n', Qt::SkipEmptyParts);
    TSimRun* r = module->simRun();
    EXPECT_EQ(lines[0], r->KopTekst->text());
    EXPECT_EQ(lines[0], "M/M/1 model");
    EXPECT_EQ(lines[3], r->ParamCaptions[2]->text() + " " + r->ParamValues[2]->text());
    const char* names[] = {"FTBBLabel", "FKWLabel", "GAKSLabel", "GAKWLabel", "GVKLabel", "GWKLabel"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(lines[4 + i], r->RowCaptions[i]->text() + "\t" + Value(names[i]));
        EXPECT_FALSE(Value(names[i]).isEmpty());
    }
    EXPECT_EQ(r->RowCaptions[0]->text(), "Fraction of time the server is busy");

    // "Data" shows the results; "Close" hides them; "Previous" goes back to the settings.
    EXPECT_FALSE(r->isVisible());
    QTest::mouseClick(g->ToonDataBtn, Qt::LeftButton);
    EXPECT_TRUE(r->isVisible());
    QTest::mouseClick(r->SluitenBtn, Qt::LeftButton);
    EXPECT_FALSE(r->isVisible());
    EXPECT_FALSE(dlg()->isVisible()); // the graph is still visible
    QTest::mouseClick(g->SluitBtn, Qt::LeftButton);
    EXPECT_FALSE(g->isVisible());
    EXPECT_TRUE(dlg()->isVisible());
    EXPECT_EQ(dlg()->StopTimeEdit->text(), "3000");
    EXPECT_EQ(dlg()->AantalEdit->text(), "5");
}

TEST_F(SimWindows, TheGraphShowsTheCurvesOfTheRun) {
    ToSettings();
    RandSeed = 5;
    ClickOK();
    const QImage& img = module->grafiek()->picture();
    int green = 0, blue = 0;
    for (int x = 53; x < 452; ++x)
        for (int y = 40; y < 311; ++y) {
            green += img.pixelColor(x, y) == QColor(0x00, 0x80, 0x00);
            blue += img.pixelColor(x, y) == QColor(Qt::blue);
        }
    EXPECT_GT(green, 300);
    EXPECT_GT(blue, 300);
    // Grid lines beyond the end of the curves: label 1 at y = 300 (line at 302), label 3 at 280.
    EXPECT_EQ(img.pixelColor(460, 302), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(460, 282), QColor(Qt::black));
    EXPECT_NE(img.pixelColor(460, 292), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(50, 100), QColor(Qt::black));
}

TEST_F(SimWindows, StopEndsTheRunWithEmptyResultsAndAgainStartsAgain) {
    ToSettings();
    Type(dlg()->StopTimeEdit, "1000000");
    DuringRun stopper(module, [this] { QTest::mouseClick(module->grafiek()->SluitBtn, Qt::LeftButton); });
    RandSeed = 8;
    ClickOK();
    ASSERT_TRUE(stopper.done);
    ASSERT_TRUE(module->lastOutcome().has_value());
    EXPECT_FALSE(module->lastOutcome()->finished);
    EXPECT_EQ(module->lastOutcome()->station[0].waiting, 0);
    for (const auto& row : module->simRun()->values()) EXPECT_EQ(row[0], "");
    TSimGrafiek* g = module->grafiek();
    EXPECT_EQ(g->SluitBtn->text(), "Previous");
    EXPECT_TRUE(g->BitBtn1->isEnabled());

    // "Again" runs the same settings to the end.
    Type(dlg()->StopTimeEdit, "400"); // not stored: the dialog is hidden and nothing confirmed it
    State().single.length = 2000;
    QTest::mouseClick(g->BitBtn1, Qt::LeftButton);
    WaitForRun();
    EXPECT_TRUE(module->lastOutcome()->finished);
    EXPECT_FALSE(module->simRun()->values()[0][0].isEmpty());
}

TEST_F(SimWindows, RunIsIgnoredWhileARunIsGoing) {
    ToSettings();
    Type(dlg()->StopTimeEdit, "1000000");
    int outcomes = 0;
    DuringRun again(module, [&] {
        module->Run();
        QTest::mouseClick(module->grafiek()->BitBtn1, Qt::LeftButton); // disabled
        outcomes = module->running() ? 1 : 0;
        module->RequestStop();
    });
    ClickOK();
    EXPECT_TRUE(again.done);
    EXPECT_EQ(outcomes, 1);
    ProcessEvents(10);
    EXPECT_FALSE(module->running());
    EXPECT_FALSE(module->lastOutcome()->finished);
}

TEST_F(SimWindows, ClosingTheModuleDuringARunStopsItFirst) {
    ToSettings();
    Type(dlg()->StopTimeEdit, "1000000");
    DuringRun closer(module, [this] { module->closeModule(); });
    ClickOK();
    for (int i = 0; i < 50 && module; ++i) ProcessEvents();
    EXPECT_TRUE(closer.done);
    EXPECT_TRUE(module.isNull());
}

TEST_F(SimWindows, SavesThePictureAsQueueBmp) {
    ToSettings();
    ClickOK();
    QTemporaryDir dir;
    const QString file = dir.filePath("graph.bmp");
    dialogs.fileAnswers.push_back(file);
    QTest::mouseClick(module->grafiek()->SpeedButton2, Qt::LeftButton);
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].fileName, "Queue.bmp");
    EXPECT_EQ(dialogs.fileRequests[0].filters.first(), "Bitmap-bestanden (*.bmp)");
    QImageReader reader(file);
    EXPECT_EQ(reader.format(), "bmp");
    EXPECT_EQ(reader.size(), QSize(497, 353));
}

TEST_F(SimWindows, TheLiveGraphSavesAsADrawingOfItsCurves) {
    ToSettings();
    Type(dlg()->StopTimeEdit, "3000");
    ClickOK();
    QTemporaryDir dir;
    const QString file = dir.filePath("graph.svg");
    dialogs.fileAnswers.push_back(file);
    QTest::mouseClick(module->grafiek()->SpeedButton2, Qt::LeftButton);
    const auto svg = tarvik::test::InspectSvg(file);
    EXPECT_TRUE(svg.parses);
    EXPECT_EQ(svg.images, 0);
    EXPECT_GT(svg.shapes, 100) << "a line for every sample of both curves";
    const QImage& picture = module->grafiek()->picture();
    // Thin lines come out smoothed over two rows: compared a pixel around and with more play.
    EXPECT_LT(tarvik::test::DifferingShare(picture, tarvik::test::RenderSvg(file, picture.size()), 140, 1),
              0.03);
    // A screen reader hears what the picture shows and how the run ended.
    QWidget* image = module->grafiek()->Image1;
    EXPECT_EQ(tarvik::ui::AccessibleNameOf(image), "Number of customers present");
    EXPECT_TRUE(image->accessibleDescription().contains(
        QRegularExpression("at its end [0-9]+ present, on average [0-9.]+$")))
        << image->accessibleDescription().toStdString();
}

TEST_F(SimWindows, SettingsOutliveTheModule) {
    ToSettings();
    Type(dlg()->LambdaEdit, "0.5");
    Type(dlg()->StopTimeEdit, "500");
    ClickOK();
    module->closeModule();
    for (int i = 0; i < 50 && module; ++i) ProcessEvents();
    module = static_cast<TSim*>(CreateSimWindow(nullptr));
    module->show();
    ToSettings();
    EXPECT_EQ(dlg()->LambdaEdit->text(), "0.5");
    EXPECT_EQ(dlg()->StopTimeEdit->text(), "500");
}

} // namespace
} // namespace tarvik::simulation::ui
