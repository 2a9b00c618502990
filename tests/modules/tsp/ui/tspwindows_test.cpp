// The travelling-salesman windows driven through their real widgets.
#include "common/random.h"
#include "common/ui/examples.h"
#include "common/ui/seed.h"
#include "modules/tsp/tspcli.h"
#include "modules/tsp/ui/tspunit.h"
#include "support/apptesting.h"
#include "support/picturecheck.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <sstream>

namespace tarvik::tsp::ui {
namespace {

using tarvik::test::ProcessEvents;
using tarvik::test::ScriptedDialogs;
using tarvik::ui::MsgKind;

class TspWindows : public ::testing::Test {
protected:
    void SetUp() override {
        tarvik::RandSeed = 4711;
        module = new TTSP;
        module->setWaitUnitMs(20);
        module->resize(900, 600);
        module->show();
        ProcessEvents();
    }
    void TearDown() override {
        if (module) module->closeModule();
        for (int i = 0; i < 5 && module; ++i) ProcessEvents();
        EXPECT_TRUE(module.isNull());
    }

    void Place(bool random, int n) {
        (random ? module->zetSteden()->RandomBtn : module->zetSteden()->OwnBtn)->setChecked(true);
        module->zetSteden()->AantalSpin->setValue(n);
        QTest::mouseClick(module->zetSteden()->OKBtn, Qt::LeftButton);
        ProcessEvents();
    }
    void Select(int row) {
        module->dialoog()->ListBox->setCurrentRow(row);
        QTest::mouseClick(module->dialoog()->HeuristiekBtn, Qt::LeftButton);
    }
    void Press(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(module->kaart()->view(), button, {}, QPoint(x, y));
        QTest::mouseRelease(module->kaart()->view(), button, {}, QPoint(x, y));
    }
    void Move(int x, int y) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y),
                         module->kaart()->view()->mapToGlobal(QPointF(x, y)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(module->kaart()->view(), &move);
    }
    void WaitForRuns() {
        for (int i = 0; i < 10000 && module && (module->constructionRunning() || module->searchRunning());
             ++i)
            QCoreApplication::processEvents();
        ProcessEvents();
    }
    int Count(const QString& text, const QString& what) { return static_cast<int>(text.count(what)); }

