// Feeds arbitrary bytes to the network-file reader. A text that reads must
// describe a network whose lengths lie in 0 .. 100, write back to the same
// network, and give an optimal path no longer than either heuristic.
#include "modules/shortestpath/gridfile.h"
#include "modules/shortestpath/network.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvik::shortestpath;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const NetworkRead read = ParseNetworkText(text, "fuzz.txt");
    if (read.status != NetworkRead::Status::Ok) {
        if (read.message.rfind("fuzz.txt", 0) != 0) std::abort();
        return 0;
    }
    const Network& n = read.network;
    if (!ValidSize(n.rows, n.columns)) std::abort();
    for (int x = 0; x < kTableSize; ++x)
        for (int y = 0; y < kTableSize; ++y)
            if (n.U(x, y) < 0 || n.U(x, y) > kMaxDistance || n.Rt(x, y) < 0 || n.Rt(x, y) > kMaxDistance)
                std::abort();
    const NetworkRead again = ParseNetworkText(NetworkText(n), "again");
    if (again.status != NetworkRead::Status::Ok || again.network.up != n.up || again.network.right != n.right)
        std::abort();
    const OptimalValues v = ComputeOptimal(n);
    if (PathLength(n, OptimalPath(n, v)) != v.length()) std::abort();
    for (Heuristic h : {Heuristic::Myopic, Heuristic::NearlyMyopic})
        if (RunHeuristic(n, h).length() < v.length()) std::abort();
    return 0;
}
