#pragma once
// The experiment chooser.
#include "modules/montecarlo/ui/mcunit.h"
#include "modules/montecarlo/ui/mcwidgets.h"

#include <array>

class QRadioButton;
class QGroupBox;

namespace tarvik::montecarlo::ui {

class TMCKeuzeDialoog : public TMCWindow {
    Q_OBJECT
public:
    explicit TMCKeuzeDialoog(TMC* module);

    MCChoice choice() const;
    void setChoice(MCChoice choice);

    void OKBtnClick();
    void TerugBtnClick();

    QGroupBox* ChoiceGroup = nullptr;
    std::array<QRadioButton*, kChoices> Choices{};
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;
};

} // namespace tarvik::montecarlo::ui
