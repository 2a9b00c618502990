#include "modules/tsp/ui/tspdataunit.h"
#include "common/ui/reportsave.h"

#include "common/ui/help.h"

#include "common/ui/modulewindow.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>
#include <QVBoxLayout>

namespace tarvik::tsp::ui {

TTSPData::TTSPData(QWidget* owner) : QDialog(owner) {
    tarvik::ui::SetHelpContext(this, 3);
    setObjectName(QStringLiteral("TSPData"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint |
                   Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("Tourdata"));
    setWindowModality(Qt::ApplicationModal);
    Results = new QTextEdit(this);
    Results->setObjectName(QStringLiteral("Results"));
    Results->setReadOnly(true);
    Results->setGeometry(5, 5, 492, 291);
    Results->setTabStopDistance(40);
    tarvik::ui::AddReportSaving(
        Results, [] { return QStringLiteral("Tourdata"); }, [] { return QStringLiteral("Tourdata"); },
        nullptr, [this] { return PlainReport; });
    TerugBtn = new QPushButton(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Previous"), this);
    TerugBtn->setObjectName(QStringLiteral("TerugBtn"));
    TerugBtn->setGeometry(201, 302, 100, 27);
    setFixedSize(502, 335);
    connect(TerugBtn, &QPushButton::clicked, this, &QDialog::close);
}

void TTSPData::ShowReport(const TourReport& report) {
    PlainReport = QString::fromStdString(report.PlainText());
    Results->clear();
    QTextCursor cursor(Results->document());
    QFont title(QStringLiteral("Courier New"));
    title.setPointSize(10);
    title.setItalic(true);
    QFont plain(QStringLiteral("MS Sans Serif"));
    plain.setPointSize(8);
    bool first = true;
    for (const ReportLine& line : report.lines()) {
        QTextCharFormat format;
        if (line.style == ReportLine::Style::Title) {
            format.setFont(title);
            format.setForeground(Qt::blue);
        } else {
            format.setFont(plain);
            format.setFontWeight(line.style == ReportLine::Style::Bold ? QFont::Bold : QFont::Normal);
            format.setForeground(Qt::black);
        }
        if (!first) cursor.insertBlock();
        first = false;
        cursor.setCharFormat(format);
        cursor.insertText(QString::fromStdString(line.text), format);
    }
    Results->moveCursor(QTextCursor::Start);
}

TTSPInfo::TTSPInfo(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TSPInfo"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(this);
    text->setWordWrap(true);
    text->setTextFormat(Qt::RichText);
    text->setText(QStringLiteral(
        "<h2>Travelling salesman</h2>"
        "<p>A salesman has to visit every city on the map once and return home. Which round trip is the "
        "shortest?</p>"
        "<p>Place 2 to 50 cities at random or by clicking on the map. Then build a tour yourself, at random, "
        "with the closest neighbour heuristic or with the greatest angle heuristic, and improve it with "
        "2-OPT: two edges of the tour are exchanged as long as that makes it shorter.</p>"
        "<p>\"Calculate Optimal Tour\" finds the shortest tour by branch and bound. Its time grows very fast "
        "with the number of cities; an upper bound (the length of a heuristic tour, say) saves time, and "
        "\"Stop\" shows the best tour found so far.</p>"
        "<p>The heuristic tour is drawn in red, the optimal tour in white; edges of both tours are dotted "
        "red.</p>"));
    layout->addWidget(text);
    layout->addStretch();
    setMaximumWidth(520);
}

} // namespace tarvik::tsp::ui
