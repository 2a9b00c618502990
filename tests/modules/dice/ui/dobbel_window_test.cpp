#include "common/random.h"
#include "common/ui/accessibility.h"
#include "common/ui/help.h"
#include "common/ui/liverepaint.h"
#include "common/ui/seed.h"
#include "modules/dice/ui/dobbelmodule.h"
#include "modules/dice/ui/dobbelpictures.h"
#include "modules/dice/ui/dobbelunit.h"
#include "support/apptesting.h"
#include "support/picturecheck.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFocusEvent>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

// Readable texts in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace tarvik::dice::ui {
namespace {

using tarvik::test::ProcessEvents;
using tarvik::test::ScriptedDialogs;
using tarvik::ui::MsgKind;

// Whenever the diagram is painted during a run (at the refresh points, where
// the run hands control to the event loop), calls `check` and, when it asks
// for it, does `act` as a user's action waiting in the event queue.
class OnDiagramPaint : public QObject {
public:
    OnDiagramPaint(QWidget* box, std::function<bool()> check, std::function<void()> act)
        : check_(std::move(check)), act_(std::move(act)) {
        box->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && !done_ && check_()) {
            done_ = true;
            QMetaObject::invokeMethod(this, act_, Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<bool()> check_;
    std::function<void()> act_;
    bool done_ = false;
};

class DobbelWindow : public ::testing::Test {
protected:
    void SetUp() override {
        module = static_cast<TDobbel*>(CreateDobbelWindow(nullptr));
        module->show();
        ProcessEvents();
        dlg = module->dialog();
    }
    void TearDown() override {
        if (module) module->closeModule();
        for (int i = 0; i < 50 && module; ++i) ProcessEvents();
        delete module.data();
    }

    void SetThrows(const QString& text) {
        dlg->ThrowsEdit->selectAll();
        QTest::keyClick(dlg->ThrowsEdit, Qt::Key_Backspace);
        QTest::keyClicks(dlg->ThrowsEdit, text);
    }
    void Type(QLineEdit* field, const QString& text) {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }
    void Choose(Choice c) {
        QRadioButton* b = dlg->KeuzeBtn[static_cast<int>(c)];
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2)); // on the round button
    }
    void ClickThrow() { QTest::mouseClick(dlg->OKBtn, Qt::LeftButton); }
    // Lets a started run go to its end.
    void WaitForRun() {
        for (int i = 0; i < 100000 && module && module->running(); ++i) QCoreApplication::processEvents();
        ProcessEvents();
    }
    void Throw(Choice c, const QString& n) {
        Choose(c);
        SetThrows(n);
        ClickThrow();
        WaitForRun();
    }
    QString LastMessage() const {
        return dialogs.messages.empty() ? QString() : dialogs.messages.back().text;
    }

    ScriptedDialogs dialogs;
    QPointer<TDobbel> module;
    QPointer<TDobbelDlg> dlg;
};

TEST_F(DobbelWindow, StartsWithTheSettingsDialog) {
    EXPECT_EQ(module->windowTitle(), "Coin tossing");
    ASSERT_EQ(module->moduleMenus().size(), 3);
    EXPECT_EQ(module->moduleMenus()[0]->title(), "File");
    EXPECT_EQ(module->moduleMenus()[0]->actions()[0]->text(), "Exit Coin Tossing");
    EXPECT_EQ(module->moduleMenus()[1]->title(), "Options");
    EXPECT_EQ(module->moduleMenus()[1]->actions()[0]->text(), "Settings");
    EXPECT_EQ(module->moduleMenus()[1]->actions()[1]->text(), "Throw");
    EXPECT_EQ(module->throwAction()->shortcut(), QKeySequence(Qt::Key_F10));
    EXPECT_EQ(module->moduleMenus()[2]->title(), "Help");
    EXPECT_EQ(module->moduleMenus()[2]->actions()[0]->text(), "Explanation");

    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->windowTitle(), "Settings");
    EXPECT_TRUE(dlg->KeuzeBtn[0]->isChecked());
    EXPECT_EQ(dlg->KeuzeBtn[0]->text(), "Fair coin");
    EXPECT_EQ(dlg->KeuzeBtn[3]->text(), "Biased die");
    EXPECT_TRUE(dlg->FastBox->isChecked() && dlg->TableBox->isChecked() && dlg->WalkBox->isChecked());
    EXPECT_EQ(dlg->ThrowsEdit->text(), "1000");
    EXPECT_EQ(dlg->ThrowsEdit->toolTip(), "Min 10 ; Max 100000");
    EXPECT_TRUE(dlg->OKBtn->isDefault());
    EXPECT_TRUE(module->settingsValid());
    EXPECT_EQ(module->throws(), 1000);
    EXPECT_DOUBLE_EQ(module->probabilities()[5], 0.166667);

