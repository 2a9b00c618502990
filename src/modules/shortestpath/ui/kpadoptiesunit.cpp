#include "modules/shortestpath/ui/kpadoptiesunit.h"

#include "common/ui/help.h"
#include "common/ui/moduledialog.h"
#include "common/ui/modulewindow.h"
#include "common/ui/numberfields.h"
#include "modules/shortestpath/network.h"
#include "modules/shortestpath/ui/kpadunit.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tarvik::shortestpath::ui {

TKPadOpties::TKPadOpties(TKPad* owner) : QDialog(owner), owner_(owner) {
    tarvik::ui::SetHelpContext(this, 11);
    setObjectName(QStringLiteral("KPadOpties"));
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Settings"));

    auto* main = new QVBoxLayout(this);
    auto* sizeBox = new QGroupBox(QStringLiteral("Size network"), this);
    sizeBox->setObjectName(QStringLiteral("SizeBox"));
    auto* sizeLayout = new QFormLayout(sizeBox);
    RijEdit = new tarvik::ui::TBoundedSpin(1, kMaxRows, kDefaultRows, sizeBox);
    RijEdit->setObjectName(QStringLiteral("RijEdit"));
    KolomEdit = new tarvik::ui::TBoundedSpin(1, kMaxColumns, kDefaultColumns, sizeBox);
    KolomEdit->setObjectName(QStringLiteral("KolomEdit"));
    sizeLayout->addRow(QStringLiteral("Number of rows"), RijEdit);
    sizeLayout->addRow(QStringLiteral("Number of columns"), KolomEdit);
    main->addWidget(sizeBox);

    auto* distBox = new QGroupBox(QStringLiteral("Distances"), this);
    distBox->setObjectName(QStringLiteral("DistancesBox"));
    auto* distLayout = new QGridLayout(distBox);
    RandomBtn = new QRadioButton(QStringLiteral("Random lengths"), distBox);
    RandomBtn->setObjectName(QStringLiteral("RandomBtn"));
    RandomBtn->setChecked(true);
    FixedBtn = new QRadioButton(QStringLiteral("Fixed length"), distBox);
    FixedBtn->setObjectName(QStringLiteral("FixedBtn"));
    VasteLengteEdit =
        new tarvik::ui::TBoundedSpin(kMinFixedLength, kMaxFixedLength, kDefaultFixedLength, distBox);
    VasteLengteEdit->setObjectName(QStringLiteral("VasteLengteEdit"));
    VasteLengteEdit->setAccessibleName(QStringLiteral("Fixed length"));
    VasteLengteEdit->setEnabled(false);
    distLayout->addWidget(RandomBtn, 0, 0);
    distLayout->addWidget(FixedBtn, 1, 0);
    distLayout->addWidget(VasteLengteEdit, 1, 1);
    main->addWidget(distBox);

    const tarvik::ui::DialogButtons buttons = tarvik::ui::AddDialogButtons(this, main, QStringLiteral("OK"));
    OKBtn = buttons.ok;
    TerugBtn = buttons.back;

    for (QSpinBox* field : {RijEdit, KolomEdit, VasteLengteEdit}) field->installEventFilter(this);
    connect(FixedBtn, &QRadioButton::toggled, VasteLengteEdit, &QSpinBox::setEnabled);
    connect(OKBtn, &QPushButton::clicked, this, &TKPadOpties::OKBtnClick);
    connect(TerugBtn, &QPushButton::clicked, this, &TKPadOpties::TerugBtnClick);
    setFixedSize(sizeHint());
}

void TKPadOpties::OKBtnClick() {
    if (owner_->isClosing()) return;
    for (QSpinBox* field : {RijEdit, KolomEdit, VasteLengteEdit}) field->interpretText();
    owner_->SettingsOK(RijEdit->value(), KolomEdit->value(), RandomBtn->isChecked(),
                       VasteLengteEdit->value());
}

void TKPadOpties::TerugBtnClick() {
    if (!owner_->isClosing()) owner_->closeModule();
}

bool TKPadOpties::eventFilter(QObject* watched, QEvent* event) {
    // The field with the focus is yellow.
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (auto* field = qobject_cast<QSpinBox*>(watched)) {
            QPalette pal = field->palette();
            pal.setColor(QPalette::Base, event->type() == QEvent::FocusIn ? QColor(Qt::yellow)
                                                                          : palette().color(QPalette::Base));
            field->setPalette(pal);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TKPadOpties::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!owner_->isClosing()) owner_->SettingsShown(true);
    if (!centred_) {
        centred_ = true;
        if (QScreen* s = screen()) {
            const QRect area = s->availableGeometry();
            move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
        }
    }
}

void TKPadOpties::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!owner_->isClosing()) owner_->SettingsShown(false);
}

void TKPadOpties::closeEvent(QCloseEvent* event) {
    // Closing the dialog by its frame closes the whole module.
    event->accept();
    if (!owner_->isClosing()) owner_->closeModule();
}

void TKPadOpties::keyPressEvent(QKeyEvent* event) {
    // No cancel button: Escape does nothing.
    if (!tarvik::ui::SwallowEscape(event)) QDialog::keyPressEvent(event);
}

void TKPadOpties::reject() {
    if (!owner_->isClosing()) owner_->closeModule();
}

} // namespace tarvik::shortestpath::ui
