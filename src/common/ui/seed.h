#pragma once
// Seeds of the system generator that a teacher can fix and see. A module's
// runs start from the generator as it stands (seeded from the clock when the
// program starts) unless a seed is fixed with "Seed…" in the module's options
// menu; either way the run's starting seed S is shown as "Seed: S", and
// `tarvik-solve … --seed S` repeats the run.
#include <QString>
#include <cstdint>
#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace tarvik::ui {

// The seed fixed for a module's following runs (nothing: from the clock).
// Fixed seeds live in memory for the whole run of the program.
std::optional<std::uint32_t> FixedSeed(const QString& module);
void SetFixedSeed(const QString& module, std::optional<std::uint32_t> seed);

// A seed as typed: empty (nothing fixed) or a whole number 0 .. 4294967295;
// anything else is not valid.
struct SeedEntry {
    bool valid = false;
    bool fixed = false; // a number was entered
    std::uint32_t seed = 0;
};
SeedEntry ParseSeedText(const QString& text);

// "Seed: S".
QString SeedText(std::uint32_t seed);

// At the start of a run, before its first draw: sets the system generator to
// the module's fixed seed, if any, and returns the seed the run starts from.
// "Seed: S" goes to the status line of the main window that holds `window`
// (and is cleared when `window` goes).
std::uint32_t BeginSeededRun(const QString& module, QWidget* window);
// The seed the module's last run started from (nothing before its first run).
std::optional<std::uint32_t> LastRunSeed(const QString& module);

// The question of "Seed…": asks for the seed (the field shows the fixed one),
// stores what is entered; an entry that is no seed is refused with a message.
// Returns true when a new setting was stored.
bool AskSeed(const QString& module, QWidget* parent);
// Adds "Seed…" to a module's options menu (and, where that menu is hidden, to
// the File menu of the module window `parent`: above its closing section
// where a separator sets one off, else at the end).
QAction* AddSeedCommand(QMenu* options, const QString& module, QWidget* parent);

} // namespace tarvik::ui
