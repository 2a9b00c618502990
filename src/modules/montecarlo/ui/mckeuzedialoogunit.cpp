#include "modules/montecarlo/ui/mckeuzedialoogunit.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace tarvik::montecarlo::ui {

TMCKeuzeDialoog::TMCKeuzeDialoog(TMC* module) : TMCWindow(module, QStringLiteral("Monte Carlo Simulation")) {
    setObjectName(QStringLiteral("MCKeuzeDialoog"));
    setFixedSize(300, 370);
    ChoiceGroup = new QGroupBox(QStringLiteral("Make your choice"), this);
    ChoiceGroup->setGeometry(16, 10, 268, 310);
    for (int i = 0; i < kChoices; ++i) {
        auto* r = new QRadioButton(ChoiceCaption(static_cast<MCChoice>(i)), ChoiceGroup);
        r->setObjectName(QStringLiteral("Choice%1").arg(i + 1));
        r->setGeometry(16, 22 + 26 * i, 240, 22);
        r->setEnabled(module->experiment(static_cast<MCChoice>(i)) != nullptr);
        Choices[static_cast<std::size_t>(i)] = r;
    }
    Choices[0]->setChecked(true);
    OKBtn = PlaceButton(this, QStringLiteral("OK"), "OKBtn", 48, 332);
    TerugBtn = PlaceButton(this, QStringLiteral("Previous"), "TerugBtn", 172, 332);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &TMCKeuzeDialoog::OKBtnClick);
    connect(TerugBtn, &QPushButton::clicked, this, &TMCKeuzeDialoog::TerugBtnClick);
    // Closing the chooser by its frame closes the whole module.
    onFrameClose = [this] { TerugBtnClick(); };
}

MCChoice TMCKeuzeDialoog::choice() const {
    for (int i = 0; i < kChoices; ++i)
        if (Choices[static_cast<std::size_t>(i)]->isChecked()) return static_cast<MCChoice>(i);
    return MCChoice::Birthday;
}

void TMCKeuzeDialoog::setChoice(MCChoice choice) {
    Choices[static_cast<std::size_t>(choice)]->setChecked(true);
}

void TMCKeuzeDialoog::OKBtnClick() {
    const MCChoice c = choice();
    if (!module()->experiment(c)) return;
    hide();
    module()->OpenChoice(c);
}

void TMCKeuzeDialoog::TerugBtnClick() {
    module()->closeModule();
}

} // namespace tarvik::montecarlo::ui
