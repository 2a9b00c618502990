#pragma once
// The few choices that hold from one start of the program to the next, kept
// with QSettings in the user's configuration folder
// (~/.config/Tarvik/Tarvik.conf, or under $XDG_CONFIG_HOME).
#include <QString>
#include <optional>

namespace tarvik::shell {

// "Show queue models" in the Modules menu (unchecked when never saved).
bool QueueModelsShown();
// Stores the choice; the settings file's path when it could not be written.
std::optional<QString> SaveQueueModelsShown(bool shown);

} // namespace tarvik::shell