    ScriptedDialogs dialogs;
    QPointer<TTSP> module;
};

TEST_F(TspWindows, PlacementDialogStartsWithItsDefaults) {
    TTSPZetSteden* z = module->zetSteden();
    EXPECT_TRUE(z->isVisible());
    EXPECT_EQ(z->windowTitle(), "Place cities");
    EXPECT_TRUE(z->RandomBtn->isChecked());
    EXPECT_EQ(z->AantalSpin->value(), 10);
    EXPECT_EQ(z->AantalSpin->minimum(), 2);
    EXPECT_EQ(z->AantalSpin->maximum(), 50);
    EXPECT_EQ(module->windowTitle(), "Travelling salesman");
    EXPECT_EQ(module->kaart()->picture().size(), QSize(318, 377));
}

TEST_F(TspWindows, RandomCitiesShowTheChoiceDialogAndTheMap) {
    Place(true, 10);
    EXPECT_FALSE(module->zetSteden()->isVisible());
    EXPECT_TRUE(module->dialoog()->isVisible());
    EXPECT_TRUE(module->kaart()->isVisible());
    EXPECT_EQ(module->dialoog()->AanwijzingBox->title(), "Instructions");
    EXPECT_EQ(module->dialoog()->Info->text(), "Choose your method from the list below");
    EXPECT_FALSE(module->dialoog()->TweeOptBtn->isEnabled());
    EXPECT_EQ(module->cities().size(), 10u);
    // Every city is drawn: its centre is red.
    for (const City& c : module->cities())
        EXPECT_EQ(module->kaart()->picture().pixel(c.x - 2, c.y), qRgb(255, 0, 0));
}

TEST_F(TspWindows, ExecutingWithoutAMethodAsksForOne) {
    Place(true, 6);
    QTest::mouseClick(module->dialoog()->HeuristiekBtn, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "No heuristic selected. Select a heuristic!");
    EXPECT_EQ(dialogs.messages[0].kind, MsgKind::Error);
    EXPECT_TRUE(module->dialoog()->HeuristiekBtn->isEnabled());
    EXPECT_FALSE(module->heuristicPresent());
}

TEST_F(TspWindows, StopAndEraseTwiceDuringAnAnimatedClosestNeighbourRun) {
    Place(true, 12);
    Select(2);
    ASSERT_TRUE(module->beginstad()->isVisible());
    module->beginstad()->FastBox->setChecked(false);
    int steps = 0;
    bool animatingBeforeFirst = false;
    bool animatingAfterFirst = true;
    bool runningAfterFirst = false;
    QObject::connect(module, &TTSP::constructionStep, module, [&] {
        ++steps;
        if (steps == 1) {
            // The first press during the animation only switches it off.
            animatingBeforeFirst = module->animating();
            QTest::mouseClick(module->dialoog()->WisBtn, Qt::LeftButton);
            animatingAfterFirst = module->animating();
            runningAfterFirst = module->constructionRunning();
        } else if (steps == 2) {
            // The second press cancels the construction and erases the tour.
            QTest::mouseClick(module->dialoog()->WisBtn, Qt::LeftButton);
        }
    });
    QTest::mouseClick(module->beginstad()->OKBtn, Qt::LeftButton);
    WaitForRuns();
    EXPECT_TRUE(animatingBeforeFirst);
    EXPECT_FALSE(animatingAfterFirst);
    EXPECT_TRUE(runningAfterFirst);
    EXPECT_EQ(steps, 2);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Heuristics cancelled, tour is deleted");
    EXPECT_EQ(dialogs.messages[0].kind, MsgKind::Confirmation);
    EXPECT_TRUE(module->heuristicTour().empty());
    EXPECT_FALSE(module->heuristicPresent());
    EXPECT_TRUE(module->dialoog()->HeuristiekBtn->isEnabled());
    EXPECT_EQ(module->dialoog()->Info->text(), "Choose your method from the list below");
    EXPECT_EQ(module->dialoog()->AanwijzingBox->title(), "Instructions");
}

TEST_F(TspWindows, CancellingTheGreatestAngleAnimationAsksInDutch) {
    Place(true, 12);
    dialogs.messageAnswers = {tarvik::ui::mrNo}; // not "Fast execution": animated
    int steps = 0;
    QObject::connect(module, &TTSP::constructionStep, module, [&] {
        if (++steps <= 2) QTest::mouseClick(module->dialoog()->WisBtn, Qt::LeftButton);
    });
    Select(3);
    WaitForRuns();
    EXPECT_EQ(steps, 2);
    const auto texts = dialogs.messageTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Fast execution");
    EXPECT_EQ(texts[1], "Heuristiek afgebroken, tour wordt gewist");
    EXPECT_EQ(dialogs.messages[1].kind, MsgKind::Confirmation);
    EXPECT_TRUE(module->heuristicTour().empty());
    EXPECT_FALSE(module->constructionRunning());
    // The next construction runs to its end.
    dialogs.messageAnswers = {tarvik::ui::mrYes};
    Select(3);
    WaitForRuns();
    EXPECT_TRUE(module->heuristicPresent());
    EXPECT_TRUE(IsPermutation(module->heuristicTour(), 12));
    EXPECT_NEAR(module->tourLength(), TourLength(module->heuristicTour(), DistanceTable(module->cities())),
                1e-9);
}

TEST_F(TspWindows, ClickPlacementIgnoresAPointWhereACityStandsAndTheOwnTourFollowsTheMouseRules) {
    Place(false, 3);
    EXPECT_TRUE(module->placingByClicks());
    EXPECT_FALSE(module->dialoog()->HeuristiekBtn->isEnabled());
    Move(50, 60);
    EXPECT_EQ(module->dialoog()->CoordDlg->text(), "( 50 , 60 )");
    Press(100, 120);
    Press(104, 110);
    // City 2's number covers city 1's centre: the press is still refused.
    ASSERT_NE(module->kaart()->picture().pixel(100, 120), qRgb(255, 0, 0));
    Press(100, 120);
    Press(2, 100); // too close to the edge
    Press(200, 200);
    ASSERT_TRUE(module->citiesComplete());
    EXPECT_EQ(module->cities(), (Cities{{100, 120}, {104, 110}, {200, 200}}));
    Move(150, 150);
    EXPECT_FALSE(module->placingByClicks());
    EXPECT_TRUE(module->dialoog()->HeuristiekBtn->isEnabled());
    EXPECT_EQ(module->report().lines().size(), 8u);
    EXPECT_EQ(module->report().lines()[6].text, "Location of city 3 is ( 200\t 200 )");

    Select(0);
    Press(200, 200); // city 3 starts the tour
    EXPECT_EQ(module->heuristicTour(), (Tour{3}));
    Press(200, 200, Qt::RightButton); // the first city stays
    EXPECT_EQ(module->heuristicTour(), (Tour{3}));
    Press(60, 300); // no city there
    Press(97, 121); // city 1, beside city 2's number
    EXPECT_EQ(module->heuristicTour(), (Tour{3, 1}));
    EXPECT_EQ(module->dialoog()->ResultLines(),
              (QStringList{"Construct own tour",
                           "Present length:" + QString::fromStdString(Fixed(module->tourLength(), 4, 2))}));
    Press(200, 200); // already in the tour
    EXPECT_EQ(module->heuristicTour(), (Tour{3, 1}));
    Press(97, 121, Qt::RightButton);
    EXPECT_EQ(module->heuristicTour(), (Tour{3}));
    EXPECT_DOUBLE_EQ(module->tourLength(), 0);
    Press(97, 121);
    Press(104, 110);
    ASSERT_TRUE(module->heuristicPresent());
    EXPECT_EQ(module->heuristicTour(), (Tour{3, 1, 2}));
    Press(104, 110, Qt::RightButton); // a finished tour stays
    EXPECT_EQ(module->heuristicTour(), (Tour{3, 1, 2}));
    const QStringList lines = module->dialoog()->ResultLines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[3], "Tour: 3 - 1 - 2 - 3");
}

