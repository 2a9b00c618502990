#include "modules/dice/ui/dobbelunit.h"

#include "common/ui/help.h"
#include "common/ui/moduledialog.h"
#include "common/ui/seed.h"
#include "modules/dice/ui/dobbelbarunit.h"
#include "modules/dice/ui/dobbeldialoog.h"
#include "modules/dice/ui/dobbelmodule.h"
#include "modules/dice/ui/dobbeltabelunit.h"
#include "modules/dice/ui/dobbelwandelingunit.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QTimer>

namespace tarvik::dice::ui {
namespace {

// What the throwing loop sees of the module: a refresh of the diagram and the
// pending user events at each refresh point, and a stop when "Stop" was
// pressed or the module is closing (or gone).
class DiagramProgress : public Progress {
public:
    DiagramProgress(TDobbel* owner, const DiceRun& run) : owner_(owner), run_(run) {}

    void yield() override {
        if (!alive()) return;
        if (TDobbelBar* bar = owner_->diagram()) bar->Refresh(run_.counts(), run_.throwsMade());
        QCoreApplication::processEvents();
    }
    bool stopRequested() const override { return !alive() || owner_->stopRequested(); }

private:
    bool alive() const { return owner_ && !owner_->isClosing(); }

    QPointer<TDobbel> owner_;
    const DiceRun& run_;
};

} // namespace

TDobbel::TDobbel(QWidget* parent) : tarvik::ui::ModuleWindow(parent) {
    tarvik::ui::SetHelpContext(this, 2);
    setObjectName(QStringLiteral("Dobbel"));
    setWindowTitle(QStringLiteral("Coin tossing"));

    QMenu* file = addModuleMenu(QStringLiteral("File"));
    QAction* exit = file->addAction(QStringLiteral("Exit Coin Tossing"));
    exit->setObjectName(QStringLiteral("Exit1"));
    connect(exit, &QAction::triggered, this, [this] { closeModule(); });

    QMenu* options = addModuleMenu(QStringLiteral("Options"));
    QAction* settings = options->addAction(QStringLiteral("Settings"));
    settings->setObjectName(QStringLiteral("Settings1"));
    connect(settings, &QAction::triggered, this, &TDobbel::ShowSettings);
    Throw1 = new QAction(QStringLiteral("Throw"), this);
    Throw1->setObjectName(QStringLiteral("Throw1"));
    Throw1->setShortcut(QKeySequence(Qt::Key_F10));
    Throw1->setShortcutContext(Qt::WindowShortcut);
    options->addAction(Throw1);
    connect(Throw1, &QAction::triggered, this, &TDobbel::ThrowAgain);
    tarvik::ui::AddSeedCommand(options, QStringLiteral("dice"), this);

    addHelpMenu(2);

    DobbelDlg = new TDobbelDlg(this);
    DobbelBar = new TDobbelBar(this);
    DobbelTabel = new TDobbelTabel(this);
    WandelingForm = new TWandelingForm(this);
    // F10 also works while one of the picture windows is active.
    for (QWidget* w : {static_cast<QWidget*>(DobbelBar.data()), static_cast<QWidget*>(DobbelTabel.data()),
                       static_cast<QWidget*>(WandelingForm.data())})
        w->addAction(Throw1);

    DobbelDlg->show();
}

TDobbel::~TDobbel() = default;

void TDobbel::SettingsAccepted(Choice choice, int throws, const Probabilities& p, bool fast, bool table,
                               bool walk) {
    Keuze = choice;
    N = throws;
    P = p;
    Fast = fast;
    ShowTable = table;
    ShowWalk = walk;
    SettingsValid = true;
    QScreen* s = screen();
    if (s && s->geometry().width() > 800) {
        DobbelBar->move(21, 111);
        WandelingForm->move(21, 370);
        DobbelTabel->move(524, 111);
    }
    DobbelDlg->hide();
    StartRun();
}

void TDobbel::BackToSettings() {
    DobbelBar->hide();
    DobbelTabel->hide();
    WandelingForm->hide();
    ShowSettings();
}

void TDobbel::ShowSettings() {
    tarvik::ui::ShowInFront(DobbelDlg);
}

void TDobbel::Repeat() {
    DobbelDlg->OKBtnClick();
}

void TDobbel::ThrowAgain() {
    if (running() || !SettingsValid) return;
    DobbelDlg->OKBtnClick();
}

void TDobbel::StopAndGoBack() {
    Stop = true;
    BackAfterRun = true;
}

void TDobbel::StartRun() {
    if (running() || isClosing()) return;
    // The run starts from the event loop, never from inside the click that
    // asked for it, so that no window's handler is on the stack while the run
    // hands control to the event loop.
    RunPending = true;
    QTimer::singleShot(0, qApp, [self = QPointer<TDobbel>(this)] {
        if (self) self->Execute();
    });
}

void TDobbel::Execute() {
    RunPending = false;
    if (Running || isClosing()) return;

    const QPointer<TDobbel> self(this);
    tarvik::ui::BeginSeededRun(QStringLiteral("dice"), this);
    auto run = std::make_shared<DiceRun>(RunSettings{Keuze, N, P, Fast});
    Run = run;
    Running = true;
    Stop = false;
    BackAfterRun = false;
    tarvik::ui::WaitCursor cursor;

    DobbelTabel->hide();
    WandelingForm->hide();
    DobbelBar->BeginRun(Fast);

    DiagramProgress progress(this, *run);
    const QPointer<TDobbelBar> bar = DobbelBar;
    // Nothing below may touch the module once it is closing: the stop test
    // before every throw ends the loop first.
    RunThrows(*run, progress, [&bar](const ThrowStep& step) {
        if (bar) bar->DrawThrow(step);
    });

    if (!self) return;
    if (isClosing()) {
        Running = false;
        return;
    }
    cursor.restore();
    Finish(*run);
}

void TDobbel::Finish(const DiceRun& run) {
    const QPointer<TDobbel> self(this);
    DobbelBar->EndRun();
    DobbelBar->Refresh(run.counts(), run.throwsMade());
    if (BackAfterRun) {
        Running = false;
        Stop = false;
        BackAfterRun = false;
        BackToSettings();
        return;
    }
    if (ShowTable) {
        DobbelTabel->Fill(run.rows());
        DobbelTabel->show();
    } else {
        DobbelTabel->hide();
    }
    if (ShowWalk) {
        WandelingForm->show();
        WandelingForm->DrawWalk(run);
        if (!self || isClosing()) return;
    } else {
        WandelingForm->hide();
    }
    DobbelBar->show();
    DobbelBar->raise();
    Running = false;
    Stop = false;
}

void TDobbel::releaseModule() {
    // A run going stops at its next test of the flag, before anything it
    // draws on is released; the windows go once control is back in the event loop.
    Stop = true;
    for (QWidget* w :
         {static_cast<QWidget*>(DobbelDlg.data()), static_cast<QWidget*>(DobbelBar.data()),
          static_cast<QWidget*>(DobbelTabel.data()), static_cast<QWidget*>(WandelingForm.data())}) {
        if (!w) continue;
        w->hide();
        w->deleteLater();
    }
}

} // namespace tarvik::dice::ui

tarvik::ui::ModuleWindow* CreateDobbelWindow(QWidget* parent) {
    return new tarvik::dice::ui::TDobbel(parent);
}
