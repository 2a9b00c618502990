#include "common/version.h"
#include "shell/commandline.h"
#include "shell/mainwindow.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace tarvik::shell;

TEST(About, HelpMenuShowsVersionCopyrightAndLicence) {
    tarvik::test::ScriptedDialogs dialogs;
    TTarvikMain main;
    main.show();
    tarvik::test::ProcessEvents();
    const QList<QAction*> entries = main.helpMenu()->actions();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries.at(0)->text(), QStringLiteral("Explanation"));
    EXPECT_TRUE(entries.at(1)->isSeparator());
    EXPECT_EQ(entries.at(2)->text(), QStringLiteral("About Tarvik"));
    entries.at(2)->trigger();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const tarvik::ui::MessageRequest& box = dialogs.messages.front();
    EXPECT_EQ(box.caption, QStringLiteral("About Tarvik"));
    EXPECT_EQ(box.kind, tarvik::ui::MsgKind::Information);
    EXPECT_EQ(box.buttons, tarvik::ui::mbOK);
    const std::string text = box.text.toStdString();
    EXPECT_EQ(text.rfind("Tarvik " + tarvik::VersionText() + "\n\n", 0), 0u);
    EXPECT_NE(text.find("\nCopyright (C) 2026 The Tarvik developers.\n"), std::string::npos);
    EXPECT_NE(text.find("GNU General Public License as published by the Free Software Foundation, either "
                        "version 3 of the License, or (at your option) any later version."),
              std::string::npos);
}

TEST(TarvikCommandLine, HelpAndVersionAnswerAndOnlyKnownOptionsPass) {
    EXPECT_EQ(AnswerHelpOrVersion({"--with-queue", "--help"}), TarvikHelp());
    EXPECT_EQ(AnswerHelpOrVersion({"--version", "--help"}), tarvik::VersionNotice("tarvik"));
    EXPECT_EQ(AnswerHelpOrVersion({"--with-queue"}), std::nullopt);
    EXPECT_EQ(UnknownArgument({"--with-queue", "--startup-probe"}), std::nullopt);
    EXPECT_EQ(UnknownArgument({"--with-queue", "--queue", "x"}), std::string("--queue"));
    EXPECT_EQ(UnknownArgument({"model.tlp"}), std::string("model.tlp"));
    std::istringstream lines(TarvikHelp());
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 79u) << line;
    EXPECT_EQ(TarvikHelp().rfind("Usage: tarvik [OPTION]...\n", 0), 0u);
}

} // namespace
