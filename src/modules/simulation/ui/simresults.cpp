#include "modules/simulation/ui/simresults.h"

#include "common/ui/help.h"
#include "common/ui/modulewindow.h"
#include "common/ui/reportsave.h"
#include "modules/simulation/simtheorytext.h"

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
    // Each value column has beside it the theory value and the 95% interval.
    const std::size_t ncols = layout.columns.empty() ? 1 : layout.columns.size();
    auto gridColumn = [](std::size_t c, int part) { return 1 + 3 * static_cast<int>(c) + part; };
    auto title = [this, rl](const QString& text, int column) {
        auto* t = new QLabel(text, ResultBox);
        QFont f = t->font();
        f.setBold(true);
        t->setFont(f);
        t->setAlignment(Qt::AlignRight);
        rl->addWidget(t, 0, column);
        return t;
    };
    for (std::size_t c = 0; c < ncols; ++c) {
        if (!layout.columns.empty()) ColumnTitles.push_back(title(QString(), gridColumn(c, 0)));
        TheoryTitles.push_back(title(QStringLiteral("Theory"), gridColumn(c, 1)));
        IntervalTitles.push_back(title(QStringLiteral("95% interval"), gridColumn(c, 2)));
    }
    for (std::size_t i = 0; i < layout.captions.size(); ++i) {
        auto* cap = new QLabel(ResultBox);
        rl->addWidget(cap, 1 + static_cast<int>(i), 0);
        RowCaptions.push_back(cap);
        std::vector<QLabel*> row, theory, interval;
        for (std::size_t c = 0; c < ncols; ++c) {
            auto* v = new QLabel(ResultBox);
            v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            v->setMinimumWidth(70);
            if (c == 0 && i < valueNames.size()) v->setObjectName(valueNames[i]);
            rl->addWidget(v, 1 + static_cast<int>(i), gridColumn(c, 0));
            row.push_back(v);
            auto* t = new QLabel(ResultBox);
            t->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            t->setMinimumWidth(60);
            rl->addWidget(t, 1 + static_cast<int>(i), gridColumn(c, 1));
            theory.push_back(t);
            auto* iv = new QLabel(ResultBox);
            iv->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            iv->setMinimumWidth(110);
            rl->addWidget(iv, 1 + static_cast<int>(i), gridColumn(c, 2));
            interval.push_back(iv);
        }
        ValueLabels.push_back(row);
        TheoryLabels.push_back(theory);
        IntervalLabels.push_back(interval);
    }
    // A little room between the systems.
    for (std::size_t c = 1; c < ncols; ++c) rl->setColumnMinimumWidth(gridColumn(c, 0), 90);
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
    return Q(ResultsToText(shown_) + TheoryToText(shown_));
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
        for (std::size_t c = 0; c < TheoryLabels[i].size(); ++c) {
            const bool shown = i < r.theory.size() && c < r.theory[i].size();
            TheoryLabels[i][c]->setText(shown ? Q(r.theory[i][c]) : QString());
            IntervalLabels[i][c]->setText(shown ? Q(IntervalText(r.interval[i][c])) : QString());
        }
    }
    // The window grows when the new texts need more room than it has.
    resize(size().expandedTo(sizeHint()));
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
