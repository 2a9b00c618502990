// Tarvik: the program start.
#include "common/ui/examples.h"
#include "common/ui/help.h"
#include "shell/application.h"
#include "shell/commandline.h"
#include "shell/infoform.h"
#include "shell/mainwindow.h"
#include "shell/startup.h"

#include <QFileInfo>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Peak resident memory of this process in kB (0 when unknown).
long PeakMemoryKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // --startup-probe: once the welcome window is painted, print the peak
    // memory, the help file the program uses (and whether it is there), the
    // folder of the city examples, the size of the welcome photograph, and quit (used by the start-up
    // benchmark and by the checks of an installed program).
    // --with-queue: shows the hidden Queue button and Modules entry.
    // --help and --version answer before any window (and need no display).
    if (auto answer = tarvik::shell::AnswerHelpOrVersion(std::vector<std::string>(argv + 1, argv + argc))) {
        std::cout << *answer << std::flush;
        return std::cout ? 0 : 1;
    }
    bool probe = false;
    bool withQueue = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--startup-probe") == 0) probe = true;
        if (std::strcmp(argv[i], "--with-queue") == 0) withQueue = true;
    }

    tarvik::shell::TarvikApplication app(argc, argv);
    // Qt has taken its own options out of argv: what is left must be ours.
    if (auto unknown = tarvik::shell::UnknownArgument(std::vector<std::string>(argv + 1, argv + argc))) {
        std::cerr << "tarvik: unknown option " << *unknown << "\n" << tarvik::shell::TarvikUsage();
        return 2;
    }
    tarvik::shell::TTarvikMain* main = tarvik::shell::CreateStartWindows();
    if (withQueue) tarvik::shell::ShowQueueEntries(*main);
    if (probe) {
        QObject::connect(
            main->welcome(), &tarvik::shell::TInfoForm::painted, &app,
            [main] {
                std::printf("peak-kb %ld\n", PeakMemoryKb());
                const QString help = tarvik::ui::HelpFilePath();
                std::printf("help-file %s %s\n", qPrintable(help),
                            QFileInfo(help).isFile() ? "present" : "missing");
                const QString examples = tarvik::ui::ExamplesFolder(QStringLiteral("tsp"));
                std::printf("examples %s %s\n", qPrintable(QFileInfo(examples).canonicalFilePath()),
                            examples.isEmpty() ? "missing" : "present");
                const QImage& picture = main->welcome()->picture();
                std::printf("welcome-picture %dx%d\n", picture.width(), picture.height());
                std::fflush(stdout);
                QTimer::singleShot(0, [] { std::_Exit(0); });
            },
            Qt::SingleShotConnection);
    }
    main->showAtStart();
    const int rc = app.exec();
    delete main;
    return rc;
}
