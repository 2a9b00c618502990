#include "cli/solvecli.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return tarvik::cli::RunSolve(args, std::cin, std::cout, std::cerr);
}
