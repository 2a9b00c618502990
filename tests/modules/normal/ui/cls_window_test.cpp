#include "common/numformat.h"
#include "common/random.h"
#include "common/ui/numberfields.h"
#include "common/ui/picturetext.h"
#include "common/ui/seed.h"
#include "modules/normal/normalcli.h"
#include "modules/normal/ui/clspictures.h"
#include "modules/normal/ui/clsunit.h"
#include "modules/normal/ui/normalmodule.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace tarvik::normal::ui {
namespace {

using tarvik::test::ProcessEvents;
using tarvik::test::ScriptedDialogs;
using tarvik::ui::MsgKind;

class ClsWindow : public ::testing::Test {
protected:
    void SetUp() override {
        SetYieldInterval(std::chrono::microseconds(0));
        module = static_cast<TCLS*>(CreateNormalWindow(nullptr));
        module->show();
        ProcessEvents();
    }
    void TearDown() override {
        if (module) module->closeModule();
        for (int i = 0; i < 50 && module; ++i) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            ProcessEvents();
        }
        delete module.data();
        SetYieldObserver({});
        SetYieldInterval(std::chrono::microseconds(10000));
    }
    void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    void ClickRadio(QRadioButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2)); }
    void Type(QLineEdit* field, const QString& text) {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }
    void TypeSpin(QSpinBox* spin, const QString& text) {
        spin->selectAll();
        QTest::keyClick(spin, Qt::Key_Backspace);
        QTest::keyClicks(spin, text);
    }
    void WaitForRun() {
        for (int i = 0; i < 1000000 && module && module->running(); ++i) QCoreApplication::processEvents();
        ProcessEvents();
    }
    // Posts `act` as a user's action at the run's first visit to the event loop.
    void AtFirstYield(std::function<void()> act) {
        SetYieldObserver([this, act] {
            SetYieldObserver({});
            QMetaObject::invokeMethod(qApp, act, Qt::QueuedConnection);
        });
    }
    QString LastMessage() const {
        return dialogs.messages.empty() ? QString() : dialogs.messages.back().text;
    }
    void OpenDemo(QRadioButton* choice) {
        ClickRadio(choice);
        Click(module->chooser()->OKBtn);
        ProcessEvents();
    }

    ScriptedDialogs dialogs;
    QPointer<TCLS> module;
};

TEST_F(ClsWindow, StartsWithTheChooserAndAHiddenOptionsMenu) {
    EXPECT_EQ(module->windowTitle(), "Normal distribution");
    ASSERT_EQ(module->moduleMenus().size(), 3);
    EXPECT_EQ(module->moduleMenus()[0]->title(), "File");
    EXPECT_EQ(module->moduleMenus()[0]->actions()[0]->text(), "Exit normal distribution");
    EXPECT_FALSE(module->optionsMenu()->menuAction()->isVisible());
    QStringList entries;
    for (QAction* a : module->optionsMenu()->actions()) entries << a->text();
    EXPECT_EQ(entries, QStringList({"Central limit theorem", "Square root law", "Confidence interval",
                                    "Settings", QString::fromUtf16(u"Seed\u2026")}));
    EXPECT_EQ(module->moduleMenus()[2]->title(), "Help");
    EXPECT_EQ(module->moduleMenus()[2]->actions()[0]->text(), "Explanation");

    TCLSKeuzeDialoog* chooser = module->chooser();
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_EQ(chooser->windowTitle(), "Normal distribution");
    EXPECT_EQ(chooser->findChild<QGroupBox*>("KeuzeGroup")->title(), "Make your choice");
    EXPECT_TRUE(chooser->CentralBtn->isChecked());
    EXPECT_EQ(chooser->SqrtBtn->text(), "Square root law");
    EXPECT_EQ(chooser->IntervalBtn->text(), "Confidence interval");
    EXPECT_EQ(module->dieSettings()->HelpBtn->toolTip(), "Uitleg");
}

TEST_F(ClsWindow, PreviousInTheChooserClosesTheModule) {
    Click(module->chooser()->TerugBtn);
    ProcessEvents();
    EXPECT_TRUE(module.isNull() || module->isClosing());
}

