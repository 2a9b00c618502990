#pragma once
// The version of Tarvik and the words of its licence, as `--version`, the About
// box and the package show them.
#include <string>

namespace tarvik {

// The project version ("0.1"), followed by " (git DESCRIBE)" when the program
// was built from a checkout that is not at the release tag.
std::string VersionText();

// The text VersionText returns: the programs link the build's own
// (buildversion.cpp), everything else the project version alone.
const char* BuildVersionText();

// "Copyright (C) 2026 The Tarvik developers."
std::string CopyrightLine();

// What `PROGRAM --version` prints: "PROGRAM (Tarvik) VERSION", the copyright
// line and the licence (GPL-3.0-or-later) in the usual GNU form.
std::string VersionNotice(const std::string& program);

} // namespace tarvik
