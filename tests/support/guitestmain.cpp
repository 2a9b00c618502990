// The main program of every window test: a QApplication on the platform the
// environment names (offscreen under ctest), the program's fonts and number
// format, then GoogleTest.
#include "common/ui/liverepaint.h"
#include "support/apptesting.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's settings go to a folder of this run, never to the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    tarvik::test::PrepareApplication();
    // Window tests see every state a live picture is asked to show; the pacing
    // itself has its own tests.
    tarvik::ui::LiveRepaint::SetFrameInterval(std::chrono::milliseconds(0));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