TEST_F(ClsWindow, ClosingTheChooserByItsFrameClosesTheModule) {
    module->chooser()->close();
    ProcessEvents();
    EXPECT_TRUE(module.isNull() || module->isClosing());
}

TEST_F(ClsWindow, FairAndBiasedDie) {
    OpenDemo(module->chooser()->CentralBtn);
    TCLSDialoog* dlg = module->dieSettings();
    ASSERT_TRUE(dlg->isVisible());
    EXPECT_FALSE(module->chooser()->isVisible());
    EXPECT_EQ(dlg->windowTitle(), "Settings");
    EXPECT_TRUE(dlg->FairBtn->isChecked());
    EXPECT_TRUE(dlg->HistBtn[0]->isChecked());
    EXPECT_EQ(dlg->HistBtn[2]->text(), "4 Histograms");
    for (QLineEdit* f : dlg->PEdit) EXPECT_EQ(f->text(), "0.16667");
    EXPECT_FALSE(dlg->ProbGroup->isEnabled());

    ClickRadio(dlg->BiasedBtn);
    EXPECT_TRUE(dlg->ProbGroup->isEnabled());
    for (QLineEdit* f : dlg->PEdit) EXPECT_EQ(f->text(), "");
    // An empty field.
    Click(dlg->OKBtn);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(LastMessage(), "Not all probabilities do have numerical values");
    EXPECT_EQ(dialogs.messages.back().kind, MsgKind::Error);
    EXPECT_TRUE(dlg->isVisible());

    const char* sumTooBig[6] = {"0.2", "0.2", "0.2", "0.2", "0.1", "0.101"};
    for (int j = 0; j < kFaces; ++j) Type(dlg->PEdit[j], sumTooBig[j]);
    Click(dlg->OKBtn);
    EXPECT_EQ(LastMessage(), "The sum of the probabilities must be 1");
    Type(dlg->PEdit[0], "1.5");
    Click(dlg->OKBtn);
    EXPECT_EQ(LastMessage(), "Probabilities larger then 1 or smaller then 0 are not allowed");
    EXPECT_FALSE(module->lengths()->isVisible());

    Type(dlg->PEdit[0], "0.2");
    Type(dlg->PEdit[5], "0.10005");
    Click(dlg->OKBtn);
    EXPECT_EQ(dialogs.messages.size(), 3u);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(module->lengths()->isVisible());
    EXPECT_DOUBLE_EQ(module->probabilities()[5], 0.10005);

    // Back again: the fields show the working probabilities; Fair refills them.
    Click(module->lengths()->TerugBtn);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->PEdit[5]->text(), "0.10005");
    ClickRadio(dlg->FairBtn);
    for (QLineEdit* f : dlg->PEdit) EXPECT_EQ(f->text(), "0.16667");
    EXPECT_FALSE(dlg->ProbGroup->isEnabled());
}

TEST_F(ClsWindow, ProbabilityFieldsAreFilteredWhileTyping) {
    OpenDemo(module->chooser()->CentralBtn);
    TCLSDialoog* dlg = module->dieSettings();
    ClickRadio(dlg->BiasedBtn);
    QTest::keyClicks(dlg->PEdit[0], "0.1.5");
    EXPECT_EQ(dlg->PEdit[0]->text(), "0.15"); // the second point went at once
    const int beeps = tarvik::ui::RefusalBeeps();
    QTest::keyClicks(dlg->PEdit[1], "0,a-3");
    EXPECT_EQ(dlg->PEdit[1]->text(), "03");
    EXPECT_EQ(tarvik::ui::RefusalBeeps(), beeps + 3);
    auto* hint = dlg->findChild<QLabel*>("DecimalMarkHint"); // the comma made another number
    ASSERT_TRUE(hint && hint->isVisible());
    EXPECT_EQ(hint->text(), "The decimal mark is \".\"");
    QTest::keyClicks(dlg->PEdit[2], "0.12345678901234");
    EXPECT_EQ(dlg->PEdit[2]->text().size(), 12);
    QTest::keyClicks(dlg->PEdit[3], "1E400");
    EXPECT_EQ(dlg->PEdit[3]->text(), "1E400");
    for (int j : {1, 2, 4, 5}) Type(dlg->PEdit[j], "0.1");
    Click(dlg->OKBtn);
    EXPECT_EQ(LastMessage(), "Not all probabilities do have numerical values");
}

