#include "common/ui/help.h"

#include "common/ui/windowowner.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace tarvik::ui {
namespace {

const char* const kHelpFileName = "Tarvik2000.hlp";

QString ReadHelpFile() {
    QFile f(HelpFilePath());
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

// The help viewer: one small window for the whole run.
class HelpViewer : public QDialog {
public:
    HelpViewer() {
        setObjectName(QStringLiteral("HelpViewer"));
        setWindowTitle(QStringLiteral("Tarvik Help"));
        auto* layout = new QVBoxLayout(this);
        browser = new QTextBrowser(this);
        browser->setObjectName(QStringLiteral("HelpBrowser"));
        browser->setOpenExternalLinks(false);
        layout->addWidget(browser);
        resize(520, 440);
    }
    QTextBrowser* browser;
    QPointer<QWidget> owner; // the window the viewer was last opened for
    bool onTop = false;
};

QPointer<HelpViewer> gViewer;

// The viewer opens in front of the window whose F1 (or Help button) opened
// it, as its transient, and stays on top while a window of the program does,
// so that it is never hidden under the stay-on-top windows. A viewer already
// shown for another window is shown again for the new one.
void ShowBeside(HelpViewer* viewer, QWidget* asked) {
    QWidget* owner = asked && asked->window()->isVisible() ? asked->window() : QuestionOwner();
    if (owner == viewer) owner = viewer->owner;
    const bool onTop = StayOnTopWindowShown(viewer);
    if (viewer->isVisible() && (owner != viewer->owner || onTop != viewer->onTop)) viewer->hide();
    viewer->owner = owner;
    viewer->onTop = onTop;
    if (viewer->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop)
        viewer->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    SetTransientFor(viewer, owner);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}

} // namespace

QString ProgramDir() {
    QString dir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return dir;
}

QString HelpFilePath() {
    return ProgramDir() + QLatin1String(kHelpFileName);
}

QString HelpTopicHtml(int context) {
    const QString all = ReadHelpFile();
    if (all.isEmpty()) return {};
    const QString open = QStringLiteral("<section id=\"context-%1\">").arg(context);
    const qsizetype start = all.indexOf(open);
    if (start < 0) return {};
    const qsizetype end = all.indexOf(QStringLiteral("</section>"), start);
    return all.mid(start, (end < 0 ? all.size() : end + 10) - start);
}

bool ShowHelp(int context, QWidget* parent) {
    QString html = HelpTopicHtml(context);
    const bool found = !html.isEmpty();
    if (!found) {
        html = ReadHelpFile();
        if (html.isEmpty())
            html = QStringLiteral("<p>The help file %1 was not found next to the program.</p>")
                       .arg(HelpFilePath().toHtmlEscaped());
    }
    if (!gViewer) gViewer = new HelpViewer;
    gViewer->browser->setHtml(html);
    ShowBeside(gViewer, parent);
    return found;
}

namespace {

const char* const kHelpContextProperty = "tarvikHelpContext";

// Catches F1 before any window sees it, for the widgets that name a context.
class HelpKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
        // The first widget the key reaches decides; when neither it nor its
        // parents name a context, the key goes on as usual (a parent that
        // sees it later has no context either).
        QWidget* from = qobject_cast<QWidget*>(watched);
        if (!from) return false;
        const int context = HelpContextOf(from);
        if (context <= 0) return false;
        if (event->type() == QEvent::ShortcutOverride) {
            // Keeps a menu shortcut on F1 from taking the key away.
            event->accept();
            return true;
        }
        ShowHelp(context, from->window());
        return true;
    }
};

} // namespace

void SetHelpContext(QWidget* widget, int context) {
    if (widget) widget->setProperty(kHelpContextProperty, context);
}

int HelpContextOf(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariant v = w->property(kHelpContextProperty);
        if (v.isValid()) return v.toInt();
    }
    return 0;
}

void InstallHelpKey() {
    static QPointer<HelpKeyFilter> filter;
    if (filter || !qApp) return;
    filter = new HelpKeyFilter(qApp);
    qApp->installEventFilter(filter);
}

} // namespace tarvik::ui