    EXPECT_FALSE(module->diagram()->isVisible());
    EXPECT_FALSE(module->table()->isVisible());
    EXPECT_FALSE(module->walk()->isVisible());
    EXPECT_EQ(module->diagram()->windowTitle(), "Frequency diagram");
    EXPECT_EQ(module->diagram()->size(), QSize(490, 228));
    EXPECT_EQ(module->walk()->windowTitle(), "Random walk");
    EXPECT_EQ(module->walk()->size(), QSize(485, 332));
    EXPECT_EQ(module->table()->windowTitle(), "Table relative frequency");
    for (QWidget* w : {static_cast<QWidget*>(dlg.data()), static_cast<QWidget*>(module->diagram()),
                       static_cast<QWidget*>(module->table()), static_cast<QWidget*>(module->walk())}) {
        EXPECT_EQ(w->parentWidget(), module.data());
        EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(w->windowType(), Qt::Tool);
    }
}

TEST_F(DobbelWindow, ChoicesFillTheProbabilityFields) {
    auto texts = [&] {
        QStringList t;
        for (QLineEdit* e : dlg->PEdit) t << e->text();
        return t;
    };
    EXPECT_EQ(texts(), QStringList({"0.5", "0.5", "0", "0", "0", "0"}));
    EXPECT_TRUE(dlg->PEdit[0]->isReadOnly() && dlg->PEdit[1]->isReadOnly());
    EXPECT_TRUE(dlg->PEdit[1]->isEnabled());
    EXPECT_FALSE(dlg->PEdit[2]->isEnabled());

    Choose(Choice::BiasedCoin);
    EXPECT_EQ(texts(), QStringList({"", "", "0", "0", "0", "0"}));
    EXPECT_FALSE(dlg->PEdit[0]->isReadOnly());
    EXPECT_TRUE(dlg->PEdit[2]->isReadOnly());
    EXPECT_FALSE(dlg->PEdit[5]->isEnabled());

    Choose(Choice::FairDie);
    EXPECT_EQ(texts(), QStringList(6, "0.16667"));
    for (QLineEdit* e : dlg->PEdit) EXPECT_TRUE(e->isReadOnly() && e->isEnabled());

    Choose(Choice::BiasedDie);
    EXPECT_EQ(texts(), QStringList(6, ""));
    for (QLineEdit* e : dlg->PEdit) EXPECT_TRUE(!e->isReadOnly() && e->isEnabled());
}

TEST_F(DobbelWindow, NumberOfThrowsMessages) {
    struct Case {
        QString typed;
        QString message;
    };
    const QString more = "More then 100,000 throws is not possible";
    const QString less = "Less then 10 throws is not possible";
    for (const Case& c : {Case{"100001", more}, Case{"9", less}, Case{"-5", less}, Case{"", less},
                          Case{"12345678901234", more}}) {
        dialogs.clear();
        SetThrows(c.typed);
        ClickThrow();
        ASSERT_EQ(dialogs.messages.size(), 1u) << c.typed.toStdString();
        EXPECT_EQ(dialogs.messages[0].text, c.message) << c.typed.toStdString();
        EXPECT_EQ(dialogs.messages[0].kind, MsgKind::Error);
        EXPECT_EQ(dialogs.messages[0].buttons, tarvik::ui::mbOK);
        EXPECT_FALSE(dialogs.messages[0].standardCaptions); // the program's own dialog
        // The field's text is selected for correction; nothing starts.
        auto* edit = dlg->ThrowsEdit->findChild<QLineEdit*>();
        EXPECT_EQ(edit->selectedText(), edit->text());
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_FALSE(module->running());
        EXPECT_EQ(module->lastRun(), nullptr);
        EXPECT_TRUE(module->settingsValid());
    }
    // Letters never get into the field.
    SetThrows("12ab");
    EXPECT_EQ(dlg->ThrowsEdit->text(), "12");
}

