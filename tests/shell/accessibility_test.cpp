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
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <map>
#include <vector>

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

// Tab order against reading order, judged on fixed geometries: the controls
// are made in the order Tab is to visit them.
TEST(Accessibility, TabOrderFollowsReadingOrder) {
    // A 2 x 2 grid (the right column 3 pixels lower), a group box below with
    // two fields, a field under the group, and OK on its right.
    const std::map<QString, QRect> places = {{"A", {10, 10, 100, 20}},  {"B", {150, 13, 100, 20}},
                                             {"C", {10, 40, 100, 20}},  {"D", {150, 43, 100, 20}},
                                             {"G1", {10, 20, 100, 20}}, {"G2", {10, 50, 100, 20}},
                                             {"E", {10, 160, 100, 20}}, {"OK", {270, 165, 80, 24}}};
    struct Case {
        const char* what;
        QStringList order;
        QString fault; // the step reported, empty when none
    };
    const std::vector<Case> cases = {
        {"rows", {"A", "B", "C", "D", "G1", "G2", "E", "OK"}, {}},
        {"columns, each read to its end", {"A", "C", "B", "D", "G1", "G2", "E", "OK"}, {}},
        {"back along a row", {"B", "A", "C", "D", "G1", "G2", "E", "OK"}, "A (QLineEdit) in Order after B"},
        {"up in the same column",
         {"A", "B", "D", "C", "G1", "G2", "E", "OK"},
         "C (QLineEdit) in Order after D"},
        {"out of a group and back",
         {"A", "B", "C", "D", "G1", "E", "G2", "OK"},
         "G2 (QLineEdit) in Order after E"},
        {"a field after the buttons",
         {"A", "B", "C", "D", "G1", "G2", "OK", "E"},
         "E (QLineEdit) in Order after OK"},
    };
    for (const Case& test : cases) {
        QWidget window;
        window.setWindowTitle(QStringLiteral("Order"));
        window.resize(360, 200);
        auto* group = new QGroupBox(QStringLiteral("Group"), &window);
        group->setGeometry(10, 70, 240, 80);
        for (const QString& name : test.order) {
            QWidget* w = name == "OK" ? static_cast<QWidget*>(new QPushButton(name))
                                      : static_cast<QWidget*>(new QLineEdit);
            w->setParent(name.startsWith('G') ? group : &window);
            w->setObjectName(name);
            w->setAccessibleName(name);
            w->setGeometry(places.at(name));
        }
        window.show();
        ProcessEvents();
        const QStringList tabProblems = AccessibilityProblems(&window).filter(QStringLiteral("Tab against"));
        if (test.fault.isEmpty()) {
            EXPECT_TRUE(tabProblems.isEmpty()) << test.what << ": " << tabProblems.join('\n').toStdString();
        } else {
            ASSERT_EQ(tabProblems.size(), 1) << test.what << ": " << tabProblems.join('\n').toStdString();
            EXPECT_TRUE(tabProblems[0].contains(test.fault))
                << test.what << ": " << tabProblems[0].toStdString();
        }
    }
}

// Qt leaves the chain alone when the widget to be followed ends it; SetTabOrder does not.
TEST(Accessibility, SetTabOrderMovesAfterTheLastOfTheChain) {
    QWidget window;
    auto* first = new QPushButton(QStringLiteral("First"), &window);
    auto* second = new QPushButton(QStringLiteral("Second"), &window);
    auto* third = new QPushButton(QStringLiteral("Third"), &window);
    SetTabOrder({third, first, second});
    QList<QWidget*> chain;
    for (QWidget* w = window.nextInFocusChain(); w != &window; w = w->nextInFocusChain()) chain << w;
    EXPECT_EQ(chain, (QList<QWidget*>{third, first, second}));
}

TEST(Accessibility, PicturesWithoutDescriptionAreFound) {
    QWidget window;
    auto* picture = new QWidget(&window);
    picture->setObjectName(QStringLiteral("Drawing"));
    picture->setGeometry(0, 0, 50, 50);
    auto* plain = new QWidget(&window); // a widget that is no picture needs no description
    plain->setGeometry(60, 0, 50, 50);
    MarkAsPicture(picture);
    window.show();
    ProcessEvents();
    EXPECT_EQ(AccessibilityProblems(&window).filter(QStringLiteral("no description: Drawing")).size(), 1);
    DescribePicture(picture, QStringLiteral("A square"));
    EXPECT_TRUE(AccessibilityProblems(&window).isEmpty())
        << AccessibilityProblems(&window).join('\n').toStdString();
    picture->hide(); // a hidden picture is not read
    picture->setAccessibleDescription({});
    EXPECT_TRUE(AccessibilityProblems(&window).isEmpty());
}

struct Walk {
    QStringList problems;
    int controls = 0; // interactive controls looked at
    int pictures = 0; // pictures looked at
    int pages = 0;    // pages of tab and stacked widgets looked at besides the shown one

    void window(QWidget* w) {
        check(w);
        // Every page of a window with pages, not only the one it opens with.
        for (QTabWidget* tabs : w->findChildren<QTabWidget*>()) {
            if (tabs->window() != w || !tabs->isVisible()) continue;
            const int shown = tabs->currentIndex();
            for (int i = 0; i < tabs->count(); ++i) {
                if (i == shown || !tabs->isTabEnabled(i) || !tabs->isTabVisible(i)) continue;
                tabs->setCurrentIndex(i);
                ProcessEvents();
                check(w);
                ++pages;
            }
            tabs->setCurrentIndex(shown);
            ProcessEvents();
        }
        for (QStackedWidget* stack : w->findChildren<QStackedWidget*>()) {
            if (stack->window() != w || !stack->isVisible()) continue;
            if (qobject_cast<QTabWidget*>(stack->parentWidget())) continue; // done above
            const int shown = stack->currentIndex();
            for (int i = 0; i < stack->count(); ++i) {
                if (i == shown) continue;
                stack->setCurrentIndex(i);
                ProcessEvents();
                check(w);
                ++pages;
            }
            stack->setCurrentIndex(shown);
            ProcessEvents();
        }
    }
    void check(QWidget* w) {
        problems += AccessibilityProblems(w);
        QList<QWidget*> widgets = w->findChildren<QWidget*>();
        widgets << w;
        for (QWidget* c : widgets) {
            if (c->window() != w || !c->isVisible()) continue;
            if (IsInteractive(c)) ++controls;
            if (IsPicture(c)) ++pictures;
        }
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
                if (!w->isWindow() || w->isVisible()) continue;
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
    EXPECT_GT(walk.pictures, 10);
    EXPECT_GT(walk.pages, 10);
}

} // namespace
