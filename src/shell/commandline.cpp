#include "shell/commandline.h"

#include "common/clihelp.h"
#include "common/version.h"

#include <algorithm>

namespace tarvik::shell {

namespace {

const HelpSection& Options() {
    static const HelpSection options = {
        .title = "Options",
        .options = {
            {"--with-queue", "",
             "show the button and menu entry of the Queue module (analytic queueing models)"},
            {"--startup-probe", "",
             "once the welcome window is painted, print the peak memory, the help file in use and the size "
             "of the welcome photograph, and quit (checks of an installed program)"},
            {"--help", "", "print this help and exit"},
            {"--version", "", "print the version and the licence, and exit"},
        }};
    return options;
}

} // namespace

std::string TarvikHelp() {
    return "Usage: tarvik [OPTION]...\n" +
           WrapText("Opens Tarvik's main window, from which the modules start: coin tossing and dice, "
                    "statistical tables and graphs, travelling salesman, normal distribution, Monte Carlo "
                    "simulation, simulation of queues, roulette, linear programming, shortest path, integer "
                    "programming and Markov chains.",
                    0) +
           "\n" + FormatSection(Options()) + "\n" +
           WrapText(
               "Qt's own options (-platform NAME, -style STYLE, -display DISPLAY and the others) are taken "
               "as well. The command tarvik-solve prints the reports of the modules without a window (see "
               "tarvik-solve --help).",
               0);
}

std::string TarvikUsage() {
    return "Usage: tarvik [--with-queue] [--help] [--version]\n";
}

std::optional<std::string> AnswerHelpOrVersion(const std::vector<std::string>& args) {
    for (const std::string& a : args) {
        if (a == "--help") return TarvikHelp();
        if (a == "--version") return VersionNotice("tarvik");
    }
    return std::nullopt;
}

std::optional<std::string> UnknownArgument(const std::vector<std::string>& args) {
    for (const std::string& a : args) {
        const auto& known = Options().options;
        if (std::none_of(known.begin(), known.end(), [&](const OptionHelp& o) { return a == o.option; }))
            return a;
    }
    return std::nullopt;
}

std::string AboutText() {
    return "Tarvik " + VersionText() +
           "\n\n"
           "Operations research and probability for students and teachers.\n\n" +
           CopyrightLine() +
           "\n\n"
           "Tarvik is free software: you can redistribute it and/or modify it under the terms of the GNU "
           "General Public License as published by the Free Software Foundation, either version 3 of the "
           "License, or (at your option) any later version.\n\n"
           "Tarvik is distributed in the hope that it will be useful, but WITHOUT ANY WARRANTY; without even "
           "the implied warranty of MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE. See the GNU General "
           "Public License for more details: https://www.gnu.org/licenses/gpl-3.0.html";
}

} // namespace tarvik::shell
