#pragma once
// Chain data files: type code, number of states, matrix rows and cost lines,
// plain text with CR LF line ends.
#include "modules/markov/markovdata.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvik::markov {

// Files larger than this are not chain files.
inline constexpr std::size_t kMaxChainFileSize = 4u << 20;

struct ReadResult {
    bool ok = false;
    ChainData chain;      // when ok: type from the file's code, every cell in shortest form
    InputProblem problem; // when not ok: "Cannot read file " followed by the file name
};

// Reads a chain file. Nothing a file holds can make this fail other than by
// returning !ok; the caller's data is untouched either way.
ReadResult ReadChainFile(const std::string& fileName);

// The text of a chain file (the same rules; `fileName` only names it in the message).
ReadResult ParseChainText(std::string_view text, const std::string& fileName);

// The file text for the grids' cell texts as they stand.
std::string ChainFileText(const ChainData& chain);

struct WriteResult {
    bool ok = false;
    InputProblem problem; // when not ok: "Cannot write file " followed by the file name
};

// Writes the file atomically: a temporary file in the same folder that
// replaces `fileName` only when it is complete. A failure leaves an existing
// file as it was.
WriteResult WriteChainFile(const std::string& fileName, const ChainData& chain);

// The open and save dialogs' filters, in this order, and the extension the
// save dialog adds.
inline constexpr std::string_view kTextFilesFilter = "tekstbestanden (*.txt)";
inline constexpr std::string_view kAllFilesFilter = "Alle bestanden (*.*)";
inline constexpr std::string_view kChainFileExtension = "txt";

} // namespace tarvik::markov