TEST_F(TspWindows, TheReportHoldsTheCitiesAndOneBlockPerTour) {
    Place(true, 10);
    Select(2);
    QTest::mouseClick(module->beginstad()->OKBtn, Qt::LeftButton); // fast execution, city 1
    WaitForRuns();
    ASSERT_TRUE(module->heuristicPresent());
    EXPECT_EQ(module->heuristicTour().front(), 1);
    EXPECT_TRUE(module->dialoog()->TweeOptBtn->isEnabled());
    QTest::mouseClick(module->dialoog()->TweeOptBtn, Qt::LeftButton);
    const QStringList lines = module->dialoog()->ResultLines();
    ASSERT_GE(lines.size(), 7);
    EXPECT_TRUE(lines[4].startsWith("2-OPT improvement: ") || lines[4] == "Not improved with 2-OPT");

    QTest::mouseClick(module->dialoog()->DataBtn, Qt::LeftButton);
    ASSERT_TRUE(module->data()->isVisible());
    EXPECT_EQ(module->data()->windowTitle(), "Tourdata");
    const QString report = module->data()->Results->toPlainText();
    EXPECT_TRUE(report.contains("Chose are 10 cities with the following locations"));
    EXPECT_EQ(Count(report, "Location of city "), 10);
    EXPECT_EQ(Count(report, "The tour length is:"), 2);
    EXPECT_TRUE(report.contains("Closest neighbor heuristic\n"));
    EXPECT_TRUE(
        report.contains("The tour length is:" + QString::fromStdString(Fixed(module->tourLength(), 8, 4))));
    // The title in italic blue, the city headline in bold, the city lines plain.
    const QTextDocument* doc = module->data()->Results->document();
    const QTextCharFormat title = doc->findBlockByNumber(0).begin().fragment().charFormat();
    EXPECT_TRUE(title.fontItalic());
    EXPECT_EQ(title.foreground().color(), QColor(Qt::blue));
    EXPECT_EQ(doc->findBlockByNumber(1).text(), QString(54, '_'));
    EXPECT_EQ(doc->findBlockByNumber(3).begin().fragment().charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(doc->findBlockByNumber(4).begin().fragment().charFormat().fontWeight(), QFont::Normal);
    EXPECT_EQ(module->data()->size(), QSize(502, 335));
    QTest::mouseClick(module->data()->TerugBtn, Qt::LeftButton);
    EXPECT_FALSE(module->data()->isVisible());

    // New cities rebuild the report.
    QTest::mouseClick(module->dialoog()->CancelBtn, Qt::LeftButton);
    EXPECT_TRUE(module->zetSteden()->isVisible());
    EXPECT_FALSE(module->kaart()->isVisible());
    Place(true, 5);
    QTest::mouseClick(module->dialoog()->DataBtn, Qt::LeftButton);
    const QString fresh = module->data()->Results->toPlainText();
    EXPECT_EQ(Count(fresh, "Location of city "), 5);
    EXPECT_EQ(Count(fresh, "The tour length is:"), 0);
    EXPECT_FALSE(module->heuristicPresent());
}

TEST_F(TspWindows, SavingProposesTspBmpAndWritesTheMap) {
    Place(true, 8);
    Select(1);
    ASSERT_TRUE(module->heuristicPresent());
    QTemporaryDir dir;
    const QString file = dir.filePath("map.bmp");
    dialogs.fileAnswers.push_back(file);
    QTest::mouseClick(module->dialoog()->SpeedButton2, Qt::LeftButton);
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].fileName, "tsp.bmp");
    EXPECT_EQ(dialogs.fileRequests[0].filters.first(), "Bitmap-bestanden (*.bmp)");
    QImage saved(file, "BMP");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), QSize(318, 377));
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), module->kaart()->picture());
}

