#pragma once
#include <QIcon>
#include <QString>

namespace tarvik::shell {

// The picture of a module's toolbar button, drawn at start.
QIcon ModuleIcon(const QString& name);

} // namespace tarvik::shell
