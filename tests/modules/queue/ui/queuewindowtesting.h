#pragma once
// What the queue window tests share: the module window, shown at a fixed size
// and released after each test, and helpers that drive its pages through the
// widgets and read its results log.
#include "modules/queue/ui/queue1.h"
#include "modules/queue/ui/queuegraphs.h"
#include "modules/queue/ui/queuemodule.h"
#include "modules/queue/ui/queuewidgets.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <gtest/gtest.h>
#include <string>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace tarvik::queue::ui {

class QueueWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = static_cast<TQueueMainForm*>(CreateQueueWindow(nullptr));
        form->resize(1000, 700);
        form->show();
        tarvik::test::ProcessEvents();
    }
    void TearDown() override {
        if (form) form->closeModule();
        for (int i = 0; i < 20 && form; ++i) tarvik::test::ProcessEvents();
        delete form.data();
    }

    template <typename T = TQueueEdit> T* Find(const char* name) {
        T* w = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void ShowPage(Page p) {
        form->PageControl->setCurrentIndex(static_cast<int>(p));
        tarvik::test::ProcessEvents(1);
    }
    // Replaces the field's text by typing, so that the field's filter runs.
    void Type(const char* field, const QString& text) {
        TQueueEdit* e = Find(field);
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
        QTest::keyClicks(e, text);
    }
    void Choose(const char* group, int item) {
        TRadioGroup* g = Find<TRadioGroup>(group);
        QTest::mouseClick(g->item(item), Qt::LeftButton, Qt::NoModifier,
                          QPoint(5, g->item(item)->height() / 2));
    }
    void Run(Page p) {
        QTest::mouseClick(form->runButton(p), Qt::LeftButton);
        tarvik::test::ProcessEvents();
    }
    // The range label beside a field.
    QString Range(const char* field) { return Find<QLabel>((std::string(field) + "_range").c_str())->text(); }
    bool Shown(QWidget* w) { return w && w->isVisibleTo(w->parentWidget()); }
    QStringList LogLines() {
        QStringList lines;
        for (QTextBlock b = form->Results->document()->begin(); b.isValid(); b = b.next()) lines << b.text();
        return lines;
    }

    tarvik::test::ScriptedDialogs dialogs;
    QPointer<TQueueMainForm> form;
};

} // namespace tarvik::queue::ui
