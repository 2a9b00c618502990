#include "shell/modulelist.h"

#include "modules/dice/ui/dobbelmodule.h"
#include "modules/ip/ui/mipmodule.h"
#include "modules/lp/ui/lpmodule.h"
#include "modules/markov/ui/markovprogressunit.h"
#include "modules/markov/ui/markovunit.h"
#include "modules/montecarlo/ui/mcunit.h"
#include "modules/normal/ui/normalmodule.h"
#include "modules/queue/ui/queuemodule.h"
#include "modules/roulette/ui/roulettemodule.h"
#include "modules/shortestpath/ui/kpadmodule.h"
#include "modules/simulation/ui/simmodule.h"
#include "modules/tables/ui/tableswindow.h"
#include "modules/tsp/ui/tspmodule.h"

// Each module's window factory; a module that is built adds its include here
// and its factory in the list below.

namespace tarvik::shell {

const std::vector<ModuleEntry>& Modules() {
    // One row a module, laid out by hand.
    // clang-format off
    static const std::vector<ModuleEntry> modules = {
        {"StartDobbel", "Coin tossing", "MenuDobbel", true, true, "dice", CreateDobbelWindow, {}, {}},
        {"StartTables", "Tables and Graphs", "MenuTables", true, true, "tables", CreateTablesWindow,
         CreateTablesParameterWindows, {}},
        {"StartTSP", "Travelling salesman", "MenuTSP", true, true, "tsp", CreateTSPWindow, {}, {}},
        {"StartNormal", "Normal distribution", "MenuNormal", true, true, "normal", CreateNormalWindow, {}, {}},
        {"StartMC", "Monte Carlo Simulation", "MenuMC", true, true, "montecarlo", CreateMCWindow, {}, {}},
        {"StartSim", "Simulation of queues", "MenuSim", true, true, "simulation", CreateSimWindow, {}, {}},
        {"StartRoulette", "Roulette", "MenuRoulette", true, true, "roulette", CreateRouletteWindow, {}, {}},
        {"StartLP", "Linear programming", "MenuLP", true, true, "lp", tarvik::ui::CreateLPWindow, {}, {}},
        {"StartKortstePad", "Shortest path", "MenuKortstePad", true, true, "shortestpath", CreateKortstePadWindow,
         {}, {}},
        {"StartIP", "Integer programming", "MenuIP", true, false, "ip", tarvik::ui::CreateIPWindow, {}, {}},
        {"SpeedButton1", "Markov chains", "MenuMarkov", true, true, "markov", CreateMarkovWindow,
         CreateMarkovProgressWindow, HideMarkovProgressWindow},
        {"StartQueue", "Queue", "MenuQueue", false, false, "queue", CreateQueueWindow, {}, {}},
    };
    // clang-format on
    return modules;
}

const std::vector<int>& MenuOrder() {
    // Coin tossing .. Linear programming, Integer programming, Shortest path, Queue, Markov chains.
    static const std::vector<int> order = {0, 1, 2, 3, 4, 5, 6, 7, 9, 8, 11, 10};
    return order;
}

} // namespace tarvik::shell
