#include "modules/tsp/ui/tspdialoogunit.h"

#include "common/ui/help.h"
#include "common/ui/numberfields.h"

#include "common/ui/moduledialog.h"
#include "common/ui/modulewindow.h"
#include "modules/tsp/tspcities.h"
#include "modules/tsp/ui/tspunit.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace tarvik::tsp::ui {

QHBoxLayout* OkPreviousRow(QWidget* dialog, QPushButton*& ok, QPushButton*& previous) {
    auto* row = new QHBoxLayout;
    ok = new QPushButton(dialog->style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"),
                         dialog);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    previous = new QPushButton(dialog->style()->standardIcon(QStyle::SP_ArrowBack),
                               QStringLiteral("Previous"), dialog);
    previous->setObjectName(QStringLiteral("TerugBtn"));
    row->addWidget(ok);
    row->addWidget(previous);
    return row;
}

// --- TTSPZetSteden ----------------------------------------------------------------

TTSPZetSteden::TTSPZetSteden(TTSP* owner) : QDialog(owner), owner_(owner) {
    tarvik::ui::SetHelpContext(this, 3);
    setObjectName(QStringLiteral("TSPZetSteden"));
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Place cities"));

    auto* main = new QVBoxLayout(this);
    KeuzeGroup = tarvik::ui::ChoiceColumn<QRadioButton>(
        this, QStringLiteral("Choose cities"), QStringLiteral("KeuzeGroup"),
        {{&RandomBtn, "Random", "RandomBtn"}, {&OwnBtn, "Own choice", "OwnBtn"}});
    RandomBtn->setChecked(true);
    main->addWidget(KeuzeGroup);

    auto* aantal = new QGroupBox(QStringLiteral("Number of cities"), this);
    auto* aantalLayout = new QHBoxLayout(aantal);
    AantalSpin = new tarvik::ui::TBoundedSpin(kMinCities, kMaxCities, 10, aantal);
    AantalSpin->setObjectName(QStringLiteral("AantalSpin"));
    AantalSpin->setStyleSheet(QStringLiteral("QSpinBox:focus { background: yellow; }"));
    aantalLayout->addWidget(AantalSpin);
    aantalLayout->addWidget(new QLabel(QStringLiteral("2<= number <=50"), aantal));
    main->addWidget(aantal);

    main->addLayout(OkPreviousRow(this, OKBtn, TerugBtn));
    connect(OKBtn, &QPushButton::clicked, this, &TTSPZetSteden::OKBtnClick);
    connect(TerugBtn, &QPushButton::clicked, this, &TTSPZetSteden::TerugBtnClick);
}

void TTSPZetSteden::OKBtnClick() {
    owner_->ZetStedenOK(RandomBtn->isChecked(), AantalSpin->commit());
}

void TTSPZetSteden::TerugBtnClick() {
    owner_->closeModule();
}

void TTSPZetSteden::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!owner_->isClosing()) owner_->closeModule();
}

void TTSPZetSteden::reject() {
    if (!owner_->isClosing()) owner_->closeModule();
}

// --- TTSPDialoog ------------------------------------------------------------------

