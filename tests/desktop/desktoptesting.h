#pragma once
// Window tests on a real X server with a window manager (`make test-desktop`):
// the program's main window with a module open, the questions the module asks
// and, for each, whether the window manager shows it on top.
#include "shell/mainwindow.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

class QAction;
class QWidget;

namespace tarvik::test {

// A question a test waits for: how to know its window and how to answer it.
struct Question {
    QString name;
    std::function<bool(QWidget*)> is;
    std::function<void(QWidget*)> answer;
};
// A message dialog whose text starts with `text`, answered with `result`.
Question MessageBox(const QString& text, int result);
// A file dialog, a text question (such as the seed), cancelled.
Question FileDialog();
Question TextQuestion(const QString& title);
// The help window, closed.
Question HelpWindow();

// Watches the program's windows for the expected questions in turn. When one
// is shown, asks the X server whether it is on top, waiting for the window
// manager up to a few seconds, then answers it.
class QuestionWatcher : public QObject {
public:
    explicit QuestionWatcher(std::vector<Question> expected);
    // Waits (up to `timeoutMs`) until every expected question was answered.
    bool finished(int timeoutMs = 20000);
    // Per question seen: its name and, when it was not on top, why not.
    std::vector<std::pair<QString, QString>> seen;

private:
    void poll();
    std::vector<Question> expected_;
    QTimer timer_;
    qint64 since_ = -1;
};

// Every question seen was on top, and all were seen.
void ExpectAllOnTop(QuestionWatcher& watcher, int timeoutMs = 20000);

// The main window, shown on the desktop; skips when there is no desktop.
class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Opens a module with its toolbar button; the module window, or nullptr.
    template <typename M> M* Open(const char* button) { return qobject_cast<M*>(OpenModule(button)); }
    QWidget* OpenModule(const char* button);
    std::unique_ptr<tarvik::shell::TTarvikMain> main;
};

// A click as a user gives it: the window manager first activates the window
// of `widget` (as clicking into a window does), then the widget gets the click.
void Click(QWidget* widget, QPoint at = {});
// A command chosen in the window of `widget` (its menu or context menu), activated first.
void Trigger(QAction* action, QWidget* widget);
// A key pressed in the window of `widget`, activated first.
void Key(QWidget* widget, Qt::Key key);

// Lets the window manager and the program settle: waits until `done`.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000);

} // namespace tarvik::test
