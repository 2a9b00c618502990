#include "common/ui/examples.h"

#include "common/ui/help.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace tarvik::ui {

namespace {

QString ExamplesRoot() {
    const QString program = ProgramDir();
    for (const QString& candidate :
         {program + QStringLiteral("examples"), program + QStringLiteral("../../share/tarvik/examples")}) {
        const QFileInfo info(candidate);
        if (info.isDir()) return QDir::cleanPath(info.absoluteFilePath());
    }
    return {};
}

} // namespace

QString ExamplesFolder(const QString& kind) {
    const QString root = ExamplesRoot();
    if (root.isEmpty()) return {};
    const QString folder = root + QLatin1Char('/') + kind;
    return QFileInfo(folder).isDir() ? folder : QString();
}

bool IsExampleFile(const QString& fileName) {
    const QString root = ExamplesRoot();
    if (root.isEmpty()) return false;
    const QString canonicalRoot = QFileInfo(root).canonicalFilePath();
    const QString file = QFileInfo(QFileInfo(fileName).absolutePath()).canonicalFilePath();
    return !canonicalRoot.isEmpty() &&
           (file == canonicalRoot || file.startsWith(canonicalRoot + QLatin1Char('/')));
}

QAction* AddExamplesCommand(QMenu* menu, const QString& kind, const std::function<void(const QString&)>& open,
                            QAction* before) {
    auto* action = new QAction(QStringLiteral("Examples…"), menu);
    action->setObjectName(QStringLiteral("ExamplesCommand"));
    action->setStatusTip(QStringLiteral("Opens one of the example files that come with Tarvik"));
    menu->insertAction(before, action);
    QObject::connect(action, &QAction::triggered, menu, [kind, open] {
        const QString folder = ExamplesFolder(kind);
        if (!folder.isEmpty()) open(folder);
    });
    // The folder may come or go while the program runs (a build in progress).
    QObject::connect(menu, &QMenu::aboutToShow, action,
                     [action, kind] { action->setEnabled(!ExamplesFolder(kind).isEmpty()); });
    action->setEnabled(!ExamplesFolder(kind).isEmpty());
    return action;
}

} // namespace tarvik::ui
