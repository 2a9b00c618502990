#pragma once
#include <stdexcept>

namespace tarvik::ui {

// The failure the shell's handler treats as an access violation: a module
// throws it where an invalid memory access would have been.
class AccessViolation : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace tarvik::ui
