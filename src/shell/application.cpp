#include "shell/application.h"

#include "common/ui/dialogservice.h"
#include "common/ui/failures.h"
#include "shell/mainwindow.h"
#include "shell/modulelist.h"

namespace tarvik::shell {

TarvikApplication::TarvikApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TarvikApplication::notify(QObject* receiver, QEvent* event) {
    return GuardedDispatch([&] { return QApplication::notify(receiver, event); });
}

bool GuardedDispatch(const std::function<bool()>& dispatch) {
    try {
        return dispatch();
    } catch (...) {
        HandleFailure(std::current_exception());
        return false;
    }
}

void HandleFailure(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const tarvik::ui::AccessViolation&) {
        TTarvikMain* main = TTarvikMain::instance();
        if (!main || !main->MarkovOpen) return;
        for (const ModuleEntry& m : Modules())
            if (m.onAccessViolation) m.onAccessViolation();
        StdMsgDlg(QStringLiteral("Er is een initialisatiefout opgetreden.\r\rProbeer het opnieuw."),
                  tarvik::ui::MsgKind::Error, tarvik::ui::mbOK, 0);
    } catch (...) {
        // Silently dropped: the user action ends here.
    }
}

} // namespace tarvik::shell
