#include "modules/simulation/ui/simopties.h"

#include "common/ui/help.h"

#include "common/ui/modulewindow.h"
#include "modules/simulation/ui/simunit.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tarvik::simulation::ui {

TSimOpties::TSimOpties(TSim* owner) : QDialog(owner), owner_(owner) {
    tarvik::ui::SetHelpContext(this, 7);
    setObjectName(QStringLiteral("SimOpties"));
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Options"));

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

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    TerugBtn = new QPushButton(QStringLiteral("Previous"), this);
    TerugBtn->setObjectName(QStringLiteral("TerugBtn"));
    TerugBtn->setAutoDefault(false);
    buttons->addWidget(OKBtn);
    buttons->addWidget(TerugBtn);
    main->addLayout(buttons);
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

void TSimOpties::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TSimOpties::reject() {
    if (!owner_->isClosing()) owner_->closeModule();
}

} // namespace tarvik::simulation::ui
