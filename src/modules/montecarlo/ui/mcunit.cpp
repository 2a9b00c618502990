#include "modules/montecarlo/ui/mcunit.h"

#include "common/ui/help.h"
#include "common/ui/seed.h"
#include "modules/montecarlo/mcshared.h"
#include "modules/montecarlo/ui/mcexperiments.h"
#include "modules/montecarlo/ui/mckeuzedialoogunit.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

namespace tarvik::montecarlo::ui {

QString ChoiceCaption(MCChoice choice) {
    static const char* const captions[kChoices] = {
        "Birthday Problem", "Simulation Pi", "St Petersburg Paradox",
        "Scratch lottery",  "Kelly Betting", "Lotto",
        "Roulette",         "Benford",       "Buffon",
        "Newsboy",          "Legio risk"};
    return QString::fromUtf8(captions[static_cast<int>(choice)]);
}

namespace {

// The module's start-up, once per program run: the streams are reset and the
// system generator seeded.
void InitialiseModule() {
    static bool done = false;
    if (done) return;
    done = true;
    StartGenerators();
}

QRect ScreenRect(const QWidget* w) {
    QScreen* s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}

} // namespace

TMC::TMC(QWidget* parent) : tarvik::ui::ModuleWindow(parent) {
    tarvik::ui::SetHelpContext(this, 6);
    InitialiseModule();
    setObjectName(QStringLiteral("MC"));
    setWindowTitle(QStringLiteral("Monte Carlo Simulation"));

    QMenu* file = addModuleMenu(QStringLiteral("File"));
    QAction* close = file->addAction(QStringLiteral("Close Monte Carlo"));
    close->setObjectName(QStringLiteral("CloseMC"));
    connect(close, &QAction::triggered, this, [this] { closeModule(); });

    // The options the chooser invokes; the menu itself is not shown.
    Options = new QMenu(QStringLiteral("Options"), this);
    Options->setObjectName(QStringLiteral("OptionsMenu"));
    CreateExperiments(this, Experiments);
    const std::pair<const char*, int> entries[] = {
        {"Birthday Problem", 0}, {"Simulation Pi", 1}, {"St Petersburg Paradox", 2},
        {"Scratch lottery", 3},  {"Kelly Betting", 4}, {"Lotto", 5},
        {"Settings", 5},         {"Roulette", 6},      {"Benford", 7},
        {"Buffon", 8},           {"Newsboy", 9},       {"Legio risk", 10}};
    for (const auto& [caption, index] : entries) {
        QAction* a = Options->addAction(QString::fromUtf8(caption));
        const auto c = static_cast<MCChoice>(index);
        a->setEnabled(experiment(c) != nullptr && QString::fromUtf8(caption) != QStringLiteral("Settings"));
        connect(a, &QAction::triggered, this, [this, c] { OpenChoice(c); });
    }

    // "Seed..." among the options, and in the File menu since that one is shown.
    file->addSeparator();
    file->addAction(tarvik::ui::AddSeedCommand(Options, QStringLiteral("montecarlo"), this));

    QMenu* help = addModuleMenu(QStringLiteral("Help"));
    QAction* explanation = help->addAction(QStringLiteral("Explanation"));
    explanation->setObjectName(QStringLiteral("Explanation1"));
    explanation->setShortcut(QKeySequence(Qt::Key_F1));
    connect(explanation, &QAction::triggered, this, [this] { tarvik::ui::ShowHelp(6, this); });

    Chooser = new TMCKeuzeDialoog(this);
    const QRect screen = ScreenRect(this);
    Chooser->move(screen.center() - QPoint(Chooser->width() / 2, Chooser->height() / 2));
    Chooser->show();
}

TMC::~TMC() = default;

void TMC::SeedRun() {
    const auto fixed = tarvik::ui::FixedSeed(QStringLiteral("montecarlo"));
    if (fixed) StartGenerators(*fixed);
    tarvik::ui::BeginSeededRun(QStringLiteral("montecarlo"), this);
}

TMCKeuzeDialoog* TMC::chooser() const {
    return Chooser;
}

void TMC::ShowChooser() {
    if (ModuleClosing() || !Chooser) return;
    Chooser->show();
    Chooser->raise();
    Chooser->activateWindow();
}

void TMC::OpenChoice(MCChoice choice) {
    if (ModuleClosing()) return;
    TMCExperiment* e = experiment(choice);
    if (!e) return;
    if (Chooser) Chooser->hide();
    e->Open();
}

QPoint TMC::SideBySide(int w, int g, int top) const {
    const QRect screen = ScreenRect(this);
    const int left = screen.left() + (screen.width() - w - g - 15) / 2;
    return {left, top >= 0 ? top : screen.top() + 60};
}

void TMC::releaseModule() {
    // Runs stop at their next test of the flag, before anything they draw on
    // is released; the windows go once control is back in the event loop.
    for (auto& e : Experiments)
        if (e) e->Release();
    if (Chooser) {
        Chooser->hide();
        Chooser->deleteLater();
    }
}

} // namespace tarvik::montecarlo::ui

tarvik::ui::ModuleWindow* CreateMCWindow(QWidget* parent) {
    return new tarvik::montecarlo::ui::TMC(parent);
}
