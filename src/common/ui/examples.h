#pragma once
// The example files that ship with the program: "examples" next to the
// program file in a build, share/tarvik/examples beside the program's folder
// lib/tarvik once installed. One subfolder per kind of file.
#include <QString>
#include <functional>

class QAction;
class QMenu;

namespace tarvik::ui {

// The examples of one kind ("tsp", "shortestpath", "lp", "ip", "markov"), or
// an empty text when the program has none.
QString ExamplesFolder(const QString& kind);
// Whether a file lies in the examples (its open dialog then leaves the
// module's folder of the user's own files as it was).
bool IsExampleFile(const QString& fileName);

// "Examples…" in a module's File menu, before `before` (at the end without
// it): calls `open` with the folder of the examples of `kind`, in which the
// module's open dialog then starts. Disabled when there are no such examples.
QAction* AddExamplesCommand(QMenu* menu, const QString& kind, const std::function<void(const QString&)>& open,
                            QAction* before = nullptr);

} // namespace tarvik::ui
