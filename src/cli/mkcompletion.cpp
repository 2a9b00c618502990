// Build tool: writes the bash completion of tarvik-solve from its template
// and the table of options.
//   tarvik-mkcompletion TEMPLATE OUTPUT
#include "cli/solvehelp.h"

#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: tarvik-mkcompletion TEMPLATE OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    std::stringstream script;
    script << in.rdbuf();
    if (!in) {
        std::cerr << "tarvik-mkcompletion: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << tarvik::cli::BashCompletion(script.str());
    out.close();
    if (!out) {
        std::cerr << "tarvik-mkcompletion: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
