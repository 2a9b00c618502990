#include "modules/shortestpath/ui/kpadafstandunit.h"

#include "common/ui/help.h"
#include "common/ui/numberfields.h"

#include "modules/shortestpath/network.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tarvik::shortestpath::ui {

TKPadAfstand::TKPadAfstand(QWidget* parent) : QDialog(parent) {
    tarvik::ui::SetHelpContext(this, 11);
    setObjectName(QStringLiteral("KPadAfstand"));
    setWindowTitle(QStringLiteral("Edit distances"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setModal(true);

    auto* main = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Distance"), this);
    AfstandEdit = new tarvik::ui::TBoundedSpin(kMinDistance, kMaxDistance, kMinDistance, this);
    AfstandEdit->setObjectName(QStringLiteral("AfstandEdit"));
    label->setBuddy(AfstandEdit);
    row->addWidget(label);
    row->addWidget(AfstandEdit);
    main->addLayout(row);

    auto* buttons = new QHBoxLayout;
    ChangeBtn = new QPushButton(QStringLiteral("Change"), this);
    ChangeBtn->setObjectName(QStringLiteral("ChangeBtn"));
    ChangeBtn->setDefault(true);
    TerugBtn = new QPushButton(QStringLiteral("Previous"), this);
    TerugBtn->setObjectName(QStringLiteral("TerugBtn"));
    TerugBtn->setAutoDefault(false);
    buttons->addWidget(ChangeBtn);
    buttons->addWidget(TerugBtn);
    main->addLayout(buttons);

    connect(ChangeBtn, &QPushButton::clicked, this, [this] {
        AfstandEdit->interpretText();
        const int value = AfstandEdit->value();
        accept();
        emit changed(value);
    });
    connect(TerugBtn, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(sizeHint());
}

void TKPadAfstand::Open(int length) {
    AfstandEdit->setValue(length);
    show();
    raise();
    activateWindow();
}

void TKPadAfstand::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    AfstandEdit->setFocus();
    AfstandEdit->selectAll();
}

} // namespace tarvik::shortestpath::ui
