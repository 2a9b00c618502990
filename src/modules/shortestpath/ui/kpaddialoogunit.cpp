#include "modules/shortestpath/ui/kpaddialoogunit.h"

#include "common/ui/help.h"
#include "common/ui/moduledialog.h"
#include "common/ui/modulewindow.h"
#include "modules/shortestpath/ui/kpadunit.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvik::shortestpath::ui {

namespace {

QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

void KeepPlaceWhenHidden(QWidget* w) {
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
}

} // namespace

TKPadDialoog::TKPadDialoog(TKPad* owner) : QDialog(owner), owner_(owner) {
    tarvik::ui::SetHelpContext(this, 11);
    setObjectName(QStringLiteral("KPadDialoog"));
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Dialogue"));
    auto* main = new QVBoxLayout(this);

    ResultBox = new QGroupBox(QStringLiteral("Result"), this);
    ResultBox->setObjectName(QStringLiteral("ResultBox"));
    auto* result = new QGridLayout(ResultBox);
    UitkomstTekstLbl = new QLabel(ResultBox);
    UitkomstTekstLbl->setObjectName(QStringLiteral("UitkomstTekstLbl"));
    UitkomstTekstLbl->setMinimumWidth(
        UitkomstTekstLbl->fontMetrics().horizontalAdvance(QStringLiteral("Your path + optimal continus:")) +
        4);
    EigenPadLabel = new QLabel(ResultBox);
    EigenPadLabel->setObjectName(QStringLiteral("EigenPadLabel"));
    EigenPadLabel->setMinimumWidth(EigenPadLabel->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    OptPadTekstLbl = new QLabel(QStringLiteral("Length optimal path"), ResultBox);
    OptPadTekstLbl->setObjectName(QStringLiteral("OptPadTekstLbl"));
    OptPadLabel = new QLabel(ResultBox);
    OptPadLabel->setObjectName(QStringLiteral("OptPadLabel"));
    result->addWidget(UitkomstTekstLbl, 0, 0);
    result->addWidget(EigenPadLabel, 0, 1);
    result->addWidget(OptPadTekstLbl, 1, 0);
    result->addWidget(OptPadLabel, 1, 1);
    result->setColumnStretch(1, 1);
    main->addWidget(ResultBox);

    AanwijzingBox = new QGroupBox(this);
    AanwijzingBox->setObjectName(QStringLiteral("AanwijzingBox"));
    auto* hint = new QVBoxLayout(AanwijzingBox);
    AanwijzingLbl = new QLabel(QStringLiteral("Gestures"), AanwijzingBox);
    AanwijzingLbl->setObjectName(QStringLiteral("AanwijzingLbl"));
    AanwijzingLbl->setWordWrap(true);
    AanwijzingLbl->setMinimumHeight(AanwijzingLbl->fontMetrics().lineSpacing() * 3);
    AanwijzingLbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    hint->addWidget(AanwijzingLbl);
    KeepPlaceWhenHidden(AanwijzingBox);
    AanwijzingBox->hide();
    main->addWidget(AanwijzingBox);

    AfstandBox = new QGroupBox(QStringLiteral("Distances"), this);
    AfstandBox->setObjectName(QStringLiteral("AfstandBox"));
    auto* distances = new QHBoxLayout(AfstandBox);
    ToonLengtesBtn = Button(QStringLiteral("Hide distances"), "ToonLengtesBtn", AfstandBox);
    WijzigBtn = Button(QStringLiteral("Edit distances"), "WijzigBtn", AfstandBox);
    distances->addWidget(ToonLengtesBtn);
    distances->addWidget(WijzigBtn);
    main->addWidget(AfstandBox);

    // The heuristics and the steering arrows take turns in one place.
    auto* turns = new QGridLayout;
    HeuristiekBox = new QGroupBox(QStringLiteral("Available heuristics"), this);
    HeuristiekBox->setObjectName(QStringLiteral("HeuristiekBox"));
    auto* heuristics = new QVBoxLayout(HeuristiekBox);
    HeuristiekList = new QListWidget(HeuristiekBox);
    HeuristiekList->setObjectName(QStringLiteral("HeuristiekList"));
    HeuristiekList->addItems({QStringLiteral("Own path"), QStringLiteral("Myopic heuristic"),
                              QStringLiteral("Nearly-myopic heuristic")});
    HeuristiekList->setFixedHeight(HeuristiekList->sizeHintForRow(0) * 3 + 2 * HeuristiekList->frameWidth() +
                                   2);
    UitvoerBtn = Button(QStringLiteral("Carry out heuristic"), "UitvoerBtn", HeuristiekBox);
    heuristics->addWidget(HeuristiekList);
    heuristics->addWidget(UitvoerBtn);
    KeepPlaceWhenHidden(HeuristiekBox);
    turns->addWidget(HeuristiekBox, 0, 0);

    StuurBox = new QGroupBox(QStringLiteral("Steer own path"), this);
    StuurBox->setObjectName(QStringLiteral("StuurBox"));
    auto* steer = new QHBoxLayout(StuurBox);
    UPBtn = Button(QString(QChar(0x2191)), "UPBtn", StuurBox);
    RightBtn = Button(QString(QChar(0x2192)), "RightBtn", StuurBox);
    UPBtn->setToolTip(QStringLiteral("Up"));
    RightBtn->setToolTip(QStringLiteral("Right"));
    for (QPushButton* arrow : {UPBtn, RightBtn}) {
        QFont f = arrow->font();
        f.setPointSizeF(f.pointSizeF() * 1.8);
        arrow->setFont(f);
        arrow->setFixedSize(48, 40);
    }
    steer->addStretch();
    steer->addWidget(UPBtn);
    steer->addWidget(RightBtn);
    steer->addStretch();
    KeepPlaceWhenHidden(StuurBox);
    StuurBox->hide();
    turns->addWidget(StuurBox, 0, 0, Qt::AlignTop);
    main->addLayout(turns);

    auto* buttons = new QHBoxLayout;
    OptPadBtn = Button(QStringLiteral("Draw optimal path"), "OptPadBtn", this);
    WisBtn = Button(QStringLiteral("Delete paths"), "WisBtn", this);
    TerugBtn = Button(QStringLiteral("Previous"), "TerugBtn", this);
    buttons->addWidget(OptPadBtn);
    buttons->addWidget(WisBtn);
    buttons->addWidget(TerugBtn);
    main->addLayout(buttons);

    connect(ToonLengtesBtn, &QPushButton::clicked, owner, &TKPad::ToonLengtesBtnClick);
    connect(WijzigBtn, &QPushButton::clicked, owner, &TKPad::WijzigBtnClick);
    connect(UitvoerBtn, &QPushButton::clicked, owner, &TKPad::UitvoerBtnClick);
    connect(UPBtn, &QPushButton::clicked, owner, &TKPad::UPBtnClick);
    connect(RightBtn, &QPushButton::clicked, owner, &TKPad::RightBtnClick);
    connect(OptPadBtn, &QPushButton::clicked, owner, &TKPad::OptPadBtnClick);
    connect(WisBtn, &QPushButton::clicked, owner, &TKPad::WisBtnClick);
    connect(TerugBtn, &QPushButton::clicked, owner, &TKPad::TerugBtnClick);
    setFixedSize(sizeHint());
}

void TKPadDialoog::closeEvent(QCloseEvent* event) {
    // Closing the dialog by its frame hides the network window as well.
    event->accept();
    hide();
    if (!owner_->isClosing()) owner_->DialogClosed();
}

void TKPadDialoog::keyPressEvent(QKeyEvent* event) {
    if (!tarvik::ui::SwallowEscape(event)) QDialog::keyPressEvent(event);
}

void TKPadDialoog::reject() {
    hide();
    if (!owner_->isClosing()) owner_->DialogClosed();
}

} // namespace tarvik::shortestpath::ui
