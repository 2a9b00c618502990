#include "cli/solvecli.h"

#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // Standard output goes through a buffer that checks every write.
    tarvik::cli::CheckedOutput buffer(STDOUT_FILENO);
    std::ostream out(&buffer);
    const int code = tarvik::cli::RunSolve(args, std::cin, out, std::cerr);
    return tarvik::cli::FinishOutput(code, buffer, std::cerr);
}
