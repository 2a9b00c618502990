// The main program of every window test: a QApplication on the platform the
// environment names (offscreen under ctest), the program's fonts and number
// format, then GoogleTest.
#include "common/ui/liverepaint.h"
#include "support/apptesting.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tarvik::test::PrepareApplication();
    // Window tests see every state a live picture is asked to show; the pacing
    // itself has its own tests.
    tarvik::ui::LiveRepaint::SetFrameInterval(std::chrono::milliseconds(0));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