TEST_F(ClsWindow, SummationFieldsFollowTheNumberOfHistograms) {
    OpenDemo(module->chooser()->CentralBtn);
    TCLSDialoog* dlg = module->dieSettings();
    TCLSSommatieLengte* len = module->lengths();
    Click(dlg->OKBtn);
    ASSERT_TRUE(len->isVisible());
    EXPECT_EQ(len->windowTitle(), "Summation length");
    EXPECT_EQ(len->FieldLabel[0]->text(), "Histogram1");
    EXPECT_EQ(len->FieldLabel[1]->text(), "Histogram 2:");
    EXPECT_EQ(len->FieldLabel[3]->text(), "Histogram 4:");
    EXPECT_TRUE(len->LengthEdit[0]->isEnabled());
    for (int i = 1; i < 4; ++i) EXPECT_FALSE(len->LengthEdit[i]->isEnabled());
    EXPECT_EQ(len->LengthEdit[0]->maximum(), 40);
    EXPECT_EQ(len->LengthEdit[0]->minimum(), 1);
    EXPECT_EQ(len->HintLabel[0]->text(), "1 <= n <= 40");
    EXPECT_EQ(len->LengthEdit[0]->value(), 4);
    EXPECT_EQ(len->LengthEdit[3]->value(), 16);
    TypeSpin(len->LengthEdit[0], "99");
    EXPECT_LE(len->LengthEdit[0]->value(), 40);

    Click(len->TerugBtn);
    ClickRadio(dlg->HistBtn[1]);
    Click(dlg->OKBtn);
    EXPECT_TRUE(len->LengthEdit[1]->isEnabled());
    EXPECT_FALSE(len->LengthEdit[2]->isEnabled());
    EXPECT_EQ(len->LengthEdit[1]->maximum(), 30);
    EXPECT_EQ(len->HintLabel[1]->text(), "1 <= n <= 30");

    Click(len->TerugBtn);
    ClickRadio(dlg->HistBtn[2]);
    Click(dlg->OKBtn);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(len->LengthEdit[i]->isEnabled());
        EXPECT_EQ(len->LengthEdit[i]->maximum(), 30);
    }
    Click(len->StartBtn);
    TCLSGrafiek* four = module->histograms(4);
    ASSERT_TRUE(four->isVisible());
    EXPECT_FALSE(len->isVisible());
    EXPECT_EQ(four->windowTitle(), "Histograms");
    ASSERT_EQ(four->layouts().size(), 4u);
    EXPECT_EQ(four->layouts()[3].bars.size(), 5u * 16 + 1);
    EXPECT_EQ(four->layouts()[3].baseY, 325);
    EXPECT_EQ(four->TextLabels[1]->text(), "Summation length: 8\nMean: 28   Standard deviation: 4.831");
    // The picture holds the bars in their colours: purple in the fourth panel.
    const Bar& top = *std::min_element(four->layouts()[3].bars.begin(), four->layouts()[3].bars.end(),
                                       [](const Bar& a, const Bar& b) { return a.top < b.top; });
    EXPECT_EQ(four->picture().pixelColor(top.left, top.top), QColor(0x80, 0x00, 0x80));
    EXPECT_TRUE(dialogs.messages.empty());
    // The two-line captions stand below the picture, clear of the lower
    // histograms' numbers.
    for (QLabel* l : four->TextLabels)
        EXPECT_GT(l->geometry().top(), four->PictureBox->geometry().bottom()) << l->text().toStdString();
}

TEST(ClsPictures, SquareRootLawPointsStayClearOfTheTexts) {
    QImage image = NewPicture(kSqrtWidth, kSqrtHeight);
    tarvik::ui::PictureTextLog log;
    DrawSqrtFrame(image);
    EXPECT_FALSE(log.overlap().has_value());
    // Means of one throw far below the axis: big points down to the bottom.
    for (int y = 200; y < 290; ++y) DrawSqrtPoint(image, {1, 1, 0, GroupColumn(1), y, true}, true);
    ASSERT_EQ(log.texts.back().text, "n = 64");
    for (const tarvik::ui::PictureText& t : log.texts)
        for (int y = t.box.top(); y <= t.box.bottom(); ++y)
            for (int x = t.box.left(); x <= t.box.right(); ++x)
                ASSERT_NE(image.pixelColor(x, y), QColor(Qt::red)) << t.text.toStdString();
}

