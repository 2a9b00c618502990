// Every Monte Carlo picture saved as a bitmap, a PNG image and an SVG drawing,
// its description for screen readers, and the report pages saved as text.
#include "common/ui/picturesave.h"
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
#include "modules/montecarlo/ui/mcpiunit.h"
#include "modules/montecarlo/ui/mcrouletteunit.h"
#include "modules/montecarlo/ui/mcsppunit.h"
#include "modules/montecarlo/ui/mctesting.h"
#include "modules/montecarlo/ui/mcunit.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using namespace tarvik::montecarlo;
using namespace tarvik::montecarlo::ui;
using tarvik::montecarlo::test::Choose;
using tarvik::montecarlo::test::WaitWhile;
using tarvik::test::ProcessEvents;

QByteArray Contents(const QString& fileName) {
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// How far two pictures of the same size differ at the coarse scale a reader
// sees: the largest difference of the mean colours (summed over red, green
// and blue) of 16 by 16 pixel blocks. Edges half a pixel apart and smoothed
// text stay well below what a missing or misplaced line, bar or text causes.
int LargestBlockDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    int largest = 0;
    for (int r0 = 0; r0 < x.height(); r0 += 16)
        for (int c0 = 0; c0 < x.width(); c0 += 16) {
            int sum[3] = {0, 0, 0};
            int n = 0;
            for (int r = r0; r < std::min(r0 + 16, x.height()); ++r)
                for (int c = c0; c < std::min(c0 + 16, x.width()); ++c) {
                    const QRgb p = x.pixel(c, r), q = y.pixel(c, r);
                    sum[0] += qRed(p) - qRed(q);
                    sum[1] += qGreen(p) - qGreen(q);
                    sum[2] += qBlue(p) - qBlue(q);
                    ++n;
                }
            largest = std::max(largest, (std::abs(sum[0]) + std::abs(sum[1]) + std::abs(sum[2])) / n);
        }
    return largest;
}

// One picture after a small run: its window's save button, the picture as
// saved (the left part for the lotto pictures), the widget showing it, and a
// figure its description must name.
struct Shown {
    QToolButton* save = nullptr;
    QImage picture;
    QWidget* box = nullptr;
    QString figure;
};

struct PictureCase {
    const char* name;
    MCChoice choice;
    QString defaultName;
    std::function<Shown(TMC*)> run;
};

