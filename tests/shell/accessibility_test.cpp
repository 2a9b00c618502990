// Keyboard and screen-reader access: every control is named, and Tab reaches it.
#include "common/ui/accessibility.h"
#include "common/ui/modulewindow.h"
#include "shell/mainwindow.h"
#include "shell/modulelist.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

using namespace tarvik::ui;
using tarvik::test::ProcessEvents;

TEST(Accessibility, ControlsAreNamedByTheirLabels) {
    QWidget window;
    window.setWindowTitle(QStringLiteral("Settings"));
    auto* layout = new QVBoxLayout(&window);
    auto* row = new QHBoxLayout;
    auto* throwsLabel = new QLabel(QStringLiteral("&Number of throws:"));
    auto* throws = new QLineEdit;
    row->addWidget(throwsLabel);
    row->addWidget(throws);
    layout->addLayout(row);
    auto* aboveLabel = new QLabel(QStringLiteral("Probability"));
    auto* probability = new QLineEdit;
    layout->addWidget(aboveLabel);
    layout->addWidget(probability);
    auto* buddyLabel = new QLabel(QStringLiteral("Seed"));
    auto* seed = new QSpinBox;
    buddyLabel->setBuddy(seed);
    layout->addWidget(seed);
    layout->addWidget(buddyLabel);
    auto* save = new QToolButton;
    save->setToolTip(QStringLiteral("Save graph to file"));
    layout->addWidget(save);
    auto* group = new QGroupBox(QStringLiteral("Fast execution"));
    auto* inGroup = new QVBoxLayout(group);
    auto* box = new QCheckBox;
    inGroup->addWidget(box);
    layout->addWidget(group);
    auto* ok = new QPushButton(QStringLiteral("&OK"));
    layout->addWidget(ok);
    window.show(); // naming happens as the window shows
    ProcessEvents();

    EXPECT_EQ(AccessibleNameOf(throws), QStringLiteral("Number of throws"));
    EXPECT_EQ(AccessibleNameOf(probability), QStringLiteral("Probability"));
    EXPECT_EQ(AccessibleNameOf(seed), QStringLiteral("Seed"));
    EXPECT_EQ(AccessibleNameOf(save), QStringLiteral("Save graph to file"));
    EXPECT_EQ(AccessibleNameOf(box), QStringLiteral("Fast execution"));
    EXPECT_EQ(AccessibleNameOf(ok), QStringLiteral("OK"));
    // The field inside the spin box is part of it, not a control of its own.
    EXPECT_FALSE(IsInteractive(seed->findChild<QLineEdit*>()));
    EXPECT_TRUE(AccessibilityProblems(&window).isEmpty())
        << AccessibilityProblems(&window).join('\n').toStdString();

    // A control nobody can name, and one the Tab key passes by, are found.
    auto* lonely = new QLineEdit(&window);
    lonely->setObjectName(QStringLiteral("Lonely"));
    lonely->setGeometry(400, 400, 40, 20);
    auto* mouseOnly = new QPushButton(QStringLiteral("Mouse"), &window);
    mouseOnly->setObjectName(QStringLiteral("MouseOnly"));
    mouseOnly->setFocusPolicy(Qt::ClickFocus);
    lonely->show();
    mouseOnly->show();
    const QStringList problems = AccessibilityProblems(&window);
    EXPECT_EQ(problems.size(), 2) << problems.join('\n').toStdString();
    EXPECT_TRUE(problems.filter(QStringLiteral("no name: Lonely")).size() == 1);
    EXPECT_TRUE(problems.filter(QStringLiteral("not reached by Tab: MouseOnly")).size() == 1);
}

struct Walk {
    QStringList problems;
    int controls = 0; // interactive controls looked at

    void window(QWidget* w) {
        problems += AccessibilityProblems(w);
        for (QWidget* c : w->findChildren<QWidget*>())
            if (c->window() == w && c->isVisible() && IsInteractive(c)) ++controls;
    }
    // Every window that shows, the main window among them.
    void visibleWindows() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) window(w);
    }
};

TEST(Accessibility, EveryModuleWindowIsNamedAndReachedByTab) {
    tarvik::test::ScriptedDialogs dialogs;
    tarvik::shell::TTarvikMain main;
    main.show();
    ProcessEvents();
    Walk walk;
    walk.visibleWindows();
    const auto& modules = tarvik::shell::Modules();
    for (int i = 0; i < static_cast<int>(modules.size()); ++i) {
        if (!modules[static_cast<std::size_t>(i)].create) continue;
        main.openModule(i);
        ProcessEvents();
        walk.visibleWindows();
        // The module's other windows (results, pictures, later dialogs), each shown once.
        if (main.module())
            for (QWidget* w : main.module()->findChildren<QWidget*>()) {
                if (!w->isWindow() || w->isVisible() || w->isModal()) continue;
                w->show();
                ProcessEvents();
                walk.window(w);
                w->hide();
            }
        if (main.module()) main.module()->closeModule();
        ProcessEvents();
    }
    walk.problems.removeDuplicates();
    EXPECT_TRUE(walk.problems.isEmpty()) << walk.problems.join('\n').toStdString();
    // The walk went through the program's windows, not past them.
    EXPECT_GT(walk.controls, 300);
}

} // namespace