TEST_F(ClsWindow, ASummationLengthBeyondItsLimitBecomesTheLimitOnLeaving) {
    OpenDemo(module->chooser()->CentralBtn);
    ClickRadio(module->dieSettings()->HistBtn[1]);
    Click(module->dieSettings()->OKBtn);
    for (auto [typed, shown] : {std::pair{"35", "30"}, {"99", "30"}, {"0", "1"}, {"17", "17"}})
        EXPECT_EQ(tarvik::test::TypeAndTab(module->lengths()->LengthEdit[0], typed), shown);
}

TEST_F(ClsWindow, OneHistogramOfFortyThrowsAndThePreviousChain) {
    OpenDemo(module->chooser()->CentralBtn);
    Click(module->dieSettings()->OKBtn);
    TCLSSommatieLengte* len = module->lengths();
    len->LengthEdit[0]->setValue(1);
    Click(len->StartBtn);
    TCLSGrafiek* one = module->histograms(1);
    ASSERT_TRUE(one->isVisible());
    EXPECT_EQ(one->windowTitle(), "Histogram");
    EXPECT_EQ(one->TextLabels[0]->text(), "P(X=1) = 0.1667");
    EXPECT_EQ(one->TextLabels[6]->text(), "Summation length: 1");
    EXPECT_EQ(one->TextLabels[7]->text(), "Mean: 3.5");
    EXPECT_EQ(one->TextLabels[8]->text(), "Standard deviation: 1.708");
    for (const Bar& b : one->layouts()[0].bars) EXPECT_EQ(b.top, 50);

    Click(one->TerugBtn);
    EXPECT_FALSE(one->isVisible());
    ASSERT_TRUE(len->isVisible());
    len->LengthEdit[0]->setValue(40);
    Click(len->StartBtn);
    ASSERT_EQ(one->layouts()[0].bars.size(), 201u);
    EXPECT_EQ(one->layouts()[0].barWidth, 1);
    EXPECT_EQ(one->TextLabels[7]->text(), "Mean: 140");
    EXPECT_EQ(module->distribution(0).size(), 201u);

    // Closing the histogram by its frame also returns to the lengths.
    one->close();
    EXPECT_TRUE(len->isVisible());
    Click(len->TerugBtn);
    EXPECT_TRUE(module->dieSettings()->isVisible());
    Click(module->dieSettings()->TerugBtn);
    EXPECT_FALSE(module->dieSettings()->isVisible());
    EXPECT_TRUE(module->chooser()->isVisible());
}

TEST_F(ClsWindow, ClosingASettingsWindowByItsFrameOnlyHidesIt) {
    OpenDemo(module->chooser()->CentralBtn);
    module->dieSettings()->close();
    ProcessEvents();
    ASSERT_FALSE(module.isNull());
    EXPECT_FALSE(module->isClosing());
    EXPECT_FALSE(module->dieSettings()->isVisible());
    EXPECT_FALSE(module->chooser()->isVisible());
    module->Settings1->trigger();
    OpenDemo(module->chooser()->SqrtBtn);
    module->sqrtCount()->close();
    EXPECT_FALSE(module->chooser()->isVisible());
    module->Settings1->trigger();
    OpenDemo(module->chooser()->IntervalBtn);
    module->intervalSettings()->close();
    EXPECT_FALSE(module->chooser()->isVisible());
    EXPECT_FALSE(module->isClosing());
}

