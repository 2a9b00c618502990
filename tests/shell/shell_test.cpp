#include "common/ui/failures.h"
#include "shell/application.h"
#include "shell/infoform.h"
#include "shell/jpegimage.h"
#include "shell/mainwindow.h"
#include "shell/modulelist.h"
#include "shell/startup.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSettings>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using namespace tarvik::shell;
using tarvik::test::ProcessEvents;

class FakeModule : public tarvik::ui::ModuleWindow {
public:
    explicit FakeModule(bool allow = true) : allowClose(allow) {
        addModuleMenu(QStringLiteral("File"))->addAction(QStringLiteral("Exit Fake"));
        addModuleMenu(QStringLiteral("Options"));
        addModuleMenu(QStringLiteral("Help"));
    }
    bool allowClose;

protected:
    bool canClose() override { return allowClose; }
};

QStringList MenuTitles(QMainWindow& w) {
    QStringList titles;
    for (QAction* a : w.menuBar()->actions())
        if (a->isVisible()) titles << a->text();
    return titles;
}

TEST(Shell, StartsWithToolbarMenusAndOneWelcomeWindow) {
    TTarvikMain main;
    main.show();
    ProcessEvents();
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Tarvik for Windows"));
    EXPECT_EQ(MenuTitles(main), (QStringList{"File", "Modules", "Help"}));
    EXPECT_EQ(main.fileMenu()->actions().at(0)->text(), QStringLiteral("Exit Tarvik"));
    EXPECT_EQ(main.toolbarPanel()->height(), 55);
    EXPECT_FALSE(main.ModuleOpen);
    EXPECT_FALSE(main.MarkovOpen);
    EXPECT_TRUE(main.ProgramDir.endsWith(QLatin1Char('/')));
    EXPECT_EQ(TInfoForm::InstanceCount(), 1);

    // Twelve buttons in order with their hints; the Queue button hidden.
    QStringList hints;
    for (const ModuleEntry& m : Modules()) {
        QToolButton* b = main.toolbarButton(m.name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->size(), QSize(35, 35));
        hints << b->toolTip();
        // A module that is not built cannot be started.
        EXPECT_EQ(b->isEnabled(), static_cast<bool>(m.create)) << m.name.toStdString();
    }
    EXPECT_EQ(hints,
              (QStringList{"Coin tossing", "Tables and Graphs", "Travelling salesman", "Normal distribution",
                           "Monte Carlo Simulation", "Simulation of queues", "Roulette", "Linear programming",
                           "Shortest path", "Integer programming", "Markov chains", "Queue"}));
    EXPECT_FALSE(main.toolbarButton(QStringLiteral("StartQueue"))->isVisibleTo(&main));
    EXPECT_TRUE(main.toolbarButton(QStringLiteral("StartIP"))->isVisibleTo(&main));

    QStringList entries, shown;
    for (QAction* a : main.modulesMenu()->actions()) {
        entries << a->text();
        if (a->isVisible()) shown << a->text();
    }
    EXPECT_EQ(entries, (QStringList{"Coin tossing", "Tables and Graphs", "Travelling salesman",
                                    "Normal distribution", "Monte Carlo Simulation", "Simulation of queues",
                                    "Roulette", "Linear programming", "Integer programming", "Shortest path",
                                    "Queue", "Markov chains", "", "Show queue models"}));
    EXPECT_FALSE(shown.contains(QStringLiteral("Integer programming")));
    EXPECT_FALSE(shown.contains(QStringLiteral("Queue")));
}

TEST(Shell, WithoutMaximisingTheMainWindowOpensCentredAtTheWelcomePicturesSize) {
    TTarvikMain main;
    const QSize picture = main.welcome()->picture().size();
    ASSERT_FALSE(picture.isEmpty());
    const QRect screen(0, 0, 1600, 1200);
    const QRect r = main.startGeometry(screen);
    EXPECT_EQ(r.center(), screen.center());
    EXPECT_GE(r.width(), picture.width());
    EXPECT_GE(r.height(),
              picture.height() + main.menuBar()->sizeHint().height() + main.toolbarPanel()->height());
    // A small screen bounds it.
    EXPECT_EQ(main.startGeometry(QRect(0, 0, 400, 300)), QRect(0, 0, 400, 300));
}

