// The main program of the desktop tests: a QApplication on the X server that
// DISPLAY names (the xcb platform, never offscreen), then GoogleTest. Without
// an X server with a window manager the tests are skipped.
#include "common/ui/liverepaint.h"
#include "desktop/xstack.h"
#include "support/apptesting.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>

int main(int argc, char** argv) {
    bool listing = false;
    for (int i = 1; i < argc; ++i) listing = listing || std::strncmp(argv[i], "--gtest_list_tests", 18) == 0;
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    std::unique_ptr<QApplication> app;
    if (!listing && tarvik::test::DesktopAvailable()) {
        qputenv("QT_QPA_PLATFORM", "xcb");
        app = std::make_unique<QApplication>(argc, argv);
        tarvik::test::PrepareApplication();
        tarvik::ui::LiveRepaint::SetFrameInterval(std::chrono::milliseconds(0));
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