std::vector<PictureCase> Cases() {
    return {
        {"birthday", MCChoice::Birthday, "Birthday Problem.bmp",
         [](TMC* m) {
             auto* dlg = m->findChild<TMCBDP*>();
             auto* plot = m->findChild<TMCBDPPlot*>();
             dlg->RunsEdit->setValue(400);
             QTest::mouseClick(dlg->SimulateBtn, Qt::LeftButton);
             WaitWhile([&] { return dlg->running(); });
             return Shown{plot->SaveBtn, plot->picture(), plot->Graph, dlg->EstimateEdit->text()};
         }},
        {"st-petersburg", MCChoice::StPetersburg, "StPetersburgParadox.bmp",
         [](TMC* m) {
             auto* dlg = m->findChild<TMCSPPDialoog*>();
             auto* plot = m->findChild<TMCSPPPlot*>();
             dlg->RunsEdit->setValue(400);
             QTest::mouseClick(dlg->SimulateBtn, Qt::LeftButton);
             WaitWhile([&] { return dlg->running(); });
             return Shown{plot->SaveBtn, plot->picture(), plot->Graph, dlg->AverageEdit->text()};
         }},
        {"buffon", MCChoice::Buffon, "Buffon.bmp",
         [](TMC* m) {
             auto* plot = m->findChild<TMCBuffonPlot*>();
             plot->StartRun(300, true);
             WaitWhile([&] { return plot->running(); });
             return Shown{plot->SaveBtn, plot->picture(), plot->Board,
                          QString::fromStdString(plot->experiment().estimateText())};
         }},
        {"kelly", MCChoice::Kelly, "KellyBetting.bmp",
         [](TMC* m) {
             auto* plot = m->findChild<TMCKellyBPlot*>();
             plot->StartRun({.races = 40, .p = {0.5, 0.3, 0.2}, .u = {2.5, 3, 6}, .f = {0.2, 0.1, 0.05}});
             plot->FinishDrawing();
             return Shown{plot->SaveBtn, plot->picture(), plot->Graph,
                          QString::fromStdString(KellyGraphCapital(plot->lastRun()->ownLog10))};
         }},
        {"roulette run", MCChoice::Roulette, "Roulette1.bmp",
         [](TMC* m) {
             auto* plot = m->findChild<TMCRoulettePlot*>();
             plot->StartRun(20, 40);
             plot->FinishDrawing();
             return Shown{plot->SaveBtn, plot->picture(), plot->Graph, QStringLiteral("towards 40")};
         }},
        {"roulette distributions", MCChoice::Roulette, "Roulette2.bmp",
         [](TMC* m) {
             auto* dlg = m->findChild<TMCRouletteDialoog2*>();
             auto* plot = m->findChild<TMCRoulettePlot2*>();
             QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
             WaitWhile([&] { return dlg->running(); });
             return Shown{plot->SaveBtn, plot->picture(), plot->Graph,
                          QString::fromStdString(RouletteDistTexts(*dlg->lastResult()).estimate[0])};
         }},
        {"benford", MCChoice::Benford, "Benford.bmp",
         [](TMC* m) {
             auto* plot = m->findChild<TMCBenfordPlot*>();
             plot->Run({.bounds = {999, 5000}, .draws = 2000});
             return Shown{plot->SaveBtn, plot->picture(), plot->Graph, QStringLiteral("in 2000 simulations")};
         }},
        {"newsboy", MCChoice::Newsboy, "Newsboy.bmp",
         [](TMC* m) {
             auto* plot = m->findChild<TMCNewsboyPlot*>();
             plot->Run({.runs = 2000});
             return Shown{plot->SaveBtn, plot->picture(), plot->Graph,
                          QString::fromStdString(plot->lastResult()->legend(1))};
         }},
        {"legio", MCChoice::LegioRisk, "Legio risk.bmp",
         [](TMC* m) {
             auto* plot = m->findChild<TMCLegioRiskPlot*>();
             plot->Run({.runs = 500});
             WaitWhile([&] { return plot->running() || !plot->isVisible(); });
             return Shown{plot->SaveBtn, plot->picture(), plot->Graph, QStringLiteral("in 500 runs")};
         }},
        {"scratch lottery", MCChoice::Scratch, "Scratch lottery.bmp",
         [](TMC* m) {
             auto* plot = m->findChild<TMCKrasPlot*>();
             plot->Run(6, 300);
             WaitWhile([&] { return plot->running(); });
             return Shown{plot->SaveBtn, plot->picture(), plot->Graph, QStringLiteral("300 of 300 runs")};
         }},
        {"scratch lottery table", MCChoice::Scratch, "KraslotTabel.bmp",
         [](TMC* m) {
             auto* plot = m->findChild<TMCKrasPlot*>();
             auto* table = m->findChild<TMCKrasTabel*>();
             plot->Run(6, 300);
             WaitWhile([&] { return plot->running(); });
             QTest::mouseClick(plot->TabelBtn, Qt::LeftButton);
             return Shown{table->SaveBtn, table->picture(), table->Graph,
                          QStringLiteral("6 tickets, 300 runs")};
         }},
        {"lotto", MCChoice::Lotto, "Lotto.bmp",
         [](TMC* m) {
             auto* plot = m->findChild<TMCLottoPlot*>();
             plot->Start(42, 6, 200);
             WaitWhile([&] { return plot->running(); });
             return Shown{plot->SaveBtn, plot->picture().copy(0, 0, 13 * 42, plot->picture().height()),
                          plot->Graph, QStringLiteral("200 of 200 draws")};
         }},
        {"hot and cold", MCChoice::Lotto, "HotNCold.bmp",
         [](TMC* m) {
             auto* plot = m->findChild<TMCLottoPlot*>();
             auto* hot = m->findChild<TMCLottoHotnCold*>();
             plot->Start(42, 6, 200);
             WaitWhile([&] { return plot->running(); });
             QTest::mouseClick(plot->HotBtn, Qt::LeftButton);
             return Shown{hot->SaveBtn, hot->picture().copy(0, 0, 13 * 42, hot->picture().height()),
                          hot->Graph, QStringLiteral("after 200 draws")};
         }},
        {"random walk", MCChoice::Lotto, "GoodNBad.bmp",
         [](TMC* m) {
             auto* plot = m->findChild<TMCLottoPlot*>();
             auto* walk = m->findChild<TMCLottoGoodnBad*>();
             plot->Start(42, 6, 200);
             WaitWhile([&] { return plot->running(); });
             QTest::mouseClick(plot->WalkBtn, Qt::LeftButton);
             return Shown{walk->SaveBtn, walk->picture(), walk->Graph,
                          QStringLiteral("at the end %1").arg(plot->state().walk[200])};
         }},
    };
}