TEST(Shell, ShowQueueModelsShowsTheQueueModuleAndHoldsAtTheNextStart) {
    auto shown = [](TTarvikMain& m) {
        return m.toolbarButton(QStringLiteral("StartQueue"))->isVisibleTo(&m) &&
               m.menuEntry(QStringLiteral("MenuQueue"))->isVisible() && m.showQueueModelsEntry()->isChecked();
    };
    QSettings saved(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tarvik"),
                    QStringLiteral("Tarvik"));
    ASSERT_TRUE(saved.fileName().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")))
        << "never the user's file";
    auto savedValue = [&saved] {
        saved.sync();
        return saved.value(QStringLiteral("Modules/ShowQueueModels")).toBool();
    };
    {
        TTarvikMain main;
        main.show();
        EXPECT_FALSE(shown(main));
        QMenu* menu = main.modulesMenu();
        menu->popup(main.mapToGlobal(QPoint(40, 20)));
        ProcessEvents();
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(main.showQueueModelsEntry()).center());
        EXPECT_TRUE(shown(main));
        EXPECT_EQ(main.showQueueModelsEntry()->text(), QStringLiteral("Show queue models"));
    }
    EXPECT_TRUE(savedValue());
    {
        TTarvikMain next; // the next start
        EXPECT_TRUE(shown(next));
        next.showQueueModelsEntry()->trigger();
        EXPECT_FALSE(next.toolbarButton(QStringLiteral("StartQueue"))->isVisibleTo(&next));
    }
    EXPECT_FALSE(savedValue());
    // tarvik --with-queue: shown for the run, nothing saved.
    TTarvikMain withQueue;
    ShowQueueEntries(withQueue);
    EXPECT_TRUE(shown(withQueue));
    EXPECT_FALSE(savedValue());
}

TEST(Shell, ClosingTheMainWindowWithAModuleOpenClosesOnlyTheModule) {
    tarvik::test::ScriptedDialogs dialogs;
    TTarvikMain main;
    main.show();
    main.openModuleWindow(new FakeModule);
    ProcessEvents();
    EXPECT_TRUE(main.ModuleOpen);
    EXPECT_FALSE(main.toolbarPanel()->isVisible());
    EXPECT_EQ(TInfoForm::InstanceCount(), 0);
    EXPECT_EQ(MenuTitles(main), (QStringList{"File", "Options", "Help"}));

    EXPECT_FALSE(main.close());
    ProcessEvents();
    EXPECT_TRUE(main.isVisible());
    EXPECT_FALSE(main.ModuleOpen);
    EXPECT_EQ(main.module(), nullptr);
    EXPECT_TRUE(main.toolbarPanel()->isVisible());
    EXPECT_EQ(TInfoForm::InstanceCount(), 1);
    EXPECT_EQ(MenuTitles(main), (QStringList{"File", "Modules", "Help"}));
    EXPECT_TRUE(dialogs.messages.empty());

    // The second close asks.
    dialogs.messageAnswers = {tarvik::ui::mrNo};
    EXPECT_FALSE(main.close());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Exit Tarvik"));
    EXPECT_EQ(dialogs.messages[0].kind, tarvik::ui::MsgKind::Confirmation);
    EXPECT_EQ(dialogs.messages[0].buttons, tarvik::ui::mbYesNo);
    EXPECT_FALSE(dialogs.messages[0].standardCaptions);
    EXPECT_TRUE(main.isVisible());
}

TEST(Shell, FrameCloseOfTheQuestionEndsTheProgram) {
    tarvik::test::ScriptedDialogs dialogs;
    TTarvikMain main;
    main.show();
    dialogs.messageAnswers = {tarvik::ui::mrCancel}; // the question's frame button
    EXPECT_TRUE(main.close());
    dialogs.messageAnswers = {tarvik::ui::mrYes};
    main.show();
    EXPECT_TRUE(main.close());
}

