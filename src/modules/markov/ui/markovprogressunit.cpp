#include "modules/markov/ui/markovprogressunit.h"

#include "common/ui/help.h"
#include "modules/markov/ui/markovunit.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tarvik::markov::ui {
namespace {

QPointer<TMarkovProgress> gProgress;

} // namespace

TMarkovProgress::TMarkovProgress(QWidget* parent) : QWidget(parent) {
    tarvik::ui::SetHelpContext(this, kMarkovHelpContext);
    setObjectName(QStringLiteral("MarkovProgress"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(QStringLiteral("Calculating..."));

    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setMinimumWidth(260);

    StopBtn = new QPushButton(QStringLiteral("&Stop"), this);
    StopBtn->setObjectName(QStringLiteral("StopBtn"));
    connect(StopBtn, &QPushButton::clicked, this, &TMarkovProgress::StopBtnClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(StopBtn);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ProgressBar);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

void TMarkovProgress::begin() {
    stop_ = false;
    running_ = true;
    ProgressBar->setValue(0);
    show();
    raise();
    activateWindow();
    StopBtn->setFocus();
}

void TMarkovProgress::setPosition(int position) {
    ProgressBar->setValue(std::clamp(position, 0, 100));
    // Keep the focus within the program while the computation runs and has not been stopped.
    if (running_ && !stop_ && isVisible() && !isActiveWindow() &&
        QGuiApplication::applicationState() == Qt::ApplicationActive)
        activateWindow();
}

void TMarkovProgress::end() {
    running_ = false;
    hide();
}

void TMarkovProgress::requestStop() {
    stop_ = true;
}

void TMarkovProgress::StopBtnClick() {
    requestStop();
}

void TMarkovProgress::closeEvent(QCloseEvent* event) {
    // Closing the window is a request to stop; the analysis hides it when it ends.
    requestStop();
    if (running_)
        event->ignore();
    else
        event->accept();
}

TMarkovProgress* MarkovProgressWindow() {
    if (!gProgress) gProgress = new TMarkovProgress(nullptr);
    return gProgress;
}

} // namespace tarvik::markov::ui

void CreateMarkovProgressWindow(QWidget* mainWindow) {
    using tarvik::markov::ui::gProgress;
    if (gProgress) return;
    gProgress = new tarvik::markov::ui::TMarkovProgress(mainWindow);
    gProgress->hide();
}

void HideMarkovProgressWindow() {
    if (tarvik::markov::ui::gProgress) tarvik::markov::ui::gProgress->end();
}
