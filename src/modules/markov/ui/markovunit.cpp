#include "modules/markov/ui/markovunit.h"

#include "common/ui/examples.h"
#include "common/ui/help.h"
#include "common/ui/moduledialog.h"
#include "modules/markov/ui/markovkeuzedialoogunit.h"
#include "modules/markov/ui/markovprogressunit.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

namespace tarvik::markov::ui {

TMarkov::TMarkov(QWidget* parent) : tarvik::ui::ModuleWindow(parent) {
    tarvik::ui::SetHelpContext(this, kMarkovHelpContext);
    setObjectName(QStringLiteral("Markov"));
    setWindowTitle(QStringLiteral("Markov Chains"));

    QMenu* file = addModuleMenu(QStringLiteral("File"));
    tarvik::ui::AddExamplesCommand(file, QStringLiteral("markov"), [this](const QString& folder) {
        if (keuze_ && !keuze_->running()) keuze_->OpenExampleClick(folder);
    });
    file->addSeparator();
    CloseItem = file->addAction(QStringLiteral("Close markov chains"));
    connect(CloseItem, &QAction::triggered, this, &TMarkov::CloseItemClick);
    QMenu* help = addModuleMenu(QStringLiteral("Help"));
    HelpItem = help->addAction(QStringLiteral("Explanation"));
    HelpItem->setShortcut(QKeySequence(Qt::Key_F1));
    connect(HelpItem, &QAction::triggered, this, &TMarkov::HelpItemClick);

    // The choice window is made with the module and shown with it.
    keuze_ = new TMarkovKeuzeDialoog(this);
    connect(keuze_, &TMarkovKeuzeDialoog::closeRequested, this, [this] { closeModule(); });
}

TMarkov::~TMarkov() = default;

TMarkovKeuzeDialoog* TMarkov::choiceWindow() const {
    return keuze_;
}

void TMarkov::showEvent(QShowEvent* event) {
    tarvik::ui::ModuleWindow::showEvent(event);
    if (!shownOnce_ && keuze_) {
        shownOnce_ = true;
        tarvik::ui::ShowInFront(keuze_);
    }
}

bool TMarkov::canClose() {
    // A running analysis is stopped first; the module closes when it has ended.
    if (keuze_ && keuze_->running()) {
        keuze_->stopAndClose();
        return false;
    }
    return true;
}

void TMarkov::releaseModule() {
    HideMarkovProgressWindow();
    if (keuze_) {
        keuze_->hide();
        keuze_->deleteLater();
        keuze_ = nullptr;
    }
}

void TMarkov::CloseItemClick() {
    closeModule();
}

void TMarkov::HelpItemClick() {
    tarvik::ui::ShowHelp(kMarkovHelpContext, this);
}

} // namespace tarvik::markov::ui

tarvik::ui::ModuleWindow* CreateMarkovWindow(QWidget* parent) {
    return new tarvik::markov::ui::TMarkov(parent);
}