TEST(Shell, ARefusingModuleStaysOpenButTheNextCloseAsks) {
    tarvik::test::ScriptedDialogs dialogs;
    TTarvikMain main;
    main.show();
    auto* module = new FakeModule(false);
    main.openModuleWindow(module);
    EXPECT_FALSE(main.close());
    EXPECT_EQ(main.module(), module);
    EXPECT_FALSE(main.ModuleOpen);
    dialogs.messageAnswers = {tarvik::ui::mrNo};
    EXPECT_FALSE(main.close());
    EXPECT_EQ(dialogs.messages.size(), 1u);
    module->allowClose = true;
    EXPECT_TRUE(module->closeModule());
    ProcessEvents();
    EXPECT_EQ(TInfoForm::InstanceCount(), 1);
}

TEST(Shell, OpeningAndClosingRepeatedlyLeavesExactlyOneWelcomeWindow) {
    TTarvikMain main;
    main.show();
    for (int i = 0; i < 25; ++i) {
        auto* module = new FakeModule;
        main.openModuleWindow(module);
        EXPECT_EQ(TInfoForm::InstanceCount(), 0);
        EXPECT_TRUE(module->closeModule());
        ProcessEvents(1);
        ASSERT_EQ(TInfoForm::InstanceCount(), 1);
    }
    ASSERT_NE(main.welcome(), nullptr);
    EXPECT_TRUE(main.welcome()->isVisible());
}

TEST(Shell, FailureHandlerIsSilentExceptForTheMarkovAccessViolation) {
    tarvik::test::ScriptedDialogs dialogs;
    TTarvikMain main;
    HandleFailure(std::make_exception_ptr(std::runtime_error("anything")));
    HandleFailure(std::make_exception_ptr(tarvik::ui::AccessViolation("read of address 0")));
    EXPECT_TRUE(dialogs.messages.empty());
    main.MarkovOpen = true;
    HandleFailure(std::make_exception_ptr(tarvik::ui::AccessViolation("read of address 0")));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("Er is een initialisatiefout opgetreden.\r\rProbeer het opnieuw."));
    EXPECT_EQ(dialogs.messages[0].kind, tarvik::ui::MsgKind::Error);
    EXPECT_TRUE(dialogs.messages[0].standardCaptions);
}

TEST(Shell, AFailureInAnEventHandlerEndsOnlyThatAction) {
    tarvik::test::ScriptedDialogs dialogs;
    int after = 0;
    EXPECT_FALSE(GuardedDispatch([]() -> bool { throw std::runtime_error("cannot write file"); }));
    EXPECT_TRUE(GuardedDispatch([&] { return ++after == 1; }));
    EXPECT_EQ(after, 1);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(Welcome, PhotographIsDecodedAndPaintedUnderTheTitle) {
    TInfoForm form;
    ASSERT_FALSE(form.picture().isNull());
    EXPECT_EQ(form.picture().size(), QSize(1024, 819));
    QImage canvas(800, 600, QImage::Format_RGB32);
    canvas.fill(Qt::blue);
    QPainter p(&canvas);
    form.paintOn(p, canvas.size());
    p.end();
    // Some yellow of the title stands in the upper quarter's band.
    int yellow = 0;
    for (int y = 150; y < 250; ++y)
        for (int x = 200; x < 600; ++x) {
            const QColor c = canvas.pixelColor(x, y);
            if (c.red() > 200 && c.green() > 200 && c.blue() < 80) ++yellow;
        }
    EXPECT_GT(yellow, 200);
    // The photograph covers the whole client area: no maroon background left at the corners.
    EXPECT_NE(canvas.pixelColor(0, 0), QColor(128, 0, 0));
    EXPECT_NE(canvas.pixelColor(799, 599), QColor(128, 0, 0));
}

TEST(Welcome, BrokenJpegDataGivesNoImage) {
    EXPECT_TRUE(DecodeJpeg(QByteArray()).isNull());
    static const char notJpeg[] = "\xff\xd8\xff\xe0 not really a jpeg";
    EXPECT_TRUE(DecodeJpeg(QByteArray(notJpeg, sizeof notJpeg - 1)).isNull());
    QFile f(QStringLiteral(":/assets/welcome.jpg"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray data = f.readAll();
    data.truncate(data.size() / 3);
    // A truncated photograph decodes partly or not at all, but never crashes.
    const QImage partial = DecodeJpeg(data);
    EXPECT_TRUE(partial.isNull() || partial.width() == 1024);
}

} // namespace
