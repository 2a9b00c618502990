#pragma once
// Helpers for the Monte Carlo window tests: runs that hand over to the event
// loop at every point they may, and actions taken at the n-th hand-over, so
// that a test presses "Stop" in the middle of a run without waiting on a clock.
#include "modules/montecarlo/ui/mckeuzedialoogunit.h"
#include "modules/montecarlo/ui/mcunit.h"
#include "modules/montecarlo/ui/mcwidgets.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace tarvik::montecarlo::test {

class EveryHandOver {
public:
    EveryHandOver() { ui::MCRunProgress::HandOverIntervalMs = 0; }
    ~EveryHandOver() { ui::MCRunProgress::HandOverIntervalMs = 10; }
};

// Calls `fn` the n-th time the event loop runs from now on.
inline void AtHandOver(QObject* ctx, int n, std::function<void()> fn) {
    auto* timer = new QTimer(ctx);
    timer->setInterval(0);
    auto count = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, ctx, [timer, count, n, fn] {
        if (++*count != n) return;
        timer->stop();
        timer->deleteLater();
        fn();
    });
    timer->start();
}

// Picks an experiment in the module's chooser and confirms it.
inline void Choose(ui::TMC* module, ui::MCChoice choice) {
    ui::TMCKeuzeDialoog* chooser = module->chooser();
    QRadioButton* radio = chooser->Choices[static_cast<std::size_t>(choice)];
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(8, radio->height() / 2));
    QTest::mouseClick(chooser->OKBtn, Qt::LeftButton);
    tarvik::test::ProcessEvents();
}

// Lets the event loop run while `busy` holds (a run in progress).
inline void WaitWhile(const std::function<bool()>& busy) {
    for (int i = 0; i < 2000000 && busy(); ++i) QCoreApplication::processEvents();
}

// A window test: scripted dialogs and a shown module window, deleted after
// the test unless the test closed it.
class MCWindowTest : public ::testing::Test {
protected:
    MCWindowTest() : module(new ui::TMC) { module->show(); }
    ~MCWindowTest() override { delete module; }
    // Picks `choice` in the chooser; its window of type W.
    template <class W> W* Open(ui::MCChoice choice) {
        Choose(module, choice);
        return module->findChild<W*>();
    }

    tarvik::test::ScriptedDialogs dialogs;
    QPointer<ui::TMC> module;
};

} // namespace tarvik::montecarlo::test
