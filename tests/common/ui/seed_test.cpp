#include "common/random.h"
#include "common/ui/seed.h"
#include "support/scripteddialogs.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace tarvik::ui;

TEST(Seed, TextsThatAreSeeds) {
    for (const char* empty : {"", "  "}) {
        const SeedEntry e = ParseSeedText(QString::fromUtf8(empty));
        EXPECT_TRUE(e.valid && !e.fixed) << empty;
    }
    const SeedEntry zero = ParseSeedText(QStringLiteral("0"));
    EXPECT_TRUE(zero.valid && zero.fixed && zero.seed == 0u);
    const SeedEntry top = ParseSeedText(QStringLiteral(" 4294967295 "));
    EXPECT_TRUE(top.valid && top.fixed && top.seed == 4294967295u);
    for (const char* bad : {"4294967296", "-1", "+5", "1.5", "12a", "1e3", "\u0661"})
        EXPECT_FALSE(ParseSeedText(QString::fromUtf8(bad)).valid) << bad;
}

TEST(Seed, ARunStartsFromTheFixedSeedOrFromWhereTheGeneratorStands) {
    QMainWindow main;
    auto* moduleWindow = new QWidget(&main);
    main.setCentralWidget(moduleWindow);

    tarvik::RandSeed = 123;
    EXPECT_EQ(BeginSeededRun(QStringLiteral("probe"), moduleWindow), 123u);
    EXPECT_EQ(tarvik::RandSeed, 123u) << "nothing fixed: the generator is left alone";
    auto* label = main.statusBar()->findChild<QLabel*>(QStringLiteral("SeedLabel"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Seed: 123"));

    // A fixed seed holds for this module only.
    SetFixedSeed(QStringLiteral("probe"), 77u);
    tarvik::RandomInt(10);
    EXPECT_EQ(BeginSeededRun(QStringLiteral("probe"), moduleWindow), 77u);
    EXPECT_EQ(tarvik::RandSeed, 77u);
    EXPECT_EQ(LastRunSeed(QStringLiteral("probe")), 77u);
    const int first = tarvik::RandomInt(1000000);
    tarvik::RandomInt(10);
    BeginSeededRun(QStringLiteral("probe"), moduleWindow);
    EXPECT_EQ(tarvik::RandomInt(1000000), first);
    tarvik::RandSeed = 5;
    EXPECT_EQ(BeginSeededRun(QStringLiteral("other"), moduleWindow), 5u);
    EXPECT_EQ(label->text(), QStringLiteral("Seed: 5"));

    // The module gone, the status line no longer names its seed.
    delete moduleWindow;
    EXPECT_TRUE(label->text().isEmpty());
    SetFixedSeed(QStringLiteral("probe"), std::nullopt);
}

TEST(Seed, TheSeedCommandAsksWithTheFixedSeedInItsField) {
    tarvik::test::ScriptedDialogs dialogs;
    QWidget window;
    QMenu options;
    QAction* command = AddSeedCommand(&options, QStringLiteral("asked"), &window);
    EXPECT_EQ(command->text(), QString::fromUtf16(u"Seed\u2026"));
    dialogs.textAnswers = {QStringLiteral("31"), std::nullopt, QStringLiteral("99999999999")};
    command->trigger();
    EXPECT_EQ(FixedSeed(QStringLiteral("asked")), 31u);
    command->trigger(); // cancelled: kept
    EXPECT_EQ(dialogs.textRequests.back().text, QStringLiteral("31"));
    EXPECT_EQ(FixedSeed(QStringLiteral("asked")), 31u);
    command->trigger(); // out of range: refused, kept
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, MsgKind::Error);
    EXPECT_EQ(FixedSeed(QStringLiteral("asked")), 31u);
    SetFixedSeed(QStringLiteral("asked"), std::nullopt);
}

struct RealTextQuestion : tarvik::test::ScriptedDialogs { // the program's own question, messages scripted
    std::optional<QString> text(const TextRequest& r) override { return DialogService::text(r); }
};

TEST(Seed, ARefusedSeedKeepsTheQuestionOpenWithTheTextSelected) {
    RealTextQuestion dialogs;
    QString selected; // after "abc" and Enter
    QTimer::singleShot(0, [&] {
        auto* field = QApplication::activeModalWidget()->findChild<QLineEdit*>();
        QTest::keyClicks(field, "abc\r");
        selected = field->isVisible() ? field->selectedText() : QString();
        QTest::keyClicks(field, "77\r"); // over the selection
    });
    EXPECT_TRUE(AskSeed(QStringLiteral("typed"), nullptr));
    EXPECT_EQ(selected, QStringLiteral("abc"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "The seed must be empty or a whole number from 0 to 4294967295");
    EXPECT_EQ(FixedSeed(QStringLiteral("typed")), 77u);
}

} // namespace