TEST_F(TspWindows, AFixedSeedPlacesTheCitiesAndDrawsTheTourOfTheCommandLine) {
    auto* seedCommand = module->findChild<QAction*>("SeedCommand");
    ASSERT_NE(seedCommand, nullptr);
    dialogs.textAnswers = {QStringLiteral("31")};
    seedCommand->trigger();
    tarvik::RandSeed = 5; // whatever the generator holds, the fixed seed rules
    Place(true, 8);
    Select(1);
    ASSERT_TRUE(module->heuristicPresent());
    EXPECT_EQ(tarvik::ui::LastRunSeed("tsp"), 31u);
    // The report, saved as text, is the command line's output.
    module->DataBtnClick();
    QTemporaryDir dir;
    dialogs.fileAnswers.push_back(dir.filePath("tour.txt"));
    module->data()->Results->findChild<QAction*>("SaveReportText")->trigger();
    module->data()->close();
    QFile saved(dir.filePath("tour.txt"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    std::ostringstream out, err;
    ASSERT_EQ(RunCli({"--tsp", "--random", "8", "--tour", "random", "--seed", "31"}, out, err), 0)
        << err.str();
    EXPECT_EQ(saved.readAll().toStdString(), out.str());
    // The map tells a screen reader the tour it shows.
    const QString description = module->kaart()->view()->accessibleDescription();
    EXPECT_TRUE(description.startsWith("8 cities; Random tour, tour length ")) << description.toStdString();
    const std::string text = out.str();
    const std::size_t tour = text.find("Tour: ");
    ASSERT_NE(tour, std::string::npos);
    EXPECT_TRUE(description.endsWith(QString::fromStdString(text.substr(tour, text.find('\n', tour) - tour))))
        << description.toStdString();
    tarvik::ui::SetFixedSeed("tsp", std::nullopt);
}

TEST_F(TspWindows, TheMapSavesAsADrawingOverTheMapImage) {
    Place(true, 8);
    Select(1);
    QTemporaryDir dir;
    const QString file = dir.filePath("map.svg");
    dialogs.fileAnswers.push_back(file);
    QTest::mouseClick(module->dialoog()->SpeedButton2, Qt::LeftButton);
    const auto svg = tarvik::test::InspectSvg(file);
    EXPECT_TRUE(svg.parses);
    // The map underneath is the one pixel image; markers and tour are shapes.
    EXPECT_EQ(svg.images, 1);
    EXPECT_GE(svg.shapes, 8 + 8);
    const QImage& picture = module->kaart()->picture();
    EXPECT_LT(tarvik::test::DifferingShare(tarvik::test::RenderSvg(file, picture.size()), picture), 0.03);
}

TEST_F(TspWindows, GreatestAngleThenTheExactTourWithBothOnTheMap) {
    Place(true, 9);
    dialogs.messageAnswers = {tarvik::ui::mrYes, tarvik::ui::mrNo}; // fast execution; no upper bound
    Select(3);
    WaitForRuns();
    ASSERT_TRUE(module->heuristicPresent());
    EXPECT_TRUE(IsPermutation(module->heuristicTour(), 9));
    EXPECT_EQ(module->dialoog()->ResultLines().front(), "Largest Angle approximation");
    QTest::mouseClick(module->dialoog()->ExactBtn, Qt::LeftButton);
    WaitForRuns();
    ASSERT_TRUE(module->optimalPresent());
    EXPECT_EQ(dialogs.messages[1].text, "Do you know an upper bound for the length of the optimal tour?");
    EXPECT_EQ(module->optimalTour().front(), 1);
    const DistanceTable d(module->cities());
    EXPECT_LE(TourLength(module->optimalTour(), d), TourLength(module->heuristicTour(), d) + 1e-9);
    EXPECT_EQ(module->bb()->ListBox->item(0)->text(), "Calculation ready!");
    EXPECT_EQ(module->bb()->Button->text(), "&Map");
    const QStringList lines = module->dialoog()->ResultLines();
    EXPECT_TRUE(lines.contains("Exact method"));
    EXPECT_EQ(lines.last(), QString::fromStdString(TourLine(module->optimalTour())));
    QTest::mouseClick(module->bb()->Button, Qt::LeftButton);
    EXPECT_FALSE(module->bb()->isVisible());
    // The optimal tour is white on the map: the middle of an edge that only it has.
    bool whiteSeen = false;
    const Tour& o = module->optimalTour();
    for (std::size_t q = 0; q < o.size(); ++q) {
        const int a = o[q], b = o[(q + 1) % o.size()];
        if (HasEdge(module->heuristicTour(), a, b)) continue;
        const City& ca = module->cities()[a - 1];
        const City& cb = module->cities()[b - 1];
        for (int t = 3; t <= 7 && !whiteSeen; ++t) {
            const int x = ca.x + (cb.x - ca.x) * t / 10, y = ca.y + (cb.y - ca.y) * t / 10;
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy)
                    whiteSeen =
                        whiteSeen || module->kaart()->picture().pixel(x + dx, y + dy) == qRgb(255, 255, 255);
        }
    }
    bool allShared = true;
    for (std::size_t q = 0; q < o.size(); ++q)
        allShared = allShared && HasEdge(module->heuristicTour(), o[q], o[(q + 1) % o.size()]);
    EXPECT_TRUE(whiteSeen || allShared);
}

TEST_F(TspWindows, UpperBoundDialogRefusesTextAndAsksAgainAfterAWrongLimit) {
    Place(true, 6);
    dialogs.messageAnswers = {tarvik::ui::mrYes};
    QTest::mouseClick(module->dialoog()->ExactBtn, Qt::LeftButton);
    ASSERT_TRUE(module->bbDlg()->isVisible());
    QTest::keyClicks(module->bbDlg()->BovengrensEdit, "abc");
    QTest::mouseClick(module->bbDlg()->OKBtn, Qt::LeftButton);
    EXPECT_EQ(dialogs.messages.back().text, "Wrong input!");
    EXPECT_TRUE(module->bbDlg()->isVisible());
    module->bbDlg()->BovengrensEdit->clear();
    QTest::keyClicks(module->bbDlg()->BovengrensEdit, "12,5");
    dialogs.messageAnswers = {tarvik::ui::mrOk, tarvik::ui::mrNo}; // the error, then "no bound"
    QTest::mouseClick(module->bbDlg()->OKBtn, Qt::LeftButton);
    WaitForRuns();
    ProcessEvents();
    WaitForRuns();
    const auto texts = dialogs.messageTexts();
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[2], "Wrong upper limit! There is no tour with this or shorter length.");
    EXPECT_EQ(texts[3], "Do you know an upper bound for the length of the optimal tour?");
    EXPECT_TRUE(module->optimalPresent());
}

