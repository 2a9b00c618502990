#include "desktop/desktoptesting.h"

#include "common/ui/msgdlg.h"
#include "desktop/xstack.h"
#include "support/apptesting.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QToolButton>

namespace tarvik::test {
namespace {

// How long the window manager may take to show a question on top.
constexpr qint64 kStackingTimeoutMs = 3000;

QWidget* ShownWindow(const std::function<bool(QWidget*)>& is) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && is(w)) return w;
    return nullptr;
}

// With TARVIK_DESKTOP_SHOTS set, the whole screen goes into that folder.
// The pictures of one test are numbered in order.
void Picture(QWidget* question) {
    const QString folder = qEnvironmentVariable("TARVIK_DESKTOP_SHOTS");
    QScreen* screen = QGuiApplication::primaryScreen();
    if (folder.isEmpty() || !screen) return;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    static std::string test;
    static int index = 0;
    index = test == info->name() ? index + 1 : 1;
    test = info->name();
    // The question painted first: the window manager shows it before it is drawn.
    if (!QTest::qWaitForWindowExposed(question)) return;
    question->repaint();
    QDir().mkpath(folder);
    screen->grabWindow(0).save(
        QStringLiteral("%1/%2-%3.png").arg(folder, QString::fromLatin1(info->name())).arg(index));
}

} // namespace

Question MessageBox(const QString& text, int result) {
    return {QStringLiteral("message \"%1\"").arg(text),
            [text](QWidget* w) {
                auto* box = qobject_cast<tarvik::ui::TMessageForm*>(w);
                return box && box->text().startsWith(text);
            },
            [result](QWidget* w) { static_cast<QDialog*>(w)->done(result); }};
}

Question FileDialog() {
    return {QStringLiteral("file dialog"),
            [](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; },
            [](QWidget* w) { static_cast<QDialog*>(w)->reject(); }};
}

Question TextQuestion(const QString& title) {
    return {QStringLiteral("question \"%1\"").arg(title),
            [title](QWidget* w) { return qobject_cast<QInputDialog*>(w) && w->windowTitle() == title; },
            [](QWidget* w) { static_cast<QDialog*>(w)->reject(); }};
}

Question HelpWindow() {
    return {QStringLiteral("help window"), [](QWidget* w) { return w->objectName() == "HelpViewer"; },
            [](QWidget* w) { w->close(); }};
}

QuestionWatcher::QuestionWatcher(std::vector<Question> expected) : expected_(std::move(expected)) {
    timer_.setInterval(20);
    connect(&timer_, &QTimer::timeout, this, &QuestionWatcher::poll);
    timer_.start();
}

void QuestionWatcher::poll() {
    if (seen.size() >= expected_.size()) return timer_.stop();
    const Question& q = expected_[seen.size()];
    QWidget* w = ShownWindow(q.is);
    if (!w) return;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (since_ < 0) since_ = now;
    const QString problem = CoveredBy(w->winId());
    if (!problem.isEmpty() && now - since_ < kStackingTimeoutMs) return;
    if (problem.isEmpty()) Picture(w);
    since_ = -1;
    seen.emplace_back(q.name, problem);
    q.answer(w);
}

bool QuestionWatcher::finished(int timeoutMs) {
    return WaitFor([this] { return seen.size() >= expected_.size(); }, timeoutMs);
}

void ExpectAllOnTop(QuestionWatcher& watcher, int timeoutMs) {
    EXPECT_TRUE(watcher.finished(timeoutMs)) << watcher.seen.size() << " questions seen";
    for (const auto& [name, problem] : watcher.seen)
        EXPECT_EQ(problem.toStdString(), "") << name.toStdString();
}

namespace {
void Activate(QWidget* widget) {
    QWidget* window = widget->window();
    if (QApplication::activeWindow() == window) return;
    window->activateWindow();
    WaitFor([window] { return QApplication::activeWindow() == window; });
}
} // namespace

void Click(QWidget* widget, QPoint at) {
    Activate(widget);
    QTest::mouseClick(widget, Qt::LeftButton, {}, at.isNull() ? widget->rect().center() : at);
}

void Trigger(QAction* action, QWidget* widget) {
    Activate(widget);
    action->trigger();
}

void Key(QWidget* widget, Qt::Key key) {
    Activate(widget);
    QTest::keyClick(widget, key);
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    return QTest::qWaitFor(done, timeoutMs);
}

void DesktopTest::SetUp() {
    if (!qApp || !DesktopAvailable())
        GTEST_SKIP() << "needs an X server with a window manager (make test-desktop)";
    main = std::make_unique<tarvik::shell::TTarvikMain>();
    main->showAtStart(); // maximised, as the program starts
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    ASSERT_TRUE(WaitFor([this] { return CoveredBy(main->winId()).isEmpty(); }));
}

void DesktopTest::TearDown() {
    if (!main) return;
    main->close();
    main.reset();
    ProcessEvents();
}

QWidget* DesktopTest::OpenModule(const char* button) {
    QToolButton* b = main->toolbarButton(QString::fromLatin1(button));
    if (!b) return nullptr;
    b->click();
    ProcessEvents();
    return main->module();
}

} // namespace tarvik::test