TEST_F(ClsWindow, CountFieldIsReplacedWhileTyping) {
    OpenDemo(module->chooser()->SqrtBtn);
    TCLSWortelNAantal* count = module->sqrtCount();
    ASSERT_TRUE(count->isVisible());
    EXPECT_EQ(count->windowTitle(), "Number of experiments");
    EXPECT_EQ(count->RangeLabel->text(), "(10 <= Number of experiments <= 1000)");
    EXPECT_EQ(count->BigBox->text(), "Big points in graph");
    EXPECT_EQ(count->CountEdit->value(), 100);
    TypeSpin(count->CountEdit, "5000");
    EXPECT_EQ(count->CountEdit->value(), 1000);
    TypeSpin(count->CountEdit, "-7");
    EXPECT_EQ(count->CountEdit->value(), 10);
    TypeSpin(count->CountEdit, "5");
    EXPECT_EQ(count->CountEdit->text(), "5"); // 0 .. 9 may stand while typing
    EXPECT_EQ(count->count(), 10);
    count->CountEdit->setValue(1000);
    count->CountEdit->stepBy(5);
    EXPECT_EQ(count->CountEdit->value(), 1000);
}

TEST_F(ClsWindow, SquareRootLawRunsDrawsAndRunsAgain) {
    OpenDemo(module->chooser()->SqrtBtn);
    TCLSWortelNAantal* count = module->sqrtCount();
    TCLSWortelN* graph = module->sqrtGraph();
    TypeSpin(count->CountEdit, "20");
    Click(count->StartBtn);
    EXPECT_TRUE(graph->isVisible());
    EXPECT_FALSE(graph->OpnieuwBtn->isEnabled());
    EXPECT_FALSE(graph->TerugBtn->isEnabled());
    WaitForRun();
    EXPECT_EQ(graph->windowTitle(), "Square root law");
    EXPECT_TRUE(graph->OpnieuwBtn->isEnabled());
    EXPECT_FALSE(count->isVisible());
    EXPECT_GT(graph->pointsDrawn, 60);
    EXPECT_LE(graph->pointsDrawn, 80);
    // Every point is a red pixel in its column.
    int red = 0;
    for (int g = 1; g <= 4; ++g)
        for (int y = 11; y < 290; ++y)
            red += graph->picture().pixelColor(GroupColumn(g), y) == QColor(Qt::red);
    EXPECT_GT(red, 0);
    EXPECT_LE(red, graph->pointsDrawn);

    // Again: a cleared picture and a new set of points.
    count->BigBox->setChecked(true);
    Click(graph->OpnieuwBtn);
    WaitForRun();
    EXPECT_LE(graph->pointsDrawn, 80);
    int bigRed = 0;
    for (int y = 11; y < 290; ++y)
        bigRed += graph->picture().pixelColor(GroupColumn(1) + 1, y) == QColor(Qt::red);
    EXPECT_GT(bigRed, 0); // 3 by 3 squares reach the next column

    Click(graph->TerugBtn);
    EXPECT_FALSE(graph->isVisible());
    EXPECT_TRUE(count->isVisible());
    Click(count->TerugBtn);
    EXPECT_TRUE(module->chooser()->isVisible());
}

