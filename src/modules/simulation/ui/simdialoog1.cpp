#include "modules/simulation/ui/simdialoog1.h"

#include "common/ui/help.h"

#include "common/ui/dialogservice.h"
#include "common/ui/modulewindow.h"
#include "modules/simulation/simchecks.h"
#include "modules/simulation/simreport.h"
#include "modules/simulation/ui/simfields.h"
#include "modules/simulation/ui/simstate.h"
#include "modules/simulation/ui/simunit.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tarvik::simulation::ui {

TSimDialoog1::TSimDialoog1(TSim* owner) : QDialog(owner), owner_(owner) {
    tarvik::ui::SetHelpContext(this, 7);
    setObjectName(QStringLiteral("SimDialoog1"));
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Settings"));

    auto* main = new QVBoxLayout(this);
    auto* heading = new QLabel(QStringLiteral("Single-server queues"), this);
    heading->setObjectName(QStringLiteral("KopLabel"));
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    heading->setFont(bold);
    main->addWidget(heading);

    auto* grid = new QGridLayout;
    LambdaEdit = new QLineEdit(this);
    LambdaEdit->setObjectName(QStringLiteral("LambdaEdit"));
    MuEdit = new QLineEdit(this);
    MuEdit->setObjectName(QStringLiteral("MuEdit"));
    for (QLineEdit* e : {LambdaEdit, MuEdit}) YellowWhileFocused(e);
    AantalEdit = new TWholeEdit(0, kMaxInitial, this);
    AantalEdit->setObjectName(QStringLiteral("AantalEdit"));
    StopTimeEdit =
        new TWholeEdit(static_cast<long long>(kMinSingleLength), static_cast<long long>(kMaxLength), this);
    StopTimeEdit->setObjectName(QStringLiteral("StopTimeEdit"));
    struct Row {
        const char* caption;
        QLineEdit* field;
        const char* unit;
    };
    const Row rows[] = {{"Average arrival rate", LambdaEdit, "customers/minute"},
                        {"Average service rate", MuEdit, "customers/minute"},
                        {"Initial queue length", AantalEdit, ""},
                        {"Simulation length", StopTimeEdit, "minutes"}};
    int r = 0;
    for (const Row& row : rows) {
        grid->addWidget(new QLabel(QString::fromLatin1(row.caption), this), r, 0);
        row.field->setFixedWidth(90);
        grid->addWidget(row.field, r, 1);
        grid->addWidget(new QLabel(QString::fromLatin1(row.unit), this), r, 2);
        ++r;
    }
    main->addLayout(grid);

    auto* choices = new QHBoxLayout;
    auto* aankomst = new QGroupBox(QStringLiteral("Arrival process"), this);
    aankomst->setObjectName(QStringLiteral("AankomstBox"));
    auto* al = new QVBoxLayout(aankomst);
    AankomstPoisson = new QRadioButton(QStringLiteral("Poisson"), aankomst);
    AankomstDet = new QRadioButton(QStringLiteral("Deterministic"), aankomst);
    al->addWidget(AankomstPoisson);
    al->addWidget(AankomstDet);
    auto* bediening = new QGroupBox(QStringLiteral("Service process"), this);
    bediening->setObjectName(QStringLiteral("BedieningsBox"));
    auto* bl = new QVBoxLayout(bediening);
    BedieningExp = new QRadioButton(QStringLiteral("Exponential"), bediening);
    BedieningDet = new QRadioButton(QStringLiteral("Deterministic"), bediening);
    bl->addWidget(BedieningExp);
    bl->addWidget(BedieningDet);
    choices->addWidget(aankomst);
    choices->addWidget(bediening);
    main->addLayout(choices);

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

    connect(OKBtn, &QPushButton::clicked, this, &TSimDialoog1::OKBtnClick);
    connect(TerugBtn, &QPushButton::clicked, this, &TSimDialoog1::TerugBtnClick);
    Refresh();
    setFixedSize(sizeHint());
}

void TSimDialoog1::Refresh() {
    const SingleSettings& s = State().single;
    LambdaEdit->setText(QString::fromStdString(ShortText(s.lambda)));
    MuEdit->setText(QString::fromStdString(ShortText(s.mu)));
    AantalEdit->setValue(s.initial);
    StopTimeEdit->setValue(static_cast<long long>(std::llround(s.length)));
    (s.detArrivals ? AankomstDet : AankomstPoisson)->setChecked(true);
    (s.detService ? BedieningDet : BedieningExp)->setChecked(true);
}

void TSimDialoog1::OKBtnClick() {
    if (owner_->running() || owner_->isClosing()) return;
    AantalEdit->clampText();
    StopTimeEdit->clampText();
    const RateInput in{.lambda = LambdaEdit->text().toStdString(),
                       .mu = MuEdit->text().toStdString(),
                       .length = static_cast<double>(StopTimeEdit->value()),
                       .initial = static_cast<int>(AantalEdit->value()),
                       .detArrivals = AankomstDet->isChecked(),
                       .detService = BedieningDet->isChecked()};
    const auto checked = CheckSingle(in);
    bool refused = false;
    for (const auto& m : checked.messages) {
        MsgDlg(QString::fromStdString(m), tarvik::ui::MsgKind::Warning, tarvik::ui::mbOK);
        refused = true;
    }
    if (checked.settings) State().single = *checked.settings;
    if (auto m = ProcessMessage(State().single)) {
        MsgDlg(QString::fromStdString(*m), tarvik::ui::MsgKind::Warning, tarvik::ui::mbOK);
        refused = true;
    }
    if (refused) return;
    hide();
    owner_->Run();
}

void TSimDialoog1::TerugBtnClick() {
    hide();
    owner_->ShowOptions();
}

void TSimDialoog1::showEvent(QShowEvent* event) {
    Refresh();
    QDialog::showEvent(event);
}

void TSimDialoog1::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!owner_->isClosing()) owner_->ShowOptions();
}

void TSimDialoog1::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace tarvik::simulation::ui
