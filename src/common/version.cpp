#include "common/version.h"

#include "tarvikversion.inc" // TARVIK_VERSION_TEXT, written at build time

namespace tarvik {

std::string VersionText() {
    return TARVIK_VERSION_TEXT;
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
