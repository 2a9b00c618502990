#include "shell/programsettings.h"

#include <QSettings>

namespace tarvik::shell {

namespace {

const QString kQueueModels = QStringLiteral("Modules/ShowQueueModels");

// The program's settings file.
QSettings Settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tarvik"),
                     QStringLiteral("Tarvik"));
}

} // namespace

bool QueueModelsShown() {
    return Settings().value(kQueueModels, false).toBool();
}

std::optional<QString> SaveQueueModelsShown(bool shown) {
    QSettings s = Settings();
    s.setValue(kQueueModels, shown);
    s.sync();
    if (s.status() != QSettings::NoError) return s.fileName();
    return std::nullopt;
}

} // namespace tarvik::shell