TEST_F(TspWindows, StopDuringTheSearchShowsTheBestTourSoFar) {
    Place(true, 45);
    // Go on with the reduced matrix; no upper bound.
    dialogs.messageAnswers = {tarvik::ui::mrNo, tarvik::ui::mrNo};
    bool pressed = false;
    QObject::connect(module->bb()->ListBox->model(), &QAbstractItemModel::rowsInserted, module, [&] {
        if (pressed || !module->searchRunning()) return;
        pressed = true;
        QTest::mouseClick(module->bb()->Button, Qt::LeftButton);
    });
    QTest::mouseClick(module->dialoog()->ExactBtn, Qt::LeftButton);
    WaitForRuns();
    ASSERT_TRUE(pressed);
    ASSERT_TRUE(module->optimalPresent());
    EXPECT_EQ(dialogs.messageTexts().back(),
              "The exact solutions has not yet been found! The best solution so far is shown");
    EXPECT_TRUE(IsPermutation(module->optimalTour(), 45));
    EXPECT_EQ(module->bb()->ListBox->count(), 2);
    EXPECT_TRUE(module->report().PlainText().find(kDemolishedExact) != std::string::npos);
    // The table is whole again: a fresh closest-neighbour tour has its true length.
    Select(2);
    QTest::mouseClick(module->beginstad()->OKBtn, Qt::LeftButton);
    WaitForRuns();
    EXPECT_NEAR(module->tourLength(), TourLength(module->heuristicTour(), DistanceTable(module->cities())),
                1e-9);
}

