#include "support/apptesting.h"

#include "common/ui/appsetup.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>

namespace tarvik::test {

void PrepareApplication() {
    tarvik::ui::SetUpApplication();
}

void ProcessEvents(int rounds) {
    for (int i = 0; i < rounds; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

} // namespace tarvik::test
