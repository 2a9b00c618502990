#include "modules/lp/ui/lpinstelunit.h"

#include "common/ui/help.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tarvik::ui {

TLPInstellingen::TLPInstellingen(QWidget* parent) : QDialog(parent) {
    tarvik::ui::SetHelpContext(this, 9);
    setObjectName(QStringLiteral("LPInstellingen"));
    setWindowTitle(QStringLiteral("Settings"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

    auto* output = new QGroupBox(QStringLiteral("Output"));
    auto* outputLayout = new QVBoxLayout(output);
    noTableaus_ = new QRadioButton(QStringLiteral("No Tableaus"));
    firstLast_ = new QRadioButton(QStringLiteral("F+L Tableau"));
    allTableaus_ = new QRadioButton(QStringLiteral("All tableaus"));
    noTableaus_->setChecked(true);
    outputLayout->addWidget(noTableaus_);
    outputLayout->addWidget(firstLast_);
    outputLayout->addWidget(allTableaus_);

    auto* sensitivity = new QGroupBox(QStringLiteral("Sensitivity analysis"));
    auto* sensitivityLayout = new QVBoxLayout(sensitivity);
    sensOn_ = new QRadioButton(QStringLiteral("On"));
    sensOff_ = new QRadioButton(QStringLiteral("Off"));
    sensOn_->setChecked(true);
    sensitivityLayout->addWidget(sensOn_);
    sensitivityLayout->addWidget(sensOff_);

    auto* numbers = new QGroupBox(QStringLiteral("Numbers in tableaus"));
    auto* numbersLayout = new QVBoxLayout(numbers);
    decimals_ = new QRadioButton(QStringLiteral("decimals"));
    fractions_ = new QRadioButton(QStringLiteral("fractions"));
    decimals_->setChecked(true);
    numbersLayout->addWidget(decimals_);
    numbersLayout->addWidget(fractions_);

    okButton_ = new QPushButton(QStringLiteral("OK"));
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"));
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    auto* groups = new QHBoxLayout;
    groups->addWidget(output);
    groups->addWidget(sensitivity);
    groups->addWidget(numbers);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

tarvik::lp::LPSettings TLPInstellingen::settings() const {
    tarvik::lp::LPSettings s;
    s.output = allTableaus_->isChecked() ? tarvik::lp::OutputMode::All
               : firstLast_->isChecked() ? tarvik::lp::OutputMode::FirstLast
                                         : tarvik::lp::OutputMode::NoTableaus;
    s.sensitivity = !sensOff_->isChecked();
    s.fractions = fractions_->isChecked();
    return s;
}

} // namespace tarvik::ui