TEST_F(DobbelWindow, ProbabilityMessages) {
    struct Case {
        Choice choice;
        QStringList typed; // for the editable fields
        QString message;
    };
    const QString notNumber = "Not all probabilities do have valid values";
    const QString sum = "The sum of the probabilities must be 1";
    const QString range = "Probabilities larger then 1 or smaller then 0 are not allowed";
    const QString walk = "P(X=1) must be between 0.1 and 0.9, in connection with stochastic walk";
    const std::vector<Case> cases = {
        {Choice::BiasedCoin, {"0.3", ""}, notNumber},
        {Choice::BiasedCoin, {"0.3", "1e"}, notNumber},
        {Choice::BiasedCoin, {"0.3", "0.6"}, sum},
        {Choice::BiasedCoin, {"1.5", "0"}, range},
        {Choice::BiasedCoin, {"0.95", "0.05"}, walk},
        {Choice::BiasedDie, {"0.05", "0.19", "0.19", "0.19", "0.19", "0.19"}, walk},
        {Choice::BiasedDie, {"0.5", "0.5", "", "0", "0", "0"}, notNumber},
    };
    for (bool walkChecked : {true, false}) {
        dlg->WalkBox->setChecked(walkChecked);
        for (const Case& c : cases) {
            dialogs.clear();
            Choose(c.choice);
            SetThrows("100");
            for (int j = 0; j < c.typed.size(); ++j) Type(dlg->PEdit[j], c.typed[j]);
            ClickThrow();
            ASSERT_EQ(dialogs.messages.size(), 1u) << c.message.toStdString();
            EXPECT_EQ(dialogs.messages[0].text, c.message);
            EXPECT_EQ(dialogs.messages[0].kind, MsgKind::Error);
            EXPECT_TRUE(dialogs.messages[0].standardCaptions); // the standard dialog
            EXPECT_FALSE(module->settingsValid());
            EXPECT_TRUE(dlg->isVisible());
            EXPECT_FALSE(module->running());
            EXPECT_EQ(module->lastRun(), nullptr);
        }
    }
}

TEST_F(DobbelWindow, ProbabilityFieldsFilterWhatIsTyped) {
    Choose(Choice::BiasedDie);
    QLineEdit* f = dlg->PEdit[0];
    Type(f, "-0,3x");
    EXPECT_EQ(f->text(), "03"); // no minus sign, comma or letters (but E)
    // Typed key by key the filter runs after every key: a second point goes at once.
    Type(f, "0.5.5");
    EXPECT_EQ(f->text(), "0.55");
    Type(f, "1e5e3");
    EXPECT_EQ(f->text(), "1e53");
    // Pasted, everything after a second point or exponent goes.
    f->setText("0.5.5");
    EXPECT_EQ(f->text(), "0.5");
    f->setText("2E-3e4");
    EXPECT_EQ(f->text(), "2E3");
    // At most 12 characters: the first 11 and the last.
    Type(f, "0.12345678901234");
    EXPECT_EQ(f->text(), "0.1234567894");
    f->setText("1234567890123456");
    EXPECT_EQ(f->text(), "123456789016");
    f->setText(QString::fromUtf8("0.\xc3\xa9"
                                 "5"));
    EXPECT_EQ(f->text(), "0.5");

    // The field with the focus is yellow.
    const QColor normal = f->palette().color(QPalette::Base);
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(f, &in);
    EXPECT_EQ(f->palette().color(QPalette::Base), QColor(Qt::yellow));
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(f, &out);
    EXPECT_EQ(f->palette().color(QPalette::Base), normal);
}