TEST_F(ClsWindow, ClosingTheModuleDuringTheSquareRootLawEndsTheRun) {
    OpenDemo(module->chooser()->SqrtBtn);
    module->sqrtCount()->CountEdit->setValue(1000);
    bool wasRunning = false;
    Click(module->sqrtCount()->StartBtn);
    AtFirstYield([&] {
        wasRunning = module && module->running();
        if (module) module->closeModule();
    });
    for (int i = 0; i < 200 && module; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(wasRunning);
    EXPECT_TRUE(module.isNull());
}

TEST_F(ClsWindow, IntervalSettingsCheckP) {
    OpenDemo(module->chooser()->IntervalBtn);
    TCLSBTI* bti = module->intervalSettings();
    ASSERT_TRUE(bti->isVisible());
    EXPECT_EQ(bti->windowTitle(), "Confidence intervals");
    EXPECT_EQ(bti->PEdit->text(), "0.4");
    EXPECT_EQ(bti->PEdit->toolTip(), "Min: 0.1 ; Max: 0.9");
    EXPECT_EQ(bti->NEdit->value(), 200);
    EXPECT_EQ(bti->NEdit->minimum(), 50);
    EXPECT_EQ(bti->NEdit->maximum(), 2500);
    EXPECT_EQ(bti->Level95Btn->text(), "95 % Conf.Int. ");
    EXPECT_EQ(bti->Level90Btn->text(), "90 % Conf.int.");
    EXPECT_TRUE(bti->Level95Btn->isChecked());
    Type(bti->PEdit, "0.09");
    Click(bti->OKBtn);
    EXPECT_EQ(LastMessage(), "The probability should be in the interval [0.1;0.9] ");
    Type(bti->PEdit, "");
    Click(bti->OKBtn);
    EXPECT_EQ(LastMessage(), "Not all probabilities do have numerical values");
    Type(bti->PEdit, "0.4.2");
    EXPECT_EQ(bti->PEdit->text(), "0.42");
    EXPECT_FALSE(module->intervalPlot()->isVisible());
    Type(bti->PEdit, "0.9");
    bti->NEdit->setValue(50);
    Click(bti->OKBtn);
    EXPECT_TRUE(module->intervalPlot()->isVisible());
    EXPECT_EQ(dialogs.messages.size(), 2u);
    WaitForRun();
}

TEST_F(ClsWindow, IntervalRunDrawsAHundredPairsColouredByTheirValues) {
    OpenDemo(module->chooser()->IntervalBtn);
    TCLSBTI* bti = module->intervalSettings();
    TCLSBTIPlot* plot = module->intervalPlot();
    Type(bti->PEdit, "0.1");
    bti->NEdit->setValue(50);
    ClickRadio(bti->Level90Btn);
    Click(bti->OKBtn);
    EXPECT_EQ(plot->TerugBtn->text(), "Stop");
    EXPECT_FALSE(plot->OpnieuwBtn->isEnabled());
    WaitForRun();
    EXPECT_EQ(plot->windowTitle(), "90%  confidence intervals");
    EXPECT_EQ(plot->Label1->text(), "Sample size: 50");
    EXPECT_EQ(plot->Label2->text(), "Sample size: 200");
    EXPECT_EQ(plot->TerugBtn->text(), "Previous");
    EXPECT_TRUE(plot->OpnieuwBtn->isEnabled());
    ASSERT_NE(module->intervalRun(), nullptr);
    const auto& pairs = module->intervalRun()->pairs();
    ASSERT_EQ(pairs.size(), 100u);
    ASSERT_EQ(plot->lines.size(), 200u);
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        for (int k = 0; k < 2; ++k) {
            const IntervalLine& line = plot->lines[2 * i + k];
            EXPECT_EQ(line.y, 330 - 3 * static_cast<int>(i + 1));
            EXPECT_EQ(line.colour, pairs[i].panel[k].miss ? kMissColour : kHitColour[k]);
            if (line.x2 > line.x1 + 2) {
                // The picture shows the line in that colour.
                EXPECT_EQ(plot->picture().pixelColor((line.x1 + line.x2) / 2, line.y), ToColour(line.colour));
            }
        }
    }
    // Repainting shows the held picture.
    const QImage shown = plot->PictureBox->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, plot->picture());

    Click(plot->TerugBtn);
    EXPECT_FALSE(plot->isVisible());
    EXPECT_TRUE(bti->isVisible());
    Click(bti->TerugBtn);
    EXPECT_TRUE(module->chooser()->isVisible());
}

