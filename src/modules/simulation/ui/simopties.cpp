#include "modules/simulation/ui/simopties.h"

#include "modules/simulation/ui/simunit.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tarvik::simulation::ui {

TSimOpties::TSimOpties(TSim* owner)
    : TSimDialog(owner, QStringLiteral("SimOpties"), QStringLiteral("Options")) {
    auto* main = new QVBoxLayout(this);
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("KeuzeGroup"));
    auto* gl = new QVBoxLayout(group);
    const char* const texts[7] = {"Single-server queues",
                                  "Compare M/D/1 and M/M/1 queues",
                                  "Compare D/M/1 and M/M/1 queues",
                                  "Varying load in M/M/1 queue",
                                  "Pooling of two queues",
                                  "Tandem queue",
                                  "Priority queue"};
    for (int i = 0; i < 7; ++i) {
        Keuze[i] = new QRadioButton(QString::fromLatin1(texts[i]), group);
        Keuze[i]->setObjectName(QStringLiteral("Keuze%1").arg(i));
        Keuze[i]->setEnabled(Available(static_cast<Experiment>(i)));
        gl->addWidget(Keuze[i]);
    }
    Keuze[0]->setChecked(true);
    main->addWidget(group);

    AddButtons(main, QStringLiteral("OK"));
    connect(OKBtn, &QPushButton::clicked, this, &TSimOpties::OKBtnClick);
    connect(TerugBtn, &QPushButton::clicked, this, &TSimOpties::TerugBtnClick);
    setFixedSize(sizeHint());
}

bool TSimOpties::Available(Experiment) {
    return true;
}

Experiment TSimOpties::choice() const {
    for (int i = 0; i < 7; ++i)
        if (Keuze[i]->isChecked()) return static_cast<Experiment>(i);
    return Experiment::Single;
}

void TSimOpties::OKBtnClick() {
    if (owner_->isClosing()) return;
    hide();
    owner_->ShowSettings(choice());
}

void TSimOpties::TerugBtnClick() {
    if (!owner_->isClosing()) owner_->closeModule();
}

void TSimOpties::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!owner_->isClosing()) owner_->closeModule();
}

void TSimOpties::reject() {
    if (!owner_->isClosing()) owner_->closeModule();
}

} // namespace tarvik::simulation::ui
