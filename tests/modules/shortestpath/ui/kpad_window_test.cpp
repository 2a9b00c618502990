#include "common/random.h"
#include "common/ui/examples.h"
#include "common/ui/keyboardpointer.h"
#include "common/ui/seed.h"
#include "modules/shortestpath/gridfile.h"
#include "modules/shortestpath/shortestpathcli.h"
#include "modules/shortestpath/ui/kpadmodule.h"
#include "modules/shortestpath/ui/kpadunit.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sstream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace tarvik::shortestpath::ui {
namespace {

using tarvik::test::ProcessEvents;
using tarvik::test::ScriptedDialogs;

class KPadWindow : public ::testing::Test {
protected:
    void SetUp() override {
        module = static_cast<TKPad*>(CreateKortstePadWindow(nullptr));
        module->show();
        ProcessEvents();
        opties = module->settings();
        dlg = module->dialog();
        net = module->networkWindow();
    }
    void TearDown() override {
        if (module) module->closeModule();
        for (int i = 0; i < 50 && module; ++i) ProcessEvents();
        delete module.data();
    }

    void SetSpin(QSpinBox* spin, int value) {
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, QString::number(value));
    }
    void Click(QPushButton* b) {
        ASSERT_TRUE(b->isVisible() && b->isEnabled()) << b->objectName().toStdString();
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // The settings dialog's "OK" with a fixed length or random lengths.
    void Start(int rows, int columns, int fixed = 0) {
        SetSpin(opties->RijEdit, rows);
        SetSpin(opties->KolomEdit, columns);
        if (fixed > 0) {
            QTest::mouseClick(opties->FixedBtn, Qt::LeftButton, {},
                              QPoint(6, opties->FixedBtn->height() / 2));
            SetSpin(opties->VasteLengteEdit, fixed);
        } else {
            QTest::mouseClick(opties->RandomBtn, Qt::LeftButton, {},
                              QPoint(6, opties->RandomBtn->height() / 2));
        }
        Click(opties->OKBtn);
        ProcessEvents();
    }
    void Choose(int row) {
        QListWidget* list = dlg->HeuristiekList;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    void Press(QPoint p) { QTest::mouseClick(net, Qt::LeftButton, {}, p); }
    // The state after "OK", "Delete paths" and "End Edit".
    void ExpectStartState() {
        EXPECT_TRUE(dlg->AanwijzingBox->isVisible());
        EXPECT_EQ(dlg->AanwijzingLbl->text(), "Select one of the heuristics below");
        for (QPushButton* b :
             {dlg->ToonLengtesBtn, dlg->OptPadBtn, dlg->UitvoerBtn, dlg->WisBtn, dlg->WijzigBtn})
            EXPECT_TRUE(b->isEnabled()) << b->text().toStdString();
        EXPECT_EQ(dlg->ToonLengtesBtn->text(), "Hide distances");
        EXPECT_EQ(dlg->WijzigBtn->text(), "Edit distances");
        EXPECT_EQ(dlg->UitkomstTekstLbl->text(), "");
        EXPECT_EQ(dlg->EigenPadLabel->text(), "");
        EXPECT_FALSE(dlg->StuurBox->isVisible());
        EXPECT_TRUE(dlg->HeuristiekBox->isVisible());
        EXPECT_EQ(dlg->OptPadLabel->text(), QString::fromStdString(LengthText(module->optimal().length())));
        EXPECT_FALSE(module->editMode());
        EXPECT_EQ(module->ownPath().steps(), 0);
    }

    ScriptedDialogs dialogs;
    QPointer<TKPad> module;
    QPointer<TKPadOpties> opties;
    QPointer<TKPadDialoog> dlg;
    QPointer<TKPadNetwerk> net;
};

QByteArray ReadAll(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(KPadWindow, NetworksRoundTripThroughSaveAndOpenByteForByte) {
    Start(4, 5);
    const std::string saved = NetworkText(module->network());
    QTemporaryDir dir;
    dialogs.fileAnswers = {dir.filePath("net"), dir.filePath("net.txt"), dir.filePath("again.txt")};
    module->findChild<QAction*>("SaveNetwork")->trigger(); // the extension is added
    EXPECT_EQ(dialogs.fileRequests[0].caption, "Save network");
    EXPECT_EQ(dialogs.fileRequests[0].directory,
              QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    EXPECT_EQ(ReadAll(dir.filePath("net.txt")).toStdString(), saved);
    Click(dlg->TerugBtn);
    Start(2, 2, 7);
    module->findChild<QAction*>("OpenNetwork")->trigger();
    EXPECT_EQ(dialogs.fileRequests[1].caption, "Open network");
    EXPECT_EQ(dialogs.fileRequests[1].directory, dir.path());
    // As after "OK" with the file's network.
    EXPECT_EQ(NetworkText(module->network()), saved);
    EXPECT_EQ(opties->RijEdit->value(), 4);
    EXPECT_EQ(opties->KolomEdit->value(), 5);
    EXPECT_FALSE(opties->isVisible());
    EXPECT_TRUE(dlg->isVisible() && net->isVisible());
    ExpectStartState();
    module->findChild<QAction*>("SaveNetwork")->trigger();
    EXPECT_EQ(ReadAll(dir.filePath("again.txt")).toStdString(), saved);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(KPadWindow, AWrongNetworkFileIsRefusedWithItsLine) {
    Start(3, 3, 5);
    QTemporaryDir dir;
    const QString name = dir.filePath("bad.txt");
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("rows 1\ncolumns 1\nup\n5 x\nright\n1\n2\n");
    f.close();
    dialogs.fileAnswers = {name};
    module->findChild<QAction*>("OpenNetwork")->trigger();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              name + ":4: a length must be a whole number from 0 to 100, not \"x\"");
    EXPECT_EQ(module->network().rows, 3);
}

TEST_F(KPadWindow, ExamplesOpenInTheExamplesFolder) {
    const QString folder = tarvik::ui::ExamplesFolder("shortestpath");
    ASSERT_TRUE(folder.endsWith("/examples/shortestpath")) << folder.toStdString();
    dialogs.fileAnswers = {folder + "/trap.txt"};
    module->findChild<QAction*>("ExamplesCommand")->trigger();
    EXPECT_EQ(dialogs.fileRequests[0].directory, folder);
    EXPECT_EQ(dlg->OptPadLabel->text(), "120");
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(KPadWindow, OpensWithTheSettingsDialogAndItsDefaults) {
    EXPECT_EQ(module->windowTitle(), "Shortest path");
    ASSERT_EQ(module->moduleMenus().size(), 3);
    EXPECT_EQ(module->moduleMenus()[0]->title(), "File");
    EXPECT_EQ(module->moduleMenus()[0]->actions().last()->text(), "Close shortest path");
    EXPECT_EQ(module->moduleMenus()[1]->title(), "Options");
    EXPECT_FALSE(module->moduleMenus()[1]->menuAction()->isVisible());
    EXPECT_EQ(module->settingsAction()->text(), "Settings");
    EXPECT_FALSE(module->settingsAction()->isEnabled()); // the settings dialog is open
    EXPECT_EQ(module->moduleMenus()[2]->title(), "Help");
    EXPECT_EQ(module->moduleMenus()[2]->actions()[0]->text(), "Explanation");

    EXPECT_TRUE(opties->isVisible());
    EXPECT_EQ(opties->windowTitle(), "Settings");
    EXPECT_EQ(opties->RijEdit->value(), 10);
    EXPECT_EQ(opties->KolomEdit->value(), 10);
    EXPECT_EQ(opties->RijEdit->minimum(), 1);
    EXPECT_EQ(opties->RijEdit->maximum(), 10);
    EXPECT_EQ(opties->KolomEdit->maximum(), 10);
    EXPECT_EQ(opties->VasteLengteEdit->minimum(), 1);
    EXPECT_EQ(opties->VasteLengteEdit->maximum(), 100);
    EXPECT_EQ(opties->VasteLengteEdit->value(), 10);
    EXPECT_TRUE(opties->RandomBtn->isChecked());
    EXPECT_EQ(opties->RandomBtn->text(), "Random lengths");
    EXPECT_EQ(opties->FixedBtn->text(), "Fixed length");
    EXPECT_FALSE(opties->VasteLengteEdit->isEnabled());
    QTest::mouseClick(opties->FixedBtn, Qt::LeftButton, {}, QPoint(6, opties->FixedBtn->height() / 2));
    EXPECT_TRUE(opties->VasteLengteEdit->isEnabled());
    QTest::mouseClick(opties->RandomBtn, Qt::LeftButton, {}, QPoint(6, opties->RandomBtn->height() / 2));
    EXPECT_FALSE(opties->VasteLengteEdit->isEnabled());
    EXPECT_TRUE(opties->OKBtn->isDefault());

    EXPECT_FALSE(dlg->isVisible());
    EXPECT_FALSE(net->isVisible());
    EXPECT_EQ(dlg->windowTitle(), "Dialogue");
    EXPECT_EQ(net->windowTitle(), "Network");
    EXPECT_EQ(net->size(), QSize(382, 385));
    EXPECT_EQ(dlg->AanwijzingLbl->text(), "Gestures");
}

TEST_F(KPadWindow, FieldsTurnYellowWithTheFocusAndKeepToTheirRanges) {
    opties->activateWindow();
    opties->KolomEdit->setFocus();
    ProcessEvents();
    EXPECT_EQ(opties->KolomEdit->palette().color(QPalette::Base), QColor(Qt::yellow));
    opties->RijEdit->setFocus();
    ProcessEvents();
    EXPECT_EQ(opties->RijEdit->palette().color(QPalette::Base), QColor(Qt::yellow));
    EXPECT_NE(opties->KolomEdit->palette().color(QPalette::Base), QColor(Qt::yellow));
    SetSpin(opties->RijEdit, 25); // "2" is taken, "5" makes 25 and is refused
    EXPECT_LE(opties->RijEdit->value(), 10);
    Start(0, 3);
    EXPECT_GE(module->network().rows, 1);
}

TEST_F(KPadWindow, OKBuildsANetworkWithNewRandomLengthsEveryTime) {
    RandSeed = 4242;
    Start(4, 6);
    Network expected;
    expected.rows = 4;
    expected.columns = 6;
    RandSeed = 4242;
    DrawRandomLengths(expected);
    EXPECT_EQ(module->network().rows, 4);
    EXPECT_EQ(module->network().columns, 6);
    EXPECT_EQ(module->network().up, expected.up);
    EXPECT_EQ(module->network().right, expected.right);
    EXPECT_FALSE(opties->isVisible());
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(net->isVisible());
    EXPECT_TRUE(module->settingsAction()->isEnabled());
    EXPECT_EQ(dlg->OptPadLabel->text(),
              QString::fromStdString(LengthText(ComputeOptimal(expected).length())));
    ExpectStartState();

    // "Previous" goes back to the settings; "OK" draws again.
    Click(dlg->TerugBtn);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_FALSE(net->isVisible());
    EXPECT_TRUE(opties->isVisible());
    EXPECT_FALSE(module->settingsAction()->isEnabled());
    Click(opties->OKBtn);
    EXPECT_NE(module->network().up, expected.up);
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(KPadWindow, AFixedSeedDrawsTheLengthsOfTheCommandLine) {
    auto* seedCommand = module->findChild<QAction*>("SeedCommand");
    ASSERT_NE(seedCommand, nullptr);
    dialogs.textAnswers = {QStringLiteral("4243")};
    seedCommand->trigger();
    RandSeed = 1;
    Start(4, 6);
    EXPECT_EQ(tarvik::ui::LastRunSeed("shortestpath"), 4243u);
    std::ostringstream out, err;
    ASSERT_EQ(
        RunCli({"--grid", "--rows", "4", "--columns", "6", "--seed", "4243", "--print-network"}, out, err), 0)
        << err.str();
    EXPECT_EQ(NetworkText(module->network()), out.str());
    std::ostringstream optimum;
    ASSERT_EQ(RunCli({"--grid", "--rows", "4", "--columns", "6", "--seed", "4243"}, optimum, err), 0);
    EXPECT_EQ(optimum.str().substr(0, optimum.str().find('\n')),
              "Length optimal path: " + dlg->OptPadLabel->text().toStdString());
    tarvik::ui::SetFixedSeed("shortestpath", std::nullopt);
}

TEST_F(KPadWindow, NoHeuristicSelectedIsAnError) {
    Start(3, 3);
    Click(dlg->UitvoerBtn);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "No heuristic yet. Please select one");
    EXPECT_EQ(dialogs.messages[0].kind, tarvik::ui::MsgKind::Error);
    ExpectStartState();
}

TEST_F(KPadWindow, OwnPathStepsWithTheArrowsAndShowsLengthPlusOptimalRest) {
    Start(2, 3, 5);
    Choose(0);
    Click(dlg->UitvoerBtn);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dlg->StuurBox->isVisible());
    EXPECT_FALSE(dlg->HeuristiekBox->isVisible());
    EXPECT_FALSE(dlg->AanwijzingBox->isVisible());
    EXPECT_EQ(dlg->UitkomstTekstLbl->text(), "Your path + optimal continus:");
    EXPECT_EQ(dlg->EigenPadLabel->text(), "");
    EXPECT_FALSE(dlg->WijzigBtn->isEnabled());
    EXPECT_FALSE(dlg->UitvoerBtn->isEnabled());
    EXPECT_TRUE(dlg->OptPadBtn->isEnabled());
    EXPECT_TRUE(dlg->WisBtn->isEnabled());
    EXPECT_TRUE(dlg->UPBtn->isEnabled() && dlg->RightBtn->isEnabled());

    Click(dlg->RightBtn);
    EXPECT_EQ(dlg->EigenPadLabel->text(), "25"); // 5 + 4 * 5 on a network of equal arcs
    Click(dlg->UPBtn);
    Click(dlg->UPBtn);
    EXPECT_FALSE(dlg->UPBtn->isEnabled()); // on the top row
    EXPECT_TRUE(dlg->RightBtn->isEnabled());
    Click(dlg->RightBtn);
    Click(dlg->RightBtn);
    EXPECT_FALSE(dlg->RightBtn->isEnabled());
    EXPECT_EQ(module->ownPath().node(), (Node{3, 2}));
    EXPECT_EQ(dlg->EigenPadLabel->text(), "25");
    EXPECT_EQ(module->ownPath().length(), 25);
    EXPECT_EQ(MovesText(module->ownPath().moves()), "R U U R R");

    // The own path over the optimal one alternates red and blue.
    Click(dlg->OptPadBtn);
    EXPECT_EQ(dlg->AanwijzingLbl->text(), " The length of the optimal path is 25.00");
    EXPECT_FALSE(dlg->OptPadBtn->isEnabled());
    EXPECT_FALSE(dlg->WijzigBtn->isEnabled());
    Click(dlg->ToonLengtesBtn); // the labels would cover parts of the segments
    const QImage& picture = net->picture();
    const Pixel shared = NodePixel({0, 1}, 2); // U(0,1) is optimal, own path runs U(1,0), U(1,1)
    EXPECT_EQ(picture.pixelColor(shared.x, shared.y - 4), kPathBlue);
    const Pixel both = NodePixel({1, 2}, 2); // Rt(1, 2) lies on both paths
    for (int d : {4, 12, 20, 28})
        EXPECT_EQ(picture.pixelColor(both.x + d, both.y), d % 8 == 4 && d % 16 == 4 ? kPathRed : kPathBlue)
            << d;
    const Pixel own = NodePixel({1, 0}, 2); // U(1, 0) is on the own path only
    EXPECT_EQ(picture.pixelColor(own.x, own.y - 12), kPathRed);
    // Screen readers hear both paths with their lengths (the optimum as the recursion found it).
    EXPECT_EQ(
        net->accessibleDescription().toStdString(),
        "Network of 3 by 2 arcs from (0, 0) to (3, 2); optimal path (blue): 5 arcs, length " +
            std::to_string(static_cast<int>(module->optimal().length())) +
            ", ending at (3, 2); own or heuristic path (red): 5 arcs, length 25, ending at (3, 2); distances "
            "hidden");

    Click(dlg->WisBtn);
    ExpectStartState();
    EXPECT_FALSE(module->optimalShown());
}

TEST_F(KPadWindow, OwnValueNeverBelowTheOptimumOnRandomLengths) {
    RandSeed = 77;
    Start(5, 5);
    Choose(0);
    Click(dlg->UitvoerBtn);
    const double optimum = module->optimal().length();
    for (QPushButton* b : {dlg->UPBtn, dlg->RightBtn, dlg->RightBtn, dlg->UPBtn, dlg->UPBtn, dlg->RightBtn,
                           dlg->RightBtn, dlg->UPBtn, dlg->UPBtn, dlg->RightBtn}) {
        Click(b);
        const double shown = dlg->EigenPadLabel->text().toDouble();
        EXPECT_GE(shown, optimum);
        EXPECT_EQ(shown, module->ownPath().length() + module->optimal().remaining(module->ownPath().node()));
    }
}

TEST_F(KPadWindow, HeuristicsRunToTheDestination) {
    RandSeed = 9;
    Start(6, 4);
    for (int row : {1, 2}) {
        Choose(row);
        Click(dlg->UitvoerBtn);
        const OwnPath expected =
            RunHeuristic(module->network(), row == 1 ? Heuristic::Myopic : Heuristic::NearlyMyopic);
        EXPECT_EQ(dlg->UitkomstTekstLbl->text(), "Length heuristic path:");
        EXPECT_EQ(dlg->EigenPadLabel->text(), QString::fromStdString(LengthText(expected.length())));
        EXPECT_EQ(module->ownPath().moves(), expected.moves());
        EXPECT_FALSE(dlg->AanwijzingBox->isVisible());
        EXPECT_TRUE(dlg->HeuristiekBox->isVisible());
        EXPECT_FALSE(dlg->StuurBox->isVisible());
        EXPECT_FALSE(dlg->UitvoerBtn->isEnabled());
        EXPECT_FALSE(dlg->WijzigBtn->isEnabled());
        EXPECT_TRUE(dlg->OptPadBtn->isEnabled());
        EXPECT_GE(expected.length(), module->optimal().length());
        Click(dlg->WisBtn);
        ExpectStartState();
    }
}

TEST_F(KPadWindow, DistancesCanBeHiddenAndShown) {
    Start(2, 2, 10);
    const QImage shown = net->picture();
    Click(dlg->ToonLengtesBtn);
    EXPECT_EQ(dlg->ToonLengtesBtn->text(), "Show distances");
    EXPECT_FALSE(module->distancesShown());
    EXPECT_NE(net->picture(), shown);
    Click(dlg->ToonLengtesBtn);
    EXPECT_EQ(dlg->ToonLengtesBtn->text(), "Hide distances");
    EXPECT_EQ(net->picture(), shown);
    // Editing always shows them.
    Click(dlg->ToonLengtesBtn);
    Click(dlg->WijzigBtn);
    EXPECT_TRUE(module->distancesShown());
    EXPECT_EQ(dlg->ToonLengtesBtn->text(), "Hide distances");
}

TEST_F(KPadWindow, EditModeChangesALengthAndTheOptimumOnlyAtEndEdit) {
    Start(2, 2, 10);
    // Outside edit mode every press beeps.
    Press(QPoint(46, BaseLine(2) - 16));
    EXPECT_EQ(net->beeps(), 1);
    EXPECT_FALSE(module->distanceDialog()->isVisible());

    Click(dlg->WijzigBtn);
    EXPECT_TRUE(module->editMode());
    EXPECT_EQ(dlg->WijzigBtn->text(), "End Edit");
    EXPECT_EQ(net->cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(dlg->AanwijzingLbl->text(),
              "Click on the distances you wish to change. Click on end edit to continue");
    for (QPushButton* b : {dlg->ToonLengtesBtn, dlg->OptPadBtn, dlg->UitvoerBtn, dlg->WisBtn})
        EXPECT_FALSE(b->isEnabled());
    EXPECT_TRUE(dlg->WijzigBtn->isEnabled());
    EXPECT_TRUE(dlg->TerugBtn->isEnabled());

    // Outside the grid area, and where the formula would reach an arc that leaves the grid.
    Press(QPoint(10, 10));
    Press(QPoint(25, 25));
    Press(QPoint(32 * 2 + 34, 60));
    EXPECT_EQ(net->beeps(), 4);
    EXPECT_FALSE(module->distanceDialog()->isVisible());

    // Inside the label of U(0, 0): the dialog opens with its length.
    const int B = BaseLine(2);
    Press(QPoint(30, B - 16));
    TKPadAfstand* afstand = module->distanceDialog();
    ASSERT_TRUE(afstand->isVisible());
    EXPECT_TRUE(afstand->isModal());
    EXPECT_EQ(afstand->windowTitle(), "Edit distances");
    EXPECT_EQ(afstand->AfstandEdit->value(), 10);
    EXPECT_EQ(afstand->AfstandEdit->minimum(), 0);
    EXPECT_EQ(afstand->AfstandEdit->maximum(), 100);
    EXPECT_TRUE(afstand->ChangeBtn->isDefault());
    EXPECT_EQ(module->editedArc(), (ArcRef{Move::Up, {0, 0}}));
    // "Previous" changes nothing.
    QTest::mouseClick(afstand->TerugBtn, Qt::LeftButton);
    EXPECT_FALSE(afstand->isVisible());
    EXPECT_EQ(module->network().U(0, 0), 10);

    // Zero is accepted; Enter in the field acts as "Change".
    Press(QPoint(30, B - 16));
    ASSERT_TRUE(afstand->isVisible());
    afstand->AfstandEdit->selectAll();
    QTest::keyClicks(afstand->AfstandEdit, "0");
    QTest::keyClick(afstand->AfstandEdit, Qt::Key_Return);
    EXPECT_FALSE(afstand->isVisible());
    EXPECT_EQ(module->network().U(0, 0), 0);
    // And the right arc of (1, 2) on the top row, through its label.
    Press(QPoint(38 + 32 + 6, BaseLine(2) - 64));
    ASSERT_TRUE(afstand->isVisible());
    EXPECT_EQ(module->editedArc(), (ArcRef{Move::Right, {1, 2}}));
    afstand->AfstandEdit->selectAll();
    QTest::keyClicks(afstand->AfstandEdit, "3");
    QTest::mouseClick(afstand->ChangeBtn, Qt::LeftButton);
    EXPECT_EQ(module->network().Rt(1, 2), 3);
    EXPECT_EQ(dlg->OptPadLabel->text(), "40"); // not yet recomputed

    Click(dlg->WijzigBtn);
    EXPECT_FALSE(module->editMode());
    EXPECT_EQ(net->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(dlg->OptPadLabel->text(), "23"); // U(0,0) 0 + U(0,1) 10 + Rt(0,2) 10 + Rt(1,2) 3
    ExpectStartState();
    EXPECT_EQ(MovesText(OptimalPath(module->network(), module->optimal())), "U U R R");
}

TEST_F(KPadWindow, PreviousLeavesEditModeAndShowsTheSettings) {
    Start(3, 3, 4);
    Click(dlg->WijzigBtn);
    Click(dlg->TerugBtn);
    EXPECT_FALSE(module->editMode());
    EXPECT_EQ(dlg->WijzigBtn->text(), "Edit distances");
    EXPECT_TRUE(opties->isVisible());
    EXPECT_FALSE(net->isVisible());
    // "Previous" of the settings closes the module.
    Click(opties->TerugBtn);
    EXPECT_TRUE(module->isClosing());
}

TEST_F(KPadWindow, ClosingTheDialogHidesTheNetworkAndSettingsBringsThemBack) {
    Start(2, 2, 1);
    dlg->close();
    ProcessEvents();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_FALSE(net->isVisible());
    EXPECT_FALSE(module->isClosing());
    module->settingsAction()->trigger();
    EXPECT_TRUE(opties->isVisible());
    EXPECT_FALSE(module->settingsAction()->isEnabled());
    opties->close();
    ProcessEvents();
    EXPECT_TRUE(!module || module->isClosing());
}

} // namespace
} // namespace tarvik::shortestpath::ui

namespace tarvik::shortestpath::ui {
namespace {

TEST_F(KPadWindow, ClosingTheModuleWithTheDistanceDialogOpenReleasesEveryWindow) {
    Start(3, 3, 2);
    Click(dlg->WijzigBtn);
    Press(QPoint(30, BaseLine(3) - 16));
    QPointer<TKPadAfstand> afstand = module->distanceDialog();
    ASSERT_TRUE(afstand && afstand->isVisible());
    module->closeModule();
    for (int i = 0; i < 10 && module; ++i) ProcessEvents();
    EXPECT_TRUE(afstand.isNull());
    EXPECT_TRUE(dlg.isNull());
    EXPECT_TRUE(net.isNull());
    EXPECT_TRUE(opties.isNull());
}

// On the network the keys click as the mouse does: the arrows take a pointer
// to a spot (ten pixels at a time with Shift), Enter or Space presses there.
TEST_F(KPadWindow, EnterOnTheNetworkDoesWhatAClickAtThePointerDoes) {
    Start(2, 2, 10);
    auto* pointer = net->findChild<tarvik::ui::KeyboardPointer*>();
    ASSERT_NE(pointer, nullptr);
    EXPECT_EQ(net->focusPolicy(), Qt::StrongFocus);
    auto moveTo = [&](QPoint to) {
        for (int i = 0; i < 2000 && pointer->position() != to; ++i) {
            const QPoint d = to - pointer->position();
            const bool far = std::abs(d.x()) >= 10 || std::abs(d.y()) >= 10;
            const Qt::KeyboardModifiers shift = far ? Qt::ShiftModifier : Qt::NoModifier;
            const int step = far ? 10 : 1;
            if (std::abs(d.x()) >= step)
                QTest::keyClick(net, d.x() > 0 ? Qt::Key_Right : Qt::Key_Left, shift);
            else if (std::abs(d.y()) >= step)
                QTest::keyClick(net, d.y() > 0 ? Qt::Key_Down : Qt::Key_Up, shift);
            else
                QTest::keyClick(net, d.x() ? (d.x() > 0 ? Qt::Key_Right : Qt::Key_Left)
                                           : (d.y() > 0 ? Qt::Key_Down : Qt::Key_Up));
        }
        ASSERT_EQ(pointer->position(), to);
    };
    struct Outcome {
        int beeps;
        bool opened;
        std::optional<ArcRef> arc;
        bool operator==(const Outcome&) const = default;
    };
    auto outcome = [&](int beepsBefore) {
        Outcome o{net->beeps() - beepsBefore, module->distanceDialog()->isVisible(), module->editedArc()};
        if (o.opened) QTest::mouseClick(module->distanceDialog()->TerugBtn, Qt::LeftButton);
        return o;
    };
    const int B = BaseLine(2);
    struct Case {
        const char* what;
        bool edit;
        QPoint at;
        Qt::Key key;
        Outcome expected;
    };
    const std::vector<Case> cases = {
        {"outside edit mode", false, {30, B - 16}, Qt::Key_Return, {1, false, {}}},
        {"outside the grid", true, {10, 10}, Qt::Key_Space, {1, false, {}}},
        {"the label of U(0, 0)", true, {30, B - 16}, Qt::Key_Return, {0, true, ArcRef{Move::Up, {0, 0}}}},
        {"the label of R(1, 2)", true, {76, B - 64}, Qt::Key_Space, {0, true, ArcRef{Move::Right, {1, 2}}}},
    };
    for (const Case& c : cases) {
        if (module->editMode() != c.edit) Click(dlg->WijzigBtn);
        moveTo(c.at);
        int beeps = net->beeps();
        QTest::keyClick(net, c.key);
        const Outcome byKeys = outcome(beeps);
        EXPECT_EQ(byKeys, c.expected) << c.what;
        beeps = net->beeps();
        Press(c.at);
        EXPECT_EQ(outcome(beeps), byKeys) << c.what;
    }
    // The pointer stays on the picture.
    moveTo({0, 0});
    QTest::keyClick(net, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(net, Qt::Key_Up);
    EXPECT_EQ(pointer->position(), QPoint(0, 0));
}

} // namespace
} // namespace tarvik::shortestpath::ui
