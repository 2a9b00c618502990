#include "common/ui/help.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
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
};

QPointer<HelpViewer> gViewer;

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
    Q_UNUSED(parent);
    gViewer->browser->setHtml(html);
    gViewer->show();
    gViewer->raise();
    return found;
}

} // namespace tarvik::ui