TEST_F(TspWindows, ClosingTheModuleDuringAnAnimatedRunEndsIt) {
    Place(true, 10);
    Select(2);
    module->beginstad()->FastBox->setChecked(false);
    QObject::connect(module, &TTSP::constructionStep, module, [this] { module->closeModule(); });
    QTest::mouseClick(module->beginstad()->OKBtn, Qt::LeftButton);
    for (int i = 0; i < 200 && module; ++i) ProcessEvents();
    EXPECT_TRUE(module.isNull());
}

QByteArray ReadAll(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(TspWindows, CitiesRoundTripThroughSaveAndOpenByteForByte) {
    Place(true, 12);
    const Cities placed = module->cities();
    QTemporaryDir dir;
    dialogs.fileAnswers = {dir.filePath("mine"), dir.filePath("mine.txt"), dir.filePath("again.txt")};
    module->findChild<QAction*>("SaveCities")->trigger(); // the extension is added
    EXPECT_EQ(dialogs.fileRequests[0].caption, "Save cities");
    EXPECT_EQ(dialogs.fileRequests[0].directory,
              QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    Place(true, 5);
    module->findChild<QAction*>("OpenCities")->trigger();
    EXPECT_EQ(dialogs.fileRequests[1].caption, "Open cities");
    EXPECT_EQ(dialogs.fileRequests[1].directory, dir.path()); // where the last file went
    // As "Own choice" with twelve cities, all placed: the methods are offered.
    EXPECT_EQ(module->cities(), placed);
    EXPECT_TRUE(module->zetSteden()->OwnBtn->isChecked());
    EXPECT_EQ(module->zetSteden()->AantalSpin->value(), 12);
    EXPECT_FALSE(module->placingByClicks());
    EXPECT_TRUE(module->dialoog()->isVisible() && module->kaart()->isVisible());
    EXPECT_EQ(module->dialoog()->Info->text(), "Choose your method from the list below");
    EXPECT_TRUE(module->dialoog()->HeuristiekBtn->isEnabled() && module->dialoog()->ExactBtn->isEnabled());
    const QString city12 =
        QStringLiteral("Location of city 12 is ( %1\t %2 )").arg(placed[11].x).arg(placed[11].y);
    EXPECT_NE(module->report().PlainText().find(city12.toStdString()), std::string::npos);
    module->findChild<QAction*>("SaveCities")->trigger();
    const QByteArray first = ReadAll(dir.filePath("mine.txt"));
    EXPECT_TRUE(first.startsWith("# 12 cities of the travelling salesman: x y\n"));
    EXPECT_EQ(ReadAll(dir.filePath("again.txt")), first);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(TspWindows, AFileTheMapCannotShowIsRefusedWithWhatIsWrong) {
    Place(true, 6);
    const Cities before = module->cities();
    QTemporaryDir dir;
    const QString name = dir.filePath("c.txt");
    struct Case {
        const char* text;
        QString message;
    };
    for (const Case& c : {Case{"10 10\n20 x\n", name + ":2: \"x\" is not a whole number"},
                          Case{"10 10\n20 30\n315 40\n", name + ": city 3 at (315, 40) lies off the map "
                                                                "(x from 4 to 314, y from 4 to 363)"},
                          Case{"10 10\n", name + ":1: fewer than 2 cities (found 1)"}}) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.text);
        f.close();
        dialogs.fileAnswers = {name};
        module->findChild<QAction*>("OpenCities")->trigger();
        ASSERT_FALSE(dialogs.messages.empty());
        EXPECT_EQ(dialogs.messages.back().text, c.message);
        EXPECT_EQ(dialogs.messages.back().kind, MsgKind::Error);
        EXPECT_EQ(module->cities(), before);
    }
}

TEST_F(TspWindows, ExamplesOpenInTheExamplesFolderAndLeaveTheUsersFolderAlone) {
    Place(true, 6);
    const QString folder = tarvik::ui::ExamplesFolder("tsp");
    ASSERT_TRUE(folder.endsWith("/examples/tsp")) << folder.toStdString();
    dialogs.fileAnswers = {folder + "/capitals48.txt", std::nullopt};
    module->findChild<QAction*>("ExamplesCommand")->trigger();
    EXPECT_EQ(dialogs.fileRequests[0].directory, folder);
    EXPECT_EQ(module->cities().size(), 48u);
    EXPECT_TRUE(dialogs.messages.empty());
    module->findChild<QAction*>("OpenCities")->trigger();
    EXPECT_EQ(dialogs.fileRequests[1].directory,
              QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

TEST_F(TspWindows, ManyCitiesOfferTheOneTreeBoundWhichProvesTheTour) {
    Place(true, 40);
    EXPECT_EQ(module->dialoog()->BoundBox->currentText(), "Reduced matrix (as in the course)");
    dialogs.messageAnswers = {tarvik::ui::mrYes, tarvik::ui::mrNo}; // the 1-tree bound; no upper bound
    QTest::mouseClick(module->dialoog()->ExactBtn, Qt::LeftButton);
    WaitForRuns();
    ASSERT_TRUE(module->optimalPresent());
    const auto texts = dialogs.messageTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "With 40 cities the search with the reduced matrix bound may take very long. Use the "
                        "1-tree bound (Held–Karp) instead?");
    EXPECT_EQ(dialogs.messages[0].kind, MsgKind::Confirmation);
    EXPECT_EQ(module->dialoog()->BoundBox->currentText(), "1-tree (Held–Karp)");
    const QStringList lines = module->dialoog()->ResultLines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "Exact method");
    EXPECT_EQ(lines[1], "Optimal tour, proven");
    EXPECT_TRUE(lines[2].startsWith("Tour length "));
    EXPECT_EQ(lines[3], QString::fromStdString(TourLine(module->optimalTour())));
    EXPECT_TRUE(IsPermutation(module->optimalTour(), 40));
    EXPECT_EQ(module->bb()->ListBox->item(0)->text(), "Calculation ready!");
    EXPECT_TRUE(module->bb()->ListBox->item(1)->text().startsWith("Length best tour until now "));
    EXPECT_NE(module->report().PlainText().find(kExactTour), std::string::npos);
    // With the 1-tree bound chosen the question is not asked again.
    QTest::mouseClick(module->dialoog()->WisBtn, Qt::LeftButton);
    dialogs.clear();
    dialogs.messageAnswers = {tarvik::ui::mrNo};
    QTest::mouseClick(module->dialoog()->ExactBtn, Qt::LeftButton);
    WaitForRuns();
    EXPECT_EQ(dialogs.messageTexts(),
              std::vector<QString>{"Do you know an upper bound for the length of the optimal tour?"});
}

TEST_F(TspWindows, AStoppedOneTreeSearchSaysItIsNotProven) {
    Place(true, 30);
    module->dialoog()->BoundBox->setCurrentIndex(1);
    dialogs.messageAnswers = {tarvik::ui::mrNo};
    QObject::connect(module->bb()->ListBox->model(), &QAbstractItemModel::rowsInserted, module, [&] {
        if (module->searchRunning()) QTest::mouseClick(module->bb()->Button, Qt::LeftButton);
    });
    QTest::mouseClick(module->dialoog()->ExactBtn, Qt::LeftButton);
    WaitForRuns();
    ASSERT_TRUE(module->optimalPresent());
    EXPECT_EQ(dialogs.messageTexts().back(),
              "The exact solutions has not yet been found! The best solution so far is shown");
    EXPECT_EQ(module->dialoog()->ResultLines()[1], "Best tour found; search stopped, not proven optimal");
    EXPECT_NE(module->report().PlainText().find(kDemolishedExact), std::string::npos);
}

struct Keys {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = {};
    int times = 1;
};

void Type(QWidget* w, const std::vector<Keys>& keys) {
    for (const Keys& k : keys)
        for (int i = 0; i < k.times; ++i) QTest::keyClick(w, k.key, k.modifiers);
}

// The keys do on the map what the mouse does: the arrows move a pointer (ten
// pixels with Shift, never off the map), Enter and Space click at it, Shift+Enter
// and the menu key click with the right button.
TEST_F(TspWindows, TheKeyboardPlacesCitiesAndBuildsTheOwnTourAsClicksDo) {
    Place(false, 3);
    TPlaatje* view = module->kaart()->view();
    const QImage picture = module->kaart()->picture();
    auto shown = [view] { return view->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    // The pointer shows once Tab is used, only while the map has the focus; the picture itself
    // never changes.
    view->window()->activateWindow();
    ProcessEvents();
    ASSERT_TRUE(view->hasFocus()); // the map is its window's only stop
    EXPECT_EQ(shown(), picture);
    QTest::keyClick(view, Qt::Key_Tab);
    ASSERT_TRUE(view->hasFocus());
    EXPECT_NE(shown(), picture);
    EXPECT_EQ(module->kaart()->picture(), picture);

    struct Step {
        const char* what;
        std::vector<Keys> keys;
        const char* coordinates; // where the last move took the pointer
        Cities cities;
    };
    const Qt::KeyboardModifiers Shift = Qt::ShiftModifier;
    const std::vector<Step> steps = {
        {"from the middle, Enter",
         {{Qt::Key_Right, {}, 3}, {Qt::Key_Down}, {Qt::Key_Return}},
         "( 162 , 189 )",
         {{162, 189}}},
        {"ten pixels with Shift, Space",
         {{Qt::Key_Left, Shift, 3}, {Qt::Key_Up, Shift, 2}, {Qt::Key_Space}},
         "( 132 , 169 )",
         {{162, 189}, {132, 169}}},
        {"where a city stands", {{Qt::Key_Space}}, "( 132 , 169 )", {{162, 189}, {132, 169}}},
        {"stopped at the left edge, too close to it",
         {{Qt::Key_Left, Shift, 40}, {Qt::Key_Enter}},
         "( 0 , 169 )",
         {{162, 189}, {132, 169}}},
        {"stopped at the bottom right corner",
         {{Qt::Key_Down, Shift, 40}, {Qt::Key_Right, Shift, 40}},
         "( 317 , 376 )",
         {{162, 189}, {132, 169}}},
        {"back in, the last city",
         {{Qt::Key_Left, Shift, 10}, {Qt::Key_Up, Shift, 10}, {Qt::Key_Return}},
         "( 217 , 276 )",
         {{162, 189}, {132, 169}, {217, 276}}},
    };
    for (const Step& s : steps) {
        Type(view, s.keys);
        EXPECT_EQ(module->dialoog()->CoordDlg->text(), s.coordinates) << s.what;
        Cities placed = module->cities(); // the cities not yet placed stand at (0, 0)
        placed.resize(s.cities.size());
        EXPECT_EQ(placed, s.cities) << s.what;
    }
    ASSERT_TRUE(module->citiesComplete());
    Type(view, {{Qt::Key_Up}}); // a move ends the placement, as the mouse's does
    EXPECT_FALSE(module->placingByClicks());

    Select(0);
    const std::vector<std::pair<std::vector<Keys>, Tour>> tour = {
        {{{Qt::Key_Down}, {Qt::Key_Return}}, {3}}, // on city 3
        {{{Qt::Key_Left, Shift, 5},
          {Qt::Key_Left, {}, 5},
          {Qt::Key_Up, Shift, 8},
          {Qt::Key_Up, {}, 7},
          {Qt::Key_Space}},
         {3, 1}},                         // on city 1
        {{{Qt::Key_Return, Shift}}, {3}}, // a step back
        {{{Qt::Key_Return}}, {3, 1}},
        {{{Qt::Key_Menu}}, {3}},
    };
    for (const auto& [keys, expected] : tour) {
        Type(view, keys);
        EXPECT_EQ(module->heuristicTour(), expected);
    }
    view->clearFocus();
    EXPECT_EQ(shown(), module->kaart()->picture());
}

TEST_F(TspWindows, NumbersBeyondALimitTakeItAndTheAnimatedPartialTourIsDrawnClosed) {
    for (auto [typed, shown] : {std::pair{"1", "2"}, {"60", "50"}, {"6", "6"}})
        EXPECT_EQ(tarvik::test::TypeAndTab(module->zetSteden()->AantalSpin, typed), shown);
    QTest::mouseClick(module->zetSteden()->OKBtn, Qt::LeftButton);
    ProcessEvents();
    Select(2);
    module->beginstad()->FastBox->setChecked(false);
    EXPECT_EQ(tarvik::test::TypeAndTab(module->beginstad()->StartSpin, "99"), "6");
    bool closed = false; // three cities on the path: the edge back to the first is red
    QObject::connect(module, &TTSP::constructionStep, module, [&] {
        const Tour& t = module->heuristicTour();
        const City& a = module->cities()[static_cast<std::size_t>(t.back() - 1)];
        const City& b = module->cities()[static_cast<std::size_t>(t.front() - 1)];
        for (int d = 0; d < 9 && t.size() == 3; ++d)
            closed |= module->kaart()->picture().pixel((a.x + b.x) / 2 + d % 3 - 1,
                                                       (a.y + b.y) / 2 + d / 3 - 1) == qRgb(255, 0, 0);
        if (t.size() == 3)
            QTest::mouseClick(module->dialoog()->WisBtn, Qt::LeftButton); // the rest at full speed
    });
    QTest::mouseClick(module->beginstad()->OKBtn, Qt::LeftButton);
    WaitForRuns();
    EXPECT_TRUE(closed);
    ASSERT_EQ(module->heuristicTour().size(), 6u);
    EXPECT_EQ(module->heuristicTour().front(), 6);
}

} // namespace
} // namespace tarvik::tsp::ui
