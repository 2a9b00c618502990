#include "modules/montecarlo/ui/mckeuzedialoogunit.h"
#include "modules/montecarlo/ui/mcunit.h"
#include "modules/montecarlo/ui/mcwidgets.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace tarvik::montecarlo;
using namespace tarvik::montecarlo::ui;
using tarvik::test::ProcessEvents;

TEST(MCChooser, ListsTheElevenExperimentsInOrderWithTheFirstSelected) {
    tarvik::test::ScriptedDialogs dialogs;
    QPointer<TMC> module = new TMC;
    module->show();
    ProcessEvents();
    TMCKeuzeDialoog* chooser = module->chooser();
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_EQ(chooser->windowTitle(), "Monte Carlo Simulation");
    EXPECT_EQ(chooser->ChoiceGroup->title(), "Make your choice");
    const QStringList expected = {"Birthday Problem", "Simulation Pi", "St Petersburg Paradox",
                                  "Scratch lottery",  "Kelly Betting", "Lotto",
                                  "Roulette",         "Benford",       "Buffon",
                                  "Newsboy",          "Legio risk"};
    for (int i = 0; i < kChoices; ++i)
        EXPECT_EQ(chooser->Choices[static_cast<std::size_t>(i)]->text(), expected[i]);
    EXPECT_TRUE(chooser->Choices[0]->isChecked());
    EXPECT_EQ(chooser->choice(), MCChoice::Birthday);
    // Every experiment is built: all eleven choices can be made.
    for (int i = 0; i < kChoices; ++i)
        EXPECT_TRUE(chooser->Choices[static_cast<std::size_t>(i)]->isEnabled()) << i;
    delete module;
}

TEST(MCChooser, PreviousAndTheFrameCloseTheModule) {
    tarvik::test::ScriptedDialogs dialogs;
    {
        QPointer<TMC> module = new TMC;
        module->show();
        QTest::mouseClick(module->chooser()->TerugBtn, Qt::LeftButton);
        ProcessEvents();
        EXPECT_TRUE(module.isNull());
    }
    {
        QPointer<TMC> module = new TMC;
        module->show();
        QPointer<TMCKeuzeDialoog> chooser = module->chooser();
        chooser->close();
        ProcessEvents();
        EXPECT_TRUE(module.isNull());
        EXPECT_TRUE(chooser.isNull());
    }
}

TEST(MCSpinEdit, ClampsOnLeavingAndReadsANonIntegerAsTheLowerLimit) {
    QWidget host;
    auto* spin = new TMCSpinEdit(
        SpinLimits{.min = 25, .max = 400000, .initial = 1000, .hint = "Min: 25 ; Max: 400000"}, &host);
    auto* other = new QLineEdit(&host);
    other->move(0, 40);
    host.show();
    QApplication::setActiveWindow(&host);
    EXPECT_EQ(spin->toolTip(), "Min: 25 ; Max: 400000");
    EXPECT_EQ(spin->value(), 1000);

    const auto typeAndLeave = [&](const QString& text) {
        spin->setFocus();
        spin->editor()->selectAll();
        QTest::keyClick(spin->editor(), Qt::Key_Delete);
        QTest::keyClicks(spin->editor(), text);
        other->setFocus();
        ProcessEvents(1);
        return spin->value();
    };
    EXPECT_EQ(typeAndLeave("5"), 25);
    EXPECT_EQ(spin->text(), "25");
    EXPECT_EQ(typeAndLeave("999999"), 400000);
    EXPECT_EQ(typeAndLeave("abc"), 25);
    EXPECT_EQ(typeAndLeave("1234"), 1234);
}

TEST(MCSpinEdit, IsYellowWithTheFocusAndWhiteAfterwards) {
    QWidget host;
    auto* spin =
        new TMCSpinEdit(SpinLimits{.min = 2, .max = 75, .initial = 10, .hint = "Min: 2 ; Max: 75"}, &host);
    auto* other = new QLineEdit(&host);
    other->move(0, 40);
    host.show();
    QApplication::setActiveWindow(&host);
    spin->setFocus();
    ProcessEvents(1);
    EXPECT_EQ(spin->editor()->palette().color(QPalette::Base), QColor(Qt::yellow));
    other->setFocus();
    ProcessEvents(1);
    EXPECT_EQ(spin->editor()->palette().color(QPalette::Base), QColor(Qt::white));
}

} // namespace
