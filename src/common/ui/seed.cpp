#include "common/ui/seed.h"

#include "common/random.h"
#include "common/ui/dialogservice.h"
#include "common/ui/modulewindow.h"

#include <QAction>
#include <QHash>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>

namespace tarvik::ui {
namespace {

struct SeedState {
    std::optional<std::uint32_t> fixed;
    std::optional<std::uint32_t> last;
};

QHash<QString, SeedState>& States() {
    static QHash<QString, SeedState> states;
    return states;
}

QMainWindow* MainWindowOf(QWidget* w) {
    for (; w; w = w->parentWidget())
        if (auto* main = qobject_cast<QMainWindow*>(w)) return main;
    return nullptr;
}

} // namespace

std::optional<std::uint32_t> FixedSeed(const QString& module) {
    return States().value(module).fixed;
}

void SetFixedSeed(const QString& module, std::optional<std::uint32_t> seed) {
    States()[module].fixed = seed;
}

SeedEntry ParseSeedText(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return {.valid = true, .fixed = false, .seed = 0};
    for (QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return {};
    bool ok = false;
    const qulonglong v = t.toULongLong(&ok);
    if (!ok || v > 0xFFFFFFFFull) return {};
    return {.valid = true, .fixed = true, .seed = static_cast<std::uint32_t>(v)};
}

QString SeedText(std::uint32_t seed) {
    return QStringLiteral("Seed: %1").arg(seed);
}

std::uint32_t BeginSeededRun(const QString& module, QWidget* window) {
    SeedState& state = States()[module];
    if (state.fixed) RandSeed = *state.fixed;
    state.last = RandSeed;
    if (QMainWindow* main = MainWindowOf(window)) {
        auto* label = main->statusBar()->findChild<QLabel*>(QStringLiteral("SeedLabel"));
        if (!label) {
            label = new QLabel(main->statusBar());
            label->setObjectName(QStringLiteral("SeedLabel"));
            main->statusBar()->addPermanentWidget(label);
        }
        label->setText(SeedText(RandSeed));
        label->show();
        QPointer<QLabel> guard(label);
        QObject::connect(window, &QObject::destroyed, label, [guard] {
            if (guard) guard->clear();
        });
    }
    return RandSeed;
}

std::optional<std::uint32_t> LastRunSeed(const QString& module) {
    return States().value(module).last;
}

bool AskSeed(const QString& module, QWidget* parent) {
    TextRequest request;
    request.parent = parent;
    request.caption = QStringLiteral("Seed");
    request.label = QStringLiteral("Seed for the following runs (empty: from the clock):");
    const auto fixed = FixedSeed(module);
    request.text = fixed ? QString::number(*fixed) : QString();
    request.refusal = [](const QString& text) {
        return ParseSeedText(text).valid
                   ? QString()
                   : QStringLiteral("The seed must be empty or a whole number from 0 to 4294967295");
    };
    const std::optional<QString> answer = Dialogs().text(request);
    if (!answer) return false;
    const SeedEntry entry = ParseSeedText(*answer);
    if (!entry.valid) return false;
    SetFixedSeed(module, entry.fixed ? std::optional<std::uint32_t>(entry.seed) : std::nullopt);
    return true;
}

QAction* AddSeedCommand(QMenu* options, const QString& module, QWidget* parent) {
    QAction* action = options->addAction(QStringLiteral("Seed\u2026"));
    action->setObjectName(QStringLiteral("SeedCommand"));
    QObject::connect(action, &QAction::triggered, parent, [module, parent] { AskSeed(module, parent); });
    // A module whose options menu is not shown offers the command at the end
    // of its File menu too.
    auto* window = qobject_cast<ModuleWindow*>(parent);
    if (!options->menuAction()->isVisible() && window && !window->moduleMenus().isEmpty()) {
        // Above a closing section set off by a separator, else at the end.
        QMenu* file = window->moduleMenus().first();
        QAction* lastSeparator = nullptr;
        for (QAction* entry : file->actions())
            if (entry->isSeparator()) lastSeparator = entry;
        if (lastSeparator) {
            file->insertAction(lastSeparator, action);
        } else {
            file->addSeparator();
            file->addAction(action);
        }
    }
    return action;
}

} // namespace tarvik::ui
