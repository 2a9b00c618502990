#include "support/apptesting.h"

#include "common/ui/appsetup.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QSpinBox>
#include <QTest>

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

QString TypeAndTab(QSpinBox* spin, const char* text) {
    QApplication::setActiveWindow(spin->window());
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, text);
    QTest::keyClick(spin, Qt::Key_Tab);
    return spin->text();
}

} // namespace tarvik::test