TEST_F(ClsWindow, AFixedSeedGivesTheIntervalsOfTheCommandLine) {
    auto* seedCommand = module->findChild<QAction*>("SeedCommand");
    ASSERT_NE(seedCommand, nullptr);
    dialogs.textAnswers = {QStringLiteral("77")};
    seedCommand->trigger();
    OpenDemo(module->chooser()->IntervalBtn);
    TCLSBTI* bti = module->intervalSettings();
    TCLSBTIPlot* plot = module->intervalPlot();
    Type(bti->PEdit, "0.1");
    bti->NEdit->setValue(50);
    ClickRadio(bti->Level90Btn);
    std::ostringstream out, err;
    ASSERT_EQ(
        RunCli({"--normal", "ci", "--p", "0.1", "--n", "50", "--level", "90", "--seed", "77"}, out, err), 0)
        << err.str();
    const QStringList expected = QString::fromStdString(out.str()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(expected.size(), 101);
    // Twice: the second run, after other draws, is the same run again.
    for (int run = 0; run < 2; ++run) {
        tarvik::RandomInt(1000);
        if (run == 0)
            Click(bti->OKBtn);
        else
            Click(plot->OpnieuwBtn);
        WaitForRun();
        EXPECT_EQ(tarvik::ui::LastRunSeed("normal"), 77u);
        ASSERT_NE(module->intervalRun(), nullptr);
        const auto& pairs = module->intervalRun()->pairs();
        ASSERT_EQ(pairs.size(), 100u);
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            const QStringList cells = expected[static_cast<int>(i)].split('\t');
            ASSERT_EQ(cells.size(), 9);
            for (int k = 0; k < 2; ++k) {
                EXPECT_EQ(cells[1 + 4 * k], QString::fromStdString(FormatGeneral(pairs[i].panel[k].f, 6)));
                EXPECT_EQ(cells[4 + 4 * k], pairs[i].panel[k].miss ? "miss" : "hit");
            }
        }
        // Screen readers hear how many intervals of each panel miss p, as the command line counts them.
        const QStringList misses = expected.back().split('\t');
        ASSERT_EQ(misses.size(), 3);
        EXPECT_TRUE(plot->PictureBox->accessibleDescription().endsWith(
            QStringLiteral(
                "Sample size: 50: 100 intervals, %1 not holding p; Sample size: 200: 100 intervals, %2 "
                "not holding p")
                .arg(misses[1], misses[2])))
            << plot->PictureBox->accessibleDescription().toStdString() << " vs "
            << out.str().substr(out.str().rfind("misses"));
        // And everybody reads them under the panels, beside the share a 90% level leads one to expect.
        EXPECT_EQ(plot->MissLabel1->text(),
                  "Intervals that miss p: " + misses[1] + " of 100 (expected 10 %)");
        EXPECT_EQ(plot->MissLabel2->text(),
                  "Intervals that miss p: " + misses[2] + " of 100 (expected 10 %)");
    }
    tarvik::ui::SetFixedSeed("normal", std::nullopt);
}

TEST_F(ClsWindow, StopEndsTheIntervalRunAndAgainStartsANewOne) {
    OpenDemo(module->chooser()->IntervalBtn);
    TCLSBTIPlot* plot = module->intervalPlot();
    Click(module->intervalSettings()->OKBtn);
    AtFirstYield([&] { Click(plot->TerugBtn); });
    WaitForRun();
    ASSERT_NE(module->intervalRun(), nullptr);
    EXPECT_LT(module->intervalRun()->pairs().size(), 100u);
    EXPECT_EQ(plot->TerugBtn->text(), "Previous");
    EXPECT_TRUE(plot->OpnieuwBtn->isEnabled());
    EXPECT_TRUE(plot->isVisible());
    // The counts under the panels stand at the intervals drawn so far.
    EXPECT_TRUE(plot->MissLabel2->text().endsWith(
        QStringLiteral(" of %1 (expected 5 %)").arg(module->intervalRun()->pairs().size())))
        << plot->MissLabel2->text().toStdString();

    Click(plot->OpnieuwBtn);
    EXPECT_EQ(plot->TerugBtn->text(), "Stop");
    WaitForRun();
    EXPECT_EQ(module->intervalRun()->pairs().size(), 100u);
    EXPECT_EQ(plot->windowTitle(), "95%  confidence intervals");

    // Closing the plot by its frame during a run stops it and brings back the settings.
    Click(plot->OpnieuwBtn);
    AtFirstYield([&] { plot->close(); });
    WaitForRun();
    EXPECT_LT(module->intervalRun()->pairs().size(), 100u);
    EXPECT_FALSE(plot->isVisible());
    EXPECT_TRUE(module->intervalSettings()->isVisible());
}

TEST_F(ClsWindow, ClosingTheModuleDuringAnIntervalRunEndsIt) {
    OpenDemo(module->chooser()->IntervalBtn);
    module->intervalSettings()->NEdit->setValue(2500);
    Click(module->intervalSettings()->OKBtn);
    bool wasRunning = false;
    AtFirstYield([&] {
        wasRunning = module && module->running();
        if (module) module->closeModule();
    });
    for (int i = 0; i < 200 && module; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(wasRunning);
    EXPECT_TRUE(module.isNull());
}

} // namespace
} // namespace tarvik::normal::ui
