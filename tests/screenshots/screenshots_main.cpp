// Renders every registered window offscreen into PNG files:
//   tarvik-screenshots <folder> [name-filter]
#include "screenshots/shots.h"

#include "shell/mainwindow.h"
#include "shell/startup.h"
#include "support/scripteddialogs.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <map>
#include <string>

namespace tarvik::shots {
namespace {

std::map<std::string, std::function<void(Shot&)>>& Registry() {
    static std::map<std::string, std::function<void(Shot&)>> registry;
    return registry;
}

tarvik::shell::TTarvikMain* gMain = nullptr;

} // namespace

Registration::Registration(const char* name, std::function<void(Shot&)> fn) {
    Registry()[name] = std::move(fn);
}

void Shot::save(QWidget* widget, const QString& name) {
    widget->show();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    const QString path = QDir(dir_).filePath(name + QStringLiteral(".png"));
    if (widget->grab().save(path))
        std::printf("wrote %s\n", qPrintable(path));
    else
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
}

void Shot::saveWithCaption(QWidget* widget, const QString& name) {
    widget->show();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    const QPixmap client = widget->grab();
    const int bar = 26;
    QPixmap framed(client.width(), client.height() + bar);
    framed.fill(QColor(0x2b, 0x57, 0x9a));
    {
        QPainter p(&framed);
        p.drawPixmap(0, bar, client);
        QFont f = widget->font();
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRect(8, 0, client.width() - 16, bar), Qt::AlignVCenter | Qt::AlignLeft,
                   widget->window()->windowTitle());
    }
    const QString path = QDir(dir_).filePath(name + QStringLiteral(".png"));
    if (framed.save(path))
        std::printf("wrote %s\n", qPrintable(path));
    else
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
}

QWidget* Shot::mainWindow() {
    if (!gMain) {
        gMain = tarvik::shell::CreateStartWindows();
        gMain->resize(1024, 740);
        gMain->show();
    }
    return gMain;
}

} // namespace tarvik::shots

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's settings go to a folder of this run, never to the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    const std::string filter = argc > 2 ? argv[2] : "";
    QDir().mkpath(dir);
    tarvik::test::ScriptedDialogs dialogs; // no modal question may block a shot
    tarvik::shots::Shot shot(dir);
    int failures = 0;
    for (auto& [name, fn] : tarvik::shots::Registry()) {
        if (!filter.empty() && name.find(filter) == std::string::npos) continue;
        try {
            fn(shot);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s failed: %s\n", name.c_str(), e.what());
            ++failures;
        }
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != shot.mainWindow()) w->hide();
    }
    return failures == 0 ? 0 : 1;
}