TEST(MCPictureSave, EveryPictureSavesAsBitmapPngAndSvgDrawingAndDescribesItself) {
    QTemporaryDir dir;
    for (const PictureCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        tarvik::test::ScriptedDialogs dialogs;
        QPointer<TMC> module = new TMC;
        module->show();
        Choose(module, c.choice);
        if (c.choice == MCChoice::Roulette && QString::fromLatin1(c.name).contains("distributions")) {
            auto* keuze = module->findChild<TMCRouletteKeuze*>();
            keuze->DistBtn->setChecked(true);
            QTest::mouseClick(keuze->OKBtn, Qt::LeftButton);
        }
        const Shown shown = c.run(module);
        ASSERT_NE(shown.save, nullptr);
        EXPECT_TRUE(shown.box->accessibleDescription().contains(shown.figure))
            << shown.box->accessibleDescription().toStdString() << " lacks " << shown.figure.toStdString();

        const QString base = dir.filePath(QString::fromLatin1(c.name));
        dialogs.fileAnswers = {base + ".bmp", base + ".png", base + ".svg"};
        for (int i = 0; i < 3; ++i) QTest::mouseClick(shown.save, Qt::LeftButton);
        ASSERT_EQ(dialogs.fileRequests.size(), 3u);
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_EQ(dialogs.fileRequests[0].fileName, c.defaultName);
        EXPECT_EQ(dialogs.fileRequests[0].filters.size(), 3);
        EXPECT_TRUE(dialogs.fileRequests[0].filters.first().contains("(*.bmp)"));
        EXPECT_EQ(dialogs.fileRequests[0].filters.last(), tarvik::ui::kSvgFilter);

        // The bitmap and the PNG image hold the picture's pixels.
        const QImage target = shown.picture.convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(QImage(base + ".bmp").convertToFormat(QImage::Format_RGB32), target);
        EXPECT_EQ(QImage(base + ".png").convertToFormat(QImage::Format_RGB32), target);

        // The SVG is a drawing of the same size, made of shapes and text, and
        // drawn again it looks like the picture.
        const QByteArray svg = Contents(base + ".svg");
        EXPECT_FALSE(svg.contains("<image"));
        EXPECT_TRUE(svg.contains("<path") || svg.contains("<polyline") || svg.contains("<line"));
        EXPECT_TRUE(svg.contains("<text"));
        QSvgRenderer renderer(svg);
        ASSERT_TRUE(renderer.isValid());
        EXPECT_EQ(renderer.viewBox().size(), target.size());
        QImage drawn(target.size(), QImage::Format_RGB32);
        drawn.fill(Qt::white);
        {
            QPainter p(&drawn);
            renderer.render(&p);
        }
        EXPECT_LT(LargestBlockDifference(drawn, target), 60);
        delete module;
    }
}

TEST(MCPictureSave, ThePiBoardDescribesTheEstimate) {
    tarvik::test::ScriptedDialogs dialogs;
    QPointer<TMC> module = new TMC;
    module->show();
    Choose(module, MCChoice::Pi);
    auto* pi = module->findChild<TMCPi*>();
    auto* plot = module->findChild<TMCPiPlot*>();
    pi->DrawsEdit->setValue(500);
    QTest::mouseClick(pi->SimulateBtn, Qt::LeftButton);
    WaitWhile([&] { return pi->running(); });
    EXPECT_TRUE(plot->Board->accessibleDescription().contains(pi->EstimateEdit->text()));
    EXPECT_TRUE(plot->Board->accessibleDescription().contains(pi->ActualEdit->text()));
    // Its "Save graph to file" writes the board.
    QTemporaryDir dir;
    dialogs.fileAnswers = {dir.filePath(QStringLiteral("pi.png"))};
    QTest::mouseClick(pi->SaveBtn, Qt::LeftButton);
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("pi.png"))).convertToFormat(QImage::Format_RGB32),
              plot->picture());
    delete module;
}