TEST_F(DobbelWindow, TenThrowsOfAFairCoin) {
    Throw(Choice::FairCoin, "10");
    ASSERT_TRUE(dialogs.messages.empty()) << LastMessage().toStdString();
    auto run = module->lastRun();
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(run->throwsMade(), 10);
    EXPECT_EQ(module->throws(), 10);
    EXPECT_FALSE(dlg->isVisible());

    // Faces 3 to 6 never come up: no count, and no red in their columns.
    const QImage& pic = module->diagram()->picture();
    for (int k = 3; k <= 6; ++k) {
        EXPECT_EQ(run->counts()[k - 1], 0);
        EXPECT_NE(pic.pixelColor(BarLeft(k) + 5, kBarBase), QColor(Qt::red));
    }
    const int top = run->barTops()[run->counts()[0] > 0 ? 0 : 1];
    EXPECT_EQ(pic.pixelColor(BarLeft(run->counts()[0] > 0 ? 1 : 2) + 5, top + 1), QColor(Qt::red));

    // Ten rows, one per throw.
    TDobbelTabel* table = module->table();
    EXPECT_TRUE(table->isVisible());
    for (int r = 0; r < 10; ++r) {
        EXPECT_EQ(table->cellText(r, 0), QString::number(r + 1));
        EXPECT_EQ(table->cellText(r, 3), "0.0000");
        const double f1 = table->cellText(r, 1).toDouble(), f2 = table->cellText(r, 2).toDouble();
        EXPECT_NEAR(f1 + f2, 1.0, 1e-9);
        EXPECT_EQ(table->cellText(r, 1), QString::number(run->rows()[r].frequency[0], 'f', 4));
    }
    for (int r = 10; r < 15; ++r) EXPECT_TRUE(table->cellText(r, 0).isEmpty());

    // The walk: ten samples 35 pixels apart.
    TWandelingForm* walk = module->walk();
    EXPECT_TRUE(walk->isVisible());
    const WalkLayout& layout = walk->layout();
    ASSERT_EQ(layout.curve.size(), 11u);
    for (std::size_t k = 1; k < layout.curve.size(); ++k)
        EXPECT_EQ(layout.curve[k].x - layout.curve[k - 1].x, 35);
    EXPECT_EQ(walk->PercentLabel->text(),
              QString("Percentage above zero axis %1%").arg(100.0 * run->aboveCount() / 10, 0, 'f', 2));
    EXPECT_EQ(walk->RunLabel->text(), QString("Longest run of 1's:  %1").arg(run->longestRun()));
    EXPECT_EQ(walk->picture().pixelColor(kWalkAxisLeft + 2, layout.zeroY), QColor(Qt::black));

    EXPECT_EQ(module->diagram()->TerugBtn->text(), "Previous");
    EXPECT_TRUE(module->diagram()->RepeatBtn->isEnabled());
    EXPECT_TRUE(module->diagram()->isVisible());
    EXPECT_FALSE(module->running());
}

TEST_F(DobbelWindow, ThousandThrowsOfAFairDie) {
    Throw(Choice::FairDie, "1000");
    ASSERT_TRUE(dialogs.messages.empty()) << LastMessage().toStdString();
    auto run = module->lastRun();
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(run->throwsMade(), 1000);
    TDobbelTabel* table = module->table();
    for (int r = 0; r < 14; ++r) EXPECT_EQ(table->cellText(r, 0), QString::number(67 * (r + 1)));
    EXPECT_EQ(table->cellText(13, 0), "938");
    EXPECT_EQ(table->cellText(14, 0), "1000");
    for (int k = 1; k <= 6; ++k)
        EXPECT_EQ(table->cellText(14, k), QString::number(run->frequency(k), 'f', 4));
    EXPECT_EQ(module->walk()->layout().curve.size(), 351u);
}

TEST_F(DobbelWindow, UncheckedTableAndWalkStayHidden) {
    dlg->TableBox->setChecked(false);
    dlg->WalkBox->setChecked(false);
    Throw(Choice::FairDie, "100");
    EXPECT_TRUE(module->diagram()->isVisible());
    EXPECT_FALSE(module->table()->isVisible());
    EXPECT_FALSE(module->walk()->isVisible());
}

