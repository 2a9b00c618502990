#include "common/version.h"

namespace tarvik {

// The build's own text ("0.1 (git v0.1-3-gabc1234)") is linked into the two
// programs only (buildversion.cpp); tests and build tools get the project
// version, so that a new commit relinks the programs and nothing else.
__attribute__((weak)) const char* BuildVersionText() {
    return TARVIK_PROJECT_VERSION;
}

std::string VersionText() {
    return BuildVersionText();
}

std::string CopyrightLine() {
    return "Copyright (C) 2026 The Tarvik developers.";
}

std::string VersionNotice(const std::string& program) {
    return program + " (Tarvik) " + VersionText() + "\n" + CopyrightLine() +
           "\n"
           "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

} // namespace tarvik
