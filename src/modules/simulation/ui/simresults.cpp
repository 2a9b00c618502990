#include "modules/simulation/ui/simresults.h"

#include "common/ui/help.h"
#include "common/ui/modulewindow.h"
#include "common/ui/reportsave.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvik::simulation::ui {

namespace {
QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
} // namespace

TSimResults::TSimResults(QWidget* parent, const QString& name, const ResultsText& layout,
                         const QString& closeCaption, const std::vector<QString>& valueNames)
    : QWidget(parent) {
    tarvik::ui::SetHelpContext(this, 7);
    setObjectName(name);
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Results"));

    auto* main = new QVBoxLayout(this);
    KopTekst = new QLabel(this);
    KopTekst->setObjectName(QStringLiteral("KopTekst"));
    QFont bold = KopTekst->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    KopTekst->setFont(bold);
    KopTekst->setAlignment(Qt::AlignCenter);
    main->addWidget(KopTekst);

    ParaBox = new QGroupBox(QStringLiteral("Parameters"), this);
    ParaBox->setObjectName(QStringLiteral("ParaBox"));
    auto* pl = new QGridLayout(ParaBox);
    for (std::size_t i = 0; i < layout.parameters.size(); ++i) {
        auto* c = new QLabel(ParaBox);
        auto* v = new QLabel(ParaBox);
        pl->addWidget(c, static_cast<int>(i), 0);
        pl->addWidget(v, static_cast<int>(i), 1);
        ParamCaptions.push_back(c);
        ParamValues.push_back(v);
    }
    pl->setColumnStretch(2, 1);
    main->addWidget(ParaBox);

    ResultBox = new QGroupBox(QStringLiteral("Result"), this);
    ResultBox->setObjectName(QStringLiteral("ResultBox"));
    auto* rl = new QGridLayout(ResultBox);
    rl->setHorizontalSpacing(16);
    const std::size_t ncols = layout.columns.empty() ? 1 : layout.columns.size();
    const int firstRow = layout.columns.empty() ? 0 : 1;
    if (!layout.columns.empty()) {
        for (std::size_t c = 0; c < ncols; ++c) {
            auto* t = new QLabel(ResultBox);
            QFont f = t->font();
            f.setBold(true);
            t->setFont(f);
            t->setAlignment(Qt::AlignRight);
            rl->addWidget(t, 0, static_cast<int>(c) + 1);
            ColumnTitles.push_back(t);
        }
    }
    for (std::size_t i = 0; i < layout.captions.size(); ++i) {
        auto* cap = new QLabel(ResultBox);
        rl->addWidget(cap, firstRow + static_cast<int>(i), 0);
        RowCaptions.push_back(cap);
        std::vector<QLabel*> row;
        for (std::size_t c = 0; c < ncols; ++c) {
            auto* v = new QLabel(ResultBox);
            v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            v->setMinimumWidth(70);
            if (c == 0 && i < valueNames.size()) v->setObjectName(valueNames[i]);
            rl->addWidget(v, firstRow + static_cast<int>(i), static_cast<int>(c) + 1);
            row.push_back(v);
        }
        ValueLabels.push_back(row);
    }
    main->addWidget(ResultBox);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    SluitenBtn = new QPushButton(closeCaption, this);
    SluitenBtn->setObjectName(QStringLiteral("SluitenBtn"));
    buttons->addWidget(SluitenBtn);
    main->addLayout(buttons);
    connect(SluitenBtn, &QPushButton::clicked, this, &TSimResults::closeClicked);

    ShowResults(layout);
    tarvik::ui::AddResultsSaving(
        this, [this] { return Q(shown_.heading); }, [] { return QStringLiteral("Simulation"); },
        [this] { return text(); }, SluitenBtn);
    setMinimumWidth(380);
}

QString TSimResults::text() const {
    return Q(ResultsToText(shown_));
}

void TSimResults::ShowResults(const ResultsText& r) {
    shown_ = r;
    KopTekst->setText(Q(r.heading));
    for (std::size_t i = 0; i < ParamCaptions.size() && i < r.parameters.size(); ++i) {
        ParamCaptions[i]->setText(Q(r.parameters[i].first));
        ParamValues[i]->setText(Q(r.parameters[i].second));
    }
    for (std::size_t c = 0; c < ColumnTitles.size() && c < r.columns.size(); ++c)
        ColumnTitles[c]->setText(Q(r.columns[c]));
    for (std::size_t i = 0; i < RowCaptions.size() && i < r.captions.size(); ++i) {
        RowCaptions[i]->setText(Q(r.captions[i]));
        for (std::size_t c = 0; c < ValueLabels[i].size(); ++c)
            ValueLabels[i][c]->setText(i < r.values.size() && c < r.values[i].size() ? Q(r.values[i][c])
                                                                                     : QString());
    }
}

std::vector<std::vector<QString>> TSimResults::values() const {
    std::vector<std::vector<QString>> v;
    for (const auto& row : ValueLabels) {
        std::vector<QString> r;
        for (QLabel* l : row) r.push_back(l->text());
        v.push_back(r);
    }
    return v;
}

} // namespace tarvik::simulation::ui