TEST_F(DobbelWindow, StopAfterFiveHundredOfTenThousand) {
    TDobbelBar* bar = module->diagram();
    bool sawStop = false, repeatDisabled = false;
    OnDiagramPaint hook(
        bar->PictureBox,
        [&] {
            auto run = module->lastRun();
            return run && run->throwsMade() == 500;
        },
        [&] {
            sawStop = bar->TerugBtn->text() == "Stop";
            repeatDisabled = !bar->RepeatBtn->isEnabled();
            QTest::mouseClick(bar->TerugBtn, Qt::LeftButton);
        });
    Throw(Choice::FairCoin, "10000");
    EXPECT_TRUE(sawStop);
    EXPECT_TRUE(repeatDisabled);
    auto run = module->lastRun();
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(run->throwsMade(), 500);
    EXPECT_EQ(bar->TerugBtn->text(), "Previous");
    EXPECT_TRUE(bar->RepeatBtn->isEnabled());
    // The table holds the rows reached (none: the first is due at 667).
    EXPECT_TRUE(module->table()->isVisible());
    EXPECT_TRUE(module->table()->cellText(0, 0).isEmpty());
    // The walk is drawn from the 17 samples taken, its share over 500 throws.
    EXPECT_TRUE(module->walk()->isVisible());
    EXPECT_EQ(module->walk()->layout().curve.size(), 18u);
    EXPECT_EQ(module->walk()->PercentLabel->text(),
              QString("Percentage above zero axis %1%").arg(100.0 * run->aboveCount() / 500, 0, 'f', 2));
    EXPECT_TRUE(dialogs.messages.empty());
}

// Paints of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
    int paints = 0;
};

TEST_F(DobbelWindow, FastRunPaintsAtTheFrameRateAndShowsTheFinalState) {
    const auto saved = tarvik::ui::LiveRepaint::FrameInterval();
    tarvik::ui::LiveRepaint::SetFrameInterval(tarvik::ui::LiveRepaint::kFrameInterval);
    PaintCounter counter(module->diagram()->PictureBox);
    const auto start = std::chrono::steady_clock::now();
    Throw(Choice::FairDie, "100000");
    const auto elapsed = std::chrono::steady_clock::now() - start;
    tarvik::ui::LiveRepaint::SetFrameInterval(saved);
    auto run = module->lastRun();
    ASSERT_NE(run, nullptr);
    ASSERT_EQ(run->throwsMade(), 100000);
    // A thousand refresh points; the paints follow the clock instead (the
    // first, one per frame, the last, and a few from showing the windows).
    EXPECT_LE(counter.paints, 4 + elapsed / tarvik::ui::LiveRepaint::kFrameInterval);
    EXPECT_LT(counter.paints, 1000);
    // The labels of the last state are on the picture: drawing them again
    // changes nothing.
    QImage again = module->diagram()->picture().copy();
    DrawDiagramLabels(again, run->counts(), run->throwsMade());
    EXPECT_EQ(again, module->diagram()->picture());
}

TEST_F(DobbelWindow, WithoutFastSimulationEveryRiseOfABarIsPainted) {
    const auto saved = tarvik::ui::LiveRepaint::FrameInterval();
    tarvik::ui::LiveRepaint::SetFrameInterval(std::chrono::hours(1)); // pacing would paint twice
    tarvik::ui::SetFixedSeed("dice", 31u);
    dlg->FastBox->setChecked(false);
    PaintCounter counter(module->diagram()->PictureBox);
    Throw(Choice::FairDie, "3000");
    tarvik::ui::LiveRepaint::SetFrameInterval(saved);
    tarvik::ui::SetFixedSeed("dice", std::nullopt);
    tarvik::RandSeed = 31; // the same throws again, counting the rises
    DiceRun replay(module->lastRun()->settings());
    int rises = 0;
    while (!replay.done()) rises += replay.throwOnce().grew ? 1 : 0;
    EXPECT_GE(counter.paints, rises);
}

