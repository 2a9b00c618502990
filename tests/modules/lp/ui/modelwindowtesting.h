#pragma once
// What the LP and IP window tests share: the window under test, shown at a
// fixed size and released after each test, and helpers that set its model and
// read its editor and menus.
#include "modules/lp/ui/modeleditor.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QMenu>
#include <QTextBlock>
#include <gtest/gtest.h>
#include <map>
#include <memory>

template <class Window> class ModelWindowTest : public ::testing::Test {
protected:
    // Takes `created` as the window under test and shows it.
    void showWindow(Window* created) {
        window.reset(created);
        window->resize(800, 600);
        window->show();
        tarvik::test::ProcessEvents();
    }
    void TearDown() override {
        window.reset();
        tarvik::test::ProcessEvents();
    }
    tarvik::ui::TModelEditor* editor() const { return window->inputEditor(); }
    void setModel(const QString& text) {
        editor()->setPlainText(text);
        editor()->document()->setModified(true);
    }
    QString line(int n) const { return editor()->document()->findBlockByNumber(n).text(); }
    // The menu's actions as it shows them, by caption.
    std::map<QString, bool> shownEnabling(QMenu* menu) {
        menu->popup(QPoint(10, 10));
        tarvik::test::ProcessEvents(1);
        std::map<QString, bool> enabled;
        for (QAction* a : menu->actions())
            if (!a->isSeparator()) enabled[a->text()] = a->isEnabled();
        menu->hide();
        return enabled;
    }

    tarvik::test::ScriptedDialogs dialogs;
    std::unique_ptr<Window> window;
};
