#include "modules/ip/ui/mip.h"

#include "modules/ip/miprun.h"
#include "modules/ip/ui/mipprogress.h"

#include <QCoreApplication>
#include <QPushButton>
#include <chrono>

namespace tarvik::ui {
namespace {

// Shows the run's counts and bounds in the dialog as they change, and lets
// the event loop run about every 10 ms so that the dialog's button works.
class DialogProgress : public tarvik::ip::MIPProgress {
public:
    DialogProgress(TMIPProgressDialog& dialog, const bool& closed, std::function<void()> yielded)
        : dialog_(dialog), closed_(closed), yielded_(std::move(yielded)) {}
    void line(int n) override { dialog_.setLine(n); }
    void variables(int n) override { dialog_.setVariables(n); }
    void conditions(int n) override { dialog_.setConditions(n); }
    void iteration(long n) override { dialog_.setIteration(n); }
    void lowerBound(double v) override {
        dialog_.setLowerBound(QString::fromStdString(tarvik::ip::BoundText(v)));
    }
    void upperBound(double v) override {
        dialog_.setUpperBound(QString::fromStdString(tarvik::ip::BoundText(v)));
    }
    void yield() override {
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < std::chrono::milliseconds(10)) return;
        last_ = now;
        if (closed_) return;
        if (yielded_) yielded_();
        QCoreApplication::processEvents();
    }
    bool stopRequested() const override { return closed_ || dialog_.stopRequested(); }

private:
    TMIPProgressDialog& dialog_;
    const bool& closed_;
    std::function<void()> yielded_;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

} // namespace

bool TMIPSolver::run(const QString& modelText, const Hooks& hooks) {
    auto* dialog = new TMIPProgressDialog(owner());
    if (hooks.searchTree)
        QObject::connect(dialog, &TMIPProgressDialog::searchTreeRequested, dialog,
                         [dialog, open = hooks.searchTree] { open(dialog); });
    else
        dialog->searchTreeButton()->setEnabled(false);
    // The reader works on single characters: one byte per editor character.
    const std::string text = modelText.toLatin1().toStdString();
    return runWith(dialog, [&](const bool& closed) {
        DialogProgress progress(*dialog, closed, hooks.yielded);
        tarvik::ip::MIPRunResult result = tarvik::ip::RunMIP(
            text, progress, {.search = hooks.search, .log = hooks.log.get(), .graphical = true});
        if (hooks.finished) hooks.finished();
        return Outcome{.success = result.success,
                       .output = std::move(result.output),
                       .errorPosition = result.errorPosition,
                       .message = std::move(result.message),
                       .graphical = std::move(result.graphical)};
    });
}

} // namespace tarvik::ui