TEST_F(DobbelWindow, ClosingTheModuleStopsARunBeforeReleasingItsWindows) {
    dlg->FastBox->setChecked(false);
    QSignalSpy closed(module.data(), &tarvik::ui::ModuleWindow::moduleClosed);
    QPointer<TDobbelBar> bar = module->diagram();
    QPointer<TDobbelTabel> table = module->table();
    QPointer<TWandelingForm> walk = module->walk();
    std::shared_ptr<const DiceRun> run;
    int throwsAtClose = -1;
    bool stoppedAtClose = false, windowsAliveAtClose = false;
    OnDiagramPaint hook(
        bar->PictureBox, [&] { return module->lastRun() && module->lastRun()->throwsMade() >= 300; },
        [&] {
            run = module->lastRun();
            throwsAtClose = run->throwsMade();
            module->closeModule();
            stoppedAtClose = module && module->stopRequested();
            windowsAliveAtClose = bar && table && walk && dlg;
        });
    Throw(Choice::FairDie, "100000");
    for (int i = 0; i < 20 && module; ++i) ProcessEvents();
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(stoppedAtClose);
    EXPECT_TRUE(windowsAliveAtClose);
    EXPECT_EQ(run->throwsMade(), throwsAtClose); // not one throw after the close
    EXPECT_FALSE(run->done());
    EXPECT_TRUE(module.isNull());
    EXPECT_TRUE(bar.isNull() && table.isNull() && walk.isNull() && dlg.isNull());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(DobbelWindow, ClosingTheDiagramDuringARunStopsItAndReturnsToTheSettings) {
    TDobbelBar* bar = module->diagram();
    bool closed = false;
    OnDiagramPaint hook(
        bar->PictureBox, [&] { return module->lastRun() && module->lastRun()->throwsMade() >= 1000; },
        [&] {
            closed = true;
            bar->close();
        });
    Throw(Choice::FairCoin, "50000");
    ASSERT_TRUE(closed);
    EXPECT_LT(module->lastRun()->throwsMade(), 50000);
    EXPECT_FALSE(module->running());
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(module->table()->isVisible());
    EXPECT_FALSE(module->walk()->isVisible());
    EXPECT_EQ(bar->TerugBtn->text(), "Previous");
}

TEST_F(DobbelWindow, PreviousInTheDiagramReturnsToTheSettings) {
    Throw(Choice::FairCoin, "20");
    TDobbelBar* bar = module->diagram();
    QTest::mouseClick(bar->TerugBtn, Qt::LeftButton);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(module->table()->isVisible());
    EXPECT_FALSE(module->walk()->isVisible());

    // Closing it by its frame does the same.
    ClickThrow();
    WaitForRun();
    EXPECT_TRUE(bar->isVisible());
    bar->close();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_FALSE(module->walk()->isVisible());
    EXPECT_FALSE(module->isClosing());
}

TEST_F(DobbelWindow, PreviousInTheDialogClosesTheModule) {
    QSignalSpy closed(module.data(), &tarvik::ui::ModuleWindow::moduleClosed);
    QTest::mouseClick(dlg->TerugBtn, Qt::LeftButton);
    EXPECT_EQ(closed.count(), 1);
    ProcessEvents();
    EXPECT_TRUE(module.isNull());
    EXPECT_TRUE(dlg.isNull());
}

TEST_F(DobbelWindow, ClosingTheDialogByItsFrameClosesTheModule) {
    QSignalSpy closed(module.data(), &tarvik::ui::ModuleWindow::moduleClosed);
    dlg->close();
    EXPECT_EQ(closed.count(), 1);
    ProcessEvents();
    EXPECT_TRUE(module.isNull());
}

TEST_F(DobbelWindow, EscapeDoesNotCloseTheDialog) {
    QTest::keyClick(dlg, Qt::Key_Escape);
    EXPECT_FALSE(module->isClosing());
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(DobbelWindow, ExitEntryClosesTheModule) {
    QSignalSpy closed(module.data(), &tarvik::ui::ModuleWindow::moduleClosed);
    module->moduleMenus()[0]->actions()[0]->trigger();
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(DobbelWindow, RepeatAndF10ThrowAgainWithTheDialogsValues) {
    Throw(Choice::FairCoin, "20");
    auto first = module->lastRun();
    QTest::mouseClick(module->diagram()->RepeatBtn, Qt::LeftButton);
    WaitForRun();
    auto second = module->lastRun();
    EXPECT_NE(first, second);
    EXPECT_EQ(second->throwsMade(), 20);

    // The dialog's current values, not the ones of the last run.
    module->ShowSettings();
    SetThrows("30");
    dlg->hide();
    module->throwAction()->trigger();
    WaitForRun();
    auto third = module->lastRun();
    EXPECT_NE(third, second);
    EXPECT_EQ(third->throwsMade(), 30);

    // Refused settings: F10 does nothing, "Repeat" reports again.
    module->ShowSettings();
    Choose(Choice::BiasedCoin);
    Type(dlg->PEdit[0], "0.05");
    Type(dlg->PEdit[1], "0.95");
    ClickThrow();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_FALSE(module->settingsValid());
    module->throwAction()->trigger();
    WaitForRun();
    EXPECT_EQ(module->lastRun(), third);
    EXPECT_EQ(dialogs.messages.size(), 1u);
    QTest::mouseClick(module->diagram()->RepeatBtn, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text,
              "P(X=1) must be between 0.1 and 0.9, in connection with stochastic walk");
    EXPECT_EQ(module->lastRun(), third);
}

TEST_F(DobbelWindow, F10KeyOnTheDiagram) {
    Throw(Choice::FairCoin, "20");
    auto first = module->lastRun();
    TDobbelBar* bar = module->diagram();
    QApplication::setActiveWindow(bar);
    QTest::keyClick(bar, Qt::Key_F10);
    WaitForRun();
    EXPECT_NE(module->lastRun(), first);
}

TEST_F(DobbelWindow, SaveGraphsToFile) {
    Throw(Choice::FairCoin, "100");
    QTemporaryDir tmp;
    const QString diagramFile = tmp.filePath("diagram");
    const QString walkFile = tmp.filePath("walk");
    dialogs.fileAnswers = {diagramFile, walkFile, std::nullopt};
    const QString startFolder = tarvik::ui::FileDialogFolder(QStringLiteral("picture:Dice.bmp"));
    QTest::mouseClick(module->diagram()->SaveBtn, Qt::LeftButton);
    QTest::mouseClick(module->walk()->SaveBtn, Qt::LeftButton);
    ASSERT_EQ(dialogs.fileRequests.size(), 2u);
    EXPECT_EQ(dialogs.fileRequests[0].fileName, "Dice.bmp");
    EXPECT_EQ(dialogs.fileRequests[1].fileName, "DiceWalk.bmp");
    EXPECT_EQ(dialogs.fileRequests[0].directory, startFolder);
    EXPECT_EQ(dialogs.fileRequests[0].filters.first(), "Bitmap-bestanden (*.bmp)");
    EXPECT_EQ(module->diagram()->SaveBtn->toolTip(), "Save graph to file");
    // Written as bitmaps under the names as typed: no ".bmp" added.
    QImageReader diagram(diagramFile);
    EXPECT_EQ(diagram.format(), "bmp");
    EXPECT_EQ(diagram.size(), QSize(401, 225));
    QImageReader walk(walkFile);
    EXPECT_EQ(walk.format(), "bmp");
    EXPECT_EQ(walk.size(), QSize(485, 300));
    EXPECT_FALSE(QFile::exists(diagramFile + ".bmp"));
    // Cancelled: nothing more is written.
    QTest::mouseClick(module->diagram()->SaveBtn, Qt::LeftButton);
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files).size(), 2);
}

TEST_F(DobbelWindow, GraphsSaveAsPngImagesAndAsDrawings) {
    Throw(Choice::FairDie, "3000");
    QTemporaryDir tmp;
    dialogs.fileAnswers = {tmp.filePath("diagram.png"), tmp.filePath("diagram.svg"),
                           tmp.filePath("walk.svg")};
    QTest::mouseClick(module->diagram()->SaveBtn, Qt::LeftButton);
    QTest::mouseClick(module->diagram()->SaveBtn, Qt::LeftButton);
    QTest::mouseClick(module->walk()->SaveBtn, Qt::LeftButton);
    ASSERT_EQ(dialogs.fileRequests.size(), 3u);
    EXPECT_TRUE(dialogs.fileRequests[0].filters.contains("SVG drawing (*.svg)"));
    EXPECT_EQ(QImage(tmp.filePath("diagram.png")).convertToFormat(QImage::Format_RGB32),
              module->diagram()->picture().convertToFormat(QImage::Format_RGB32));
    // The drawings are shapes and text, and show what the windows show: the
    // six bars with their caps and labels, the walk with its curve.
    const std::pair<QString, QImage> drawings[] = {{"diagram.svg", module->diagram()->picture()},
                                                   {"walk.svg", module->walk()->picture()}};
    for (const auto& [name, picture] : drawings) {
        const auto svg = tarvik::test::InspectSvg(tmp.filePath(name));
        EXPECT_TRUE(svg.parses) << name.toStdString();
        EXPECT_GT(svg.shapes, 6) << name.toStdString();
        EXPECT_EQ(svg.images, 0) << name.toStdString();
        EXPECT_LT(tarvik::test::DifferingShare(tarvik::test::RenderSvg(tmp.filePath(name), picture.size()),
                                               picture),
                  0.03)
            << name.toStdString();
    }
}

TEST_F(DobbelWindow, AFixedSeedThrowsTheSameFacesAsTheComputationFromThatSeed) {
    auto* seedCommand = module->findChild<QAction*>("SeedCommand");
    ASSERT_NE(seedCommand, nullptr);
    dialogs.textAnswers = {QStringLiteral("606")};
    seedCommand->trigger();
    // The same throws as a run of the computation started from that seed, run after run.
    std::optional<DiceRun> expected;
    for (int run = 0; run < 2; ++run) {
        tarvik::RandomInt(6);
        Throw(Choice::FairDie, "500");
        EXPECT_EQ(tarvik::ui::LastRunSeed("dice"), 606u);
        ASSERT_NE(module->lastRun(), nullptr);
        if (!expected) {
            tarvik::RandSeed = 606;
            expected.emplace(module->lastRun()->settings());
            tarvik::Progress never;
            RunThrows(*expected, never);
            ASSERT_EQ(expected->throwsMade(), 500);
        }
        EXPECT_EQ(module->lastRun()->counts(), expected->counts()) << "run " << run;
        EXPECT_EQ(module->lastRun()->walkSamples(), expected->walkSamples());
    }
    tarvik::ui::SetFixedSeed("dice", std::nullopt);
}

TEST_F(DobbelWindow, PicturesTellScreenReadersWhatTheyShow) {
    Throw(Choice::FairDie, "600");
    const auto run = module->lastRun();
    ASSERT_NE(run, nullptr);
    QWidget* diagram = module->diagram()->PictureBox;
    EXPECT_EQ(tarvik::ui::AccessibleNameOf(diagram), "Frequency diagram");
    const QString description = diagram->accessibleDescription();
    EXPECT_TRUE(description.startsWith("600 throws;")) << description.toStdString();
    int sum = 0;
    for (int k = 1; k <= kFaces; ++k) {
        const int c = run->counts()[static_cast<std::size_t>(k - 1)];
        sum += c;
        EXPECT_TRUE(description.contains(QStringLiteral("%1: %2 (").arg(k).arg(c))) << k;
    }
    EXPECT_EQ(sum, 600);
    QWidget* walk = module->walk()->findChild<QWidget*>("WalkBox");
    ASSERT_NE(walk, nullptr);
    EXPECT_EQ(tarvik::ui::AccessibleNameOf(walk), "Random walk");
    EXPECT_TRUE(walk->accessibleDescription().contains(
        QStringLiteral("longest run of ones %1").arg(run->longestRun())));
}

TEST_F(DobbelWindow, WalkWithoutThrowsIsNotPossible) {
    DiceRun none(RunSettings{Choice::FairCoin, 100, {0.5, 0.5, 0, 0, 0, 0}, true});
    TWandelingForm* walk = module->walk();
    walk->show();
    EXPECT_FALSE(walk->DrawWalk(none));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Random walk not possible");
    EXPECT_EQ(dialogs.messages[0].kind, MsgKind::Error);
    EXPECT_TRUE(dialogs.messages[0].standardCaptions);
    EXPECT_FALSE(walk->isVisible());
}

TEST_F(DobbelWindow, SettingsEntryShowsTheDialogAgain) {
    Throw(Choice::FairCoin, "20");
    EXPECT_FALSE(dlg->isVisible());
    module->moduleMenus()[1]->actions()[0]->trigger();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->ThrowsEdit->text(), "20");
}

} // namespace
} // namespace tarvik::dice::ui