TTSPDialoog::TTSPDialoog(TTSP* owner) : QDialog(owner), owner_(owner) {
    tarvik::ui::SetHelpContext(this, 3);
    setObjectName(QStringLiteral("TSPDialoog"));
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Options"));

    auto* main = new QVBoxLayout(this);
    HeuristiekGroup = new QGroupBox(QStringLiteral("Heuristics"), this);
    HeuristiekGroup->setObjectName(QStringLiteral("HeuristiekGroup"));
    auto* heur = new QVBoxLayout(HeuristiekGroup);
    ListBox = new QListWidget(HeuristiekGroup);
    ListBox->setObjectName(QStringLiteral("ListBox"));
    ListBox->addItems({QStringLiteral("Construct own tour"), QStringLiteral("Random tour"),
                       QStringLiteral("Closest neighbor heuristic"),
                       QStringLiteral("Greatest angle heuristic")});
    ListBox->setFixedHeight(ListBox->sizeHintForRow(0) * 4 + 2 * ListBox->frameWidth() + 4);
    heur->addWidget(ListBox);
    auto* heurButtons = new QHBoxLayout;
    HeuristiekBtn = new QPushButton(QStringLiteral("Execute heuristics"), HeuristiekGroup);
    HeuristiekBtn->setObjectName(QStringLiteral("HeuristiekBtn"));
    TweeOptBtn = new QPushButton(QStringLiteral("Improve with 2-OPT"), HeuristiekGroup);
    TweeOptBtn->setObjectName(QStringLiteral("TweeOptBtn"));
    TweeOptBtn->setEnabled(false);
    heurButtons->addWidget(HeuristiekBtn);
    heurButtons->addWidget(TweeOptBtn);
    heur->addLayout(heurButtons);
    main->addWidget(HeuristiekGroup);

    AanwijzingBox = new QGroupBox(QStringLiteral("Instructions"), this);
    AanwijzingBox->setObjectName(QStringLiteral("AanwijzingBox"));
    auto* aanw = new QVBoxLayout(AanwijzingBox);
    Info = new QLabel(AanwijzingBox);
    Info->setObjectName(QStringLiteral("Info"));
    Info->setWordWrap(true);
    Info->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Info->setText(QStringLiteral("Choose your method from the list below"));
    CoordDlg = new QLabel(AanwijzingBox);
    CoordDlg->setObjectName(QStringLiteral("CoordDlg"));
    CoordDlg->hide();
    ResultaatMemo = new QTextEdit(AanwijzingBox);
    ResultaatMemo->setObjectName(QStringLiteral("ResultaatMemo"));
    ResultaatMemo->setReadOnly(true);
    ResultaatMemo->setMinimumHeight(130);
    ResultaatMemo->hide();
    aanw->addWidget(Info);
    aanw->addWidget(CoordDlg);
    aanw->addWidget(ResultaatMemo, 1);
    aanw->addStretch(); // keeps the labels at the top while the result field is hidden
    main->addWidget(AanwijzingBox, 1);

    auto* boundRow = new QHBoxLayout;
    auto* boundLabel = new QLabel(QStringLiteral("Bound:"), this);
    BoundBox = new QComboBox(this);
    BoundBox->setObjectName(QStringLiteral("BoundBox"));
    BoundBox->addItems(
        {QStringLiteral("Reduced matrix (as in the course)"), QStringLiteral("1-tree (Held–Karp)")});
    BoundBox->setToolTip(
        QStringLiteral("The lower bound with which \"Calculate Optimal Tour\" prunes its search"));
    boundLabel->setBuddy(BoundBox);
    boundRow->addWidget(boundLabel);
    boundRow->addWidget(BoundBox, 1);
    main->addLayout(boundRow);

    auto* grid = new QGridLayout;
    ExactBtn = new QPushButton(QStringLiteral("Calculate Optimal Tour"), this);
    ExactBtn->setObjectName(QStringLiteral("ExactBtn"));
    DataBtn = new QPushButton(QStringLiteral("Show tour data"), this);
    DataBtn->setObjectName(QStringLiteral("DataBtn"));
    WisBtn = new QPushButton(QStringLiteral("Stop and erase tour"), this);
    WisBtn->setObjectName(QStringLiteral("WisBtn"));
    CancelBtn =
        new QPushButton(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Previous"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    SpeedButton2 = new QToolButton(this);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    SpeedButton2->setToolTip(QStringLiteral("Save graph to file"));
    grid->addWidget(ExactBtn, 0, 0);
    grid->addWidget(DataBtn, 0, 1);
    grid->addWidget(WisBtn, 1, 0);
    grid->addWidget(CancelBtn, 1, 1);
    grid->addWidget(SpeedButton2, 0, 2, 2, 1);
    main->addLayout(grid);
    resize(330, 470);

    connect(HeuristiekBtn, &QPushButton::clicked, owner, &TTSP::HeuristiekBtnClick);
    connect(TweeOptBtn, &QPushButton::clicked, owner, &TTSP::TweeOptBtnClick);
    connect(ExactBtn, &QPushButton::clicked, owner, &TTSP::ExactBtnClick);
    connect(DataBtn, &QPushButton::clicked, owner, &TTSP::DataBtnClick);
    connect(WisBtn, &QPushButton::clicked, owner, &TTSP::WisBtnClick);
    connect(CancelBtn, &QPushButton::clicked, owner, &TTSP::CancelBtnClick);
    connect(SpeedButton2, &QToolButton::clicked, owner, &TTSP::SaveBtnClick);
}

void TTSPDialoog::ClearResult() {
    ResultaatMemo->clear();
}

void TTSPDialoog::AddResultLine(const QString& text, bool heading) {
    QTextCharFormat format;
    format.setFontWeight(heading ? QFont::Bold : QFont::Normal);
    format.setFontUnderline(heading);
    QTextCursor cursor(ResultaatMemo->document());
    cursor.movePosition(QTextCursor::End);
    if (!ResultaatMemo->document()->isEmpty()) cursor.insertBlock();
    cursor.setCharFormat(format);
    cursor.insertText(text, format);
}

QStringList TTSPDialoog::ResultLines() const {
    if (ResultaatMemo->document()->isEmpty()) return {};
    return ResultaatMemo->toPlainText().split(QLatin1Char('\n'));
}

void TTSPDialoog::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!owner_->isClosing()) owner_->DialoogClosed();
}

void TTSPDialoog::reject() {
    if (!owner_->isClosing()) owner_->DialoogClosed();
}

// --- TTSPBeginstad ----------------------------------------------------------------

TTSPBeginstad::TTSPBeginstad(TTSP* owner) : QDialog(owner), owner_(owner) {
    tarvik::ui::SetHelpContext(this, 3);
    setObjectName(QStringLiteral("TSPBeginstad"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("Travelling salesman"));
    setWindowModality(Qt::ApplicationModal);
    auto* main = new QVBoxLayout(this);
    main->addWidget(new QLabel(QStringLiteral("In which city does the journey have to start"), this));
    StartSpin = new tarvik::ui::TBoundedSpin(1, kMaxCities, 1, this);
    StartSpin->setObjectName(QStringLiteral("StartSpin"));
    main->addWidget(StartSpin);
    FastBox = new QCheckBox(QStringLiteral("Fast execution"), this);
    FastBox->setObjectName(QStringLiteral("FastBox"));
    FastBox->setChecked(true);
    main->addWidget(FastBox);
    OKBtn = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    main->addWidget(OKBtn, 0, Qt::AlignHCenter);
    connect(OKBtn, &QPushButton::clicked, this, &TTSPBeginstad::OKBtnClick);
}

void TTSPBeginstad::Ask(int n) {
    StartSpin->setRange(1, n);
    StartSpin->setValue(1);
    show();
    raise();
    activateWindow();
    StartSpin->setFocus();
}

void TTSPBeginstad::OKBtnClick() {
    hide();
    owner_->BeginstadOK(StartSpin->commit(), FastBox->isChecked());
}

void TTSPBeginstad::reject() {
    // The dialog has only "OK": closing it answers the same.
    OKBtnClick();
}

} // namespace tarvik::tsp::ui
