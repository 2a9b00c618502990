#pragma once
// What the window tests of the queue simulation share: the module window made
// and closed around each test, typing into a field, waiting for a run, and an
// action at the first repaint of a live picture during a run.
#include "modules/simulation/ui/simmodule.h"
#include "modules/simulation/ui/simstate.h"
#include "modules/simulation/ui/simunit.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace tarvik::simulation::ui::test {

// Does `act` (queued, as a user's action waiting in the event queue) at the
// first repaint of a live picture while a run is going: the single-server
// graph's, or that of the panel graph `graph`.
class DuringRun : public QObject {
public:
    DuringRun(TSim* module, std::function<void()> act) : DuringRun(module, module->grafiek()->Image1, act) {}
    DuringRun(TSim* module, TSimPanelGraph* graph, std::function<void()> act)
        : DuringRun(module, graph->Image1, act) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && !done && module_ && module_->running()) {
            done = true;
            QMetaObject::invokeMethod(this, act_, Qt::QueuedConnection);
        }
        return false;
    }
    bool done = false;

private:
    DuringRun(TSim* module, QObject* picture, std::function<void()> act)
        : module_(module), act_(std::move(act)) {
        picture->installEventFilter(this);
    }
    QPointer<TSim> module_;
    std::function<void()> act_;
};

class SimWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetState();
        module = static_cast<TSim*>(CreateSimWindow(nullptr));
        module->show();
        tarvik::test::ProcessEvents();
    }
    void TearDown() override {
        if (module) module->closeModule();
        for (int i = 0; i < 50 && module; ++i) tarvik::test::ProcessEvents();
        delete module.data();
        ResetState();
    }
    void Type(QLineEdit* field, const QString& text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }
    void WaitForRun() {
        for (int i = 0; i < 1000000 && module && module->running(); ++i) QCoreApplication::processEvents();
        tarvik::test::ProcessEvents();
    }

    tarvik::test::ScriptedDialogs dialogs;
    QPointer<TSim> module;
};

} // namespace tarvik::simulation::ui::test
