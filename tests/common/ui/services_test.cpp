#include "common/ui/dialogservice.h"
#include "common/ui/help.h"
#include "common/ui/modulewindow.h"
#include "common/ui/picturesave.h"
#include "support/scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace tarvik::ui;

TEST(DialogService, MessagesGoThroughTheInstalledService) {
    tarvik::test::ScriptedDialogs dialogs;
    dialogs.messageAnswers = {mrNo};
    EXPECT_EQ(MsgDlg(QStringLiteral("Exit Tarvik"), MsgKind::Confirmation, mbYesNo), mrNo);
    EXPECT_EQ(StdMsgDlg(QStringLiteral("Bad"), MsgKind::Error, mbOK), mrOk);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_FALSE(dialogs.messages[0].standardCaptions);
    EXPECT_TRUE(dialogs.messages[1].standardCaptions);
    EXPECT_EQ(dialogs.messages[1].kind, MsgKind::Error);
}

TEST(SaveGraphBitmap, ProposesTheDefaultNameAndWritesABitmap) {
    tarvik::test::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);

    const QString plain = dir.filePath(QStringLiteral("walk"));
    dialogs.fileAnswers = {plain};
    // The first dialog of a run starts in the documents folder.
    const QString startFolder = FileDialogFolder(QStringLiteral("picture:DiceWalk.bmp"));
    EXPECT_TRUE(SaveGraphBitmap(picture, QStringLiteral("DiceWalk.bmp")));
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].fileName, QStringLiteral("DiceWalk.bmp"));
    EXPECT_EQ(dialogs.fileRequests[0].directory, startFolder);
    // The next one starts where that picture went.
    EXPECT_EQ(FileDialogFolder(QStringLiteral("picture:DiceWalk.bmp")), dir.path());
    EXPECT_EQ(dialogs.fileRequests[0].filters, QStringList{QStringLiteral("Bitmap-bestanden (*.bmp)")});
    // Used as typed: no extension appended in this window.
    EXPECT_TRUE(QFile::exists(plain));
    QFile f(plain);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(2), QByteArray("BM"));

    dialogs.fileAnswers = {dir.filePath(QStringLiteral("tour"))};
    EXPECT_TRUE(SaveGraphBitmap(picture, QStringLiteral("tsp.bmp"), true));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("tour.bmp"))));

    // Cancel writes nothing.
    EXPECT_FALSE(SaveGraphBitmap(picture, QStringLiteral("Dice.bmp")));
    EXPECT_TRUE(dialogs.messages.empty());
    // A file that cannot be written is reported, not passed over in silence.
    const QString bad = dir.filePath(QStringLiteral("no/such/folder/x.bmp"));
    dialogs.fileAnswers = {bad};
    EXPECT_FALSE(SaveGraphBitmap(picture, QStringLiteral("Dice.bmp")));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Cannot write file ") + bad);
    EXPECT_EQ(dialogs.messages[0].kind, MsgKind::Error);
}

TEST(Help, FileIsFoundNextToTheProgramWhateverTheWorkingDirectory) {
    const QString before = QDir::currentPath();
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    EXPECT_EQ(HelpFilePath(), QCoreApplication::applicationDirPath() + QStringLiteral("/Tarvik2000.hlp"));
    EXPECT_TRUE(QFile::exists(HelpFilePath()));
    EXPECT_TRUE(HelpTopicHtml(1).contains(QStringLiteral("context-1")));
    EXPECT_TRUE(HelpTopicHtml(987654).isEmpty());
    QDir::setCurrent(before);
}

class Probe : public ModuleWindow {
public:
    bool allowClose = true;
    int released = 0;
    QAction* run = nullptr;
    int runs = 0;
    Probe() {
        QMenu* options = addModuleMenu(QStringLiteral("Options"));
        run = options->addAction(QStringLiteral("Throw"));
        run->setShortcut(Qt::Key_F10);
        QObject::connect(run, &QAction::triggered, [this] { ++runs; });
    }

protected:
    bool canClose() override { return allowClose; }
    void releaseModule() override { ++released; }
};

TEST(ModuleWindow, CloseSequenceRunsOnceAndHonoursTheCloseQuery) {
    auto* probe = new Probe;
    int closedSignals = 0;
    QObject::connect(probe, &ModuleWindow::moduleClosed, [&] { ++closedSignals; });
    probe->allowClose = false;
    EXPECT_FALSE(probe->closeModule());
    EXPECT_EQ(probe->released, 0);
    probe->allowClose = true;
    QPointer<Probe> alive(probe);
    EXPECT_TRUE(probe->closeModule());
    EXPECT_TRUE(probe->closeModule());
    EXPECT_EQ(probe->released, 1);
    EXPECT_EQ(closedSignals, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());
}

TEST(ModuleWindow, MenuShortcutsWorkOnTheWindow) {
    Probe probe;
    probe.show();
    QTest::qWait(1);
    EXPECT_EQ(probe.moduleMenus().size(), 1);
    QTest::keyClick(&probe, Qt::Key_F10);
    EXPECT_EQ(probe.runs, 1);
}

} // namespace
