#pragma once
// Network files of the command-line entry: plain text lines
//   rows R
//   columns C
//   up
//   R lines (the top one is y = R - 1) of C + 1 lengths U(0, y) .. U(C, y)
//   right
//   R + 1 lines (the top one is y = R) of C lengths Rt(0, y) .. Rt(C - 1, y)
// with whole numbers 0 to 100; "#" starts a comment, blank lines are skipped.
#include "modules/shortestpath/network.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvik::shortestpath {

// No valid network file comes near this size, comments included.
inline constexpr std::size_t kMaxNetworkFileBytes = 1 << 20;

struct NetworkRead {
    enum class Status { Ok, Unreadable, Invalid };
    Status status = Status::Ok;
    Network network; // when Ok; arcs outside the network are 0
    std::string message;
};

// Reads the text of a network file; `name` goes into the messages
// ("NAME:LINE: what is wrong").
NetworkRead ParseNetworkText(std::string_view text, const std::string& name);
// Reads a file: Unreadable ("Cannot read file NAME") when it cannot be opened
// or is not a regular file; Invalid when it is too large or a line is wrong.
NetworkRead ReadNetworkFile(const std::string& path);
// The network in the file form, read back by ParseNetworkText unchanged.
std::string NetworkText(const Network& network);

} // namespace tarvik::shortestpath