// A data window after a run with a fixed seed, and the command line that
// prints its report for the same input and seed.
struct ReportCase {
    const char* name;
    MCChoice choice;
    std::function<QWidget*(TMC*)> run;
    std::vector<std::string> cli;
    QString proposed;
};

TEST(MCReportSave, TheDataSavedAsTextIsWhatTheCommandLinePrints) {
    const std::vector<ReportCase> cases = {
        {"newsboy",
         MCChoice::Newsboy,
         [](TMC* m) -> QWidget* {
             auto* plot = m->findChild<TMCNewsboyPlot*>();
             QTest::mouseClick(m->findChild<TMCNewsboyDialoog*>()->OKBtn, Qt::LeftButton);
             QTest::mouseClick(plot->DataBtn, Qt::LeftButton);
             return m->findChild<TMCNewsBoyData*>()->Report;
         },
         {"--montecarlo", "newsboy", "--seed", "4242"},
         "Newsboy.txt"},
        {"scratch lottery",
         MCChoice::Scratch,
         [](TMC* m) -> QWidget* {
             auto* plot = m->findChild<TMCKrasPlot*>();
             plot->Run(8, 400);
             WaitWhile([&] { return plot->running(); });
             QTest::mouseClick(plot->TabelBtn, Qt::LeftButton);
             return m->findChild<TMCKrasTabel*>();
         },
         {"--montecarlo", "scratch", "--seed", "4242", "--tickets", "8", "--weeks", "400"},
         "Scratch lottery.txt"},
        {"roulette run",
         MCChoice::Roulette,
         [](TMC* m) -> QWidget* {
             QTest::mouseClick(m->findChild<TMCRouletteKeuze*>()->OKBtn, Qt::LeftButton);
             auto* dlg = m->findChild<TMCRouletteDialoog*>();
             dlg->StartEdit->setValue(30);
             dlg->DesiredEdit->setValue(60);
             QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
             auto* plot = m->findChild<TMCRoulettePlot*>();
             plot->FinishDrawing();
             QTest::mouseClick(plot->DataBtn, Qt::LeftButton);
             return m->findChild<TMCRouletteData*>();
         },
         {"--montecarlo", "roulette-run", "--seed", "4242", "--capital", "30", "--desired", "60"},
         "Roulette1.txt"},
        {"roulette distributions",
         MCChoice::Roulette,
         [](TMC* m) -> QWidget* {
             auto* keuze = m->findChild<TMCRouletteKeuze*>();
             keuze->DistBtn->setChecked(true);
             QTest::mouseClick(keuze->OKBtn, Qt::LeftButton);
             auto* dlg = m->findChild<TMCRouletteDialoog2*>();
             QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
             WaitWhile([&] { return dlg->running(); });
             QTest::mouseClick(m->findChild<TMCRoulettePlot2*>()->DataBtn, Qt::LeftButton);
             return m->findChild<TMCRouletteData2*>();
         },
         {"--montecarlo", "roulette-dist", "--seed", "4242", "--capital", "10", "--bets", "10", "--runs",
          "1000"},
         "Roulette2.txt"},
    };
    QTemporaryDir dir;
    tarvik::ui::SetFixedSeed("montecarlo", 4242u);
    for (const ReportCase& c : cases) {
        SCOPED_TRACE(c.name);
        tarvik::test::ScriptedDialogs dialogs;
        QPointer<TMC> module = new TMC;
        module->show();
        Choose(module, c.choice);
        QWidget* page = c.run(module);
        ASSERT_NE(page, nullptr);
        ASSERT_TRUE(page->window()->isVisible());
        EXPECT_NE(page->findChild<QAction*>(QStringLiteral("SaveReportPdf")), nullptr);
        auto* save = page->findChild<QAction*>(QStringLiteral("SaveReportText"));
        ASSERT_NE(save, nullptr);
        const QString file = dir.filePath(QString::fromLatin1(c.name) + ".txt");
        dialogs.fileAnswers.push_back(file);
        save->trigger();
        ASSERT_EQ(dialogs.fileRequests.size(), 1u);
        EXPECT_EQ(dialogs.fileRequests[0].fileName, c.proposed);

        std::ostringstream out, err;
        ASSERT_EQ(RunCli(c.cli, out, err), 0) << err.str();
        EXPECT_EQ(Contents(file).toStdString(), out.str());
        delete module;
    }
    tarvik::ui::SetFixedSeed("montecarlo", std::nullopt);
}

} // namespace
