#pragma once
#include <QApplication>
#include <exception>
#include <functional>

namespace tarvik::shell {

// The application with the shell's failure handler at event dispatch: a
// failure that leaves an event handler ends that user action and nothing else.
class TarvikApplication : public QApplication {
public:
    TarvikApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// What the failure handler does with a failure that reached it.
void HandleFailure(std::exception_ptr failure);
// Runs one event dispatch; a failure that leaves it goes to HandleFailure and
// the dispatch counts as not handled.
bool GuardedDispatch(const std::function<bool()>& dispatch);

} // namespace tarvik::shell
