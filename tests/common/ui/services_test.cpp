#include "common/ui/dialogservice.h"
#include "common/ui/help.h"
#include "common/ui/modulewindow.h"
#include "common/ui/picturesave.h"
#include "support/picturecheck.h"
#include "support/scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QMenu>
#include <QPainter>
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
    // The bitmap stays the default; PNG is offered beside it, SVG only with a drawing.
    EXPECT_EQ(dialogs.fileRequests[0].filters,
              QStringList({QStringLiteral("Bitmap-bestanden (*.bmp)"), QStringLiteral("PNG image (*.png)")}));
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

// A small picture and the code that draws it: a blue frame, a red bar, a line and a text.
void DrawSample(QPainter& p) {
    p.fillRect(QRect(0, 0, 120, 80), Qt::white);
    p.setPen(QPen(Qt::blue, 2));
    p.drawRect(QRect(4, 4, 112, 72));
    p.fillRect(QRect(20, 30, 30, 40), Qt::red);
    p.setPen(Qt::black);
    p.drawLine(60, 70, 110, 10);
    p.drawText(QPoint(60, 30), QStringLiteral("7"));
}

QImage SamplePicture() {
    QImage picture(120, 80, QImage::Format_RGB32);
    QPainter p(&picture);
    DrawSample(p);
    return picture;
}

TEST(SaveGraphPicture, PngKeepsSizeAndEveryPixel) {
    tarvik::test::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QImage picture = SamplePicture();
    const QString file = dir.filePath(QStringLiteral("sample.png"));
    dialogs.fileAnswers = {file};
    EXPECT_TRUE(SaveGraphBitmap(picture, QStringLiteral("Dice.bmp")));
    QImageReader reader(file);
    EXPECT_EQ(reader.format(), "png");
    const QImage back = reader.read().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(back, picture);
    // Nothing is left beside it (the file was written under a temporary name first).
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("sample.png")});
}

TEST(SaveGraphPicture, SvgIsDrawnWithShapesAndLooksLikeThePicture) {
    tarvik::test::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QImage picture = SamplePicture();
    const QString file = dir.filePath(QStringLiteral("sample.svg"));
    dialogs.fileAnswers = {file};
    EXPECT_TRUE(SaveGraphPicture(picture, QStringLiteral("Dice.bmp"), DrawSample));
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].fileName, QStringLiteral("Dice.bmp"));
    EXPECT_EQ(dialogs.fileRequests[0].filters,
              QStringList({QStringLiteral("Bitmap-bestanden (*.bmp)"), QStringLiteral("PNG image (*.png)"),
                           QStringLiteral("SVG drawing (*.svg)")}));
    const auto svg = tarvik::test::InspectSvg(file);
    EXPECT_TRUE(svg.parses);
    EXPECT_GE(svg.shapes, 3);
    EXPECT_EQ(svg.images, 0);
    EXPECT_LT(tarvik::test::DifferingShare(tarvik::test::RenderSvg(file, picture.size()), picture), 0.02);
    // A bitmap from the same call is still a bitmap of the picture.
    dialogs.fileAnswers = {dir.filePath(QStringLiteral("sample.bmp"))};
    EXPECT_TRUE(SaveGraphPicture(picture, QStringLiteral("Dice.bmp"), DrawSample));
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("sample.bmp")), "BMP").convertToFormat(QImage::Format_RGB32),
              picture);
}

TEST(SaveGraphPicture, SvgOfAPictureWithoutDrawingIsRefused) {
    tarvik::test::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("sample.svg"));
    dialogs.fileAnswers = {file};
    EXPECT_FALSE(SaveGraphBitmap(SamplePicture(), QStringLiteral("Dice.bmp")));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, MsgKind::Error);
    EXPECT_FALSE(QFile::exists(file));
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
