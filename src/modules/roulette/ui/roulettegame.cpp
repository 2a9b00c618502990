#include "modules/roulette/ui/roulettegame.h"

#include "common/ui/accessibility.h"
#include "common/ui/help.h"
#include "common/ui/keyboardpointer.h"
#include "common/ui/modulewindow.h"
#include "modules/roulette/tablegame.h"
#include "modules/roulette/ui/roulettepictures.h"
#include "modules/roulette/ui/rouletteunit.h"
#include "modules/roulette/ui/wholespin.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvik::roulette::ui {

// --- TRouletteSpelDlg ---------------------------------------------------------------

TRouletteSpelDlg::TRouletteSpelDlg(TRoulette* owner) : QDialog(owner), owner_(owner) {
    tarvik::ui::SetHelpContext(this, 8);
    setObjectName(QStringLiteral("RouletteSpelDlg"));
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Roulette game"));

    auto* main = new QVBoxLayout(this);
    // The drawn number with its caption and colour box, or "Place your bet" in their place.
    auto* drawn = new QWidget(this);
    drawn->setFixedSize(180, 110);
    GetrokkenLabel = new QLabel(QStringLiteral("Drawn number"), drawn);
    GetrokkenLabel->setObjectName(QStringLiteral("GetrokkenLabel"));
    GetrokkenLabel->setAlignment(Qt::AlignCenter);
    GetrokkenLabel->setGeometry(0, 0, 180, 18);
    GetrokkenNummer = new QLabel(drawn);
    GetrokkenNummer->setObjectName(QStringLiteral("GetrokkenNummer"));
    GetrokkenNummer->setAlignment(Qt::AlignCenter);
    QFont big = GetrokkenNummer->font();
    big.setPixelSize(44);
    big.setBold(true);
    GetrokkenNummer->setFont(big);
    GetrokkenNummer->setGeometry(0, 18, 180, 56);
    Kleur = new QFrame(drawn);
    Kleur->setObjectName(QStringLiteral("Kleur"));
    Kleur->setFrameShape(QFrame::Box);
    Kleur->setAutoFillBackground(true);
    Kleur->setGeometry(60, 78, 60, 26);
    PlaceBetLabel = new QLabel(QStringLiteral("Place your bet"), drawn);
    PlaceBetLabel->setObjectName(QStringLiteral("PlaceBetLabel"));
    PlaceBetLabel->setAlignment(Qt::AlignCenter);
    QFont place = PlaceBetLabel->font();
    place.setPixelSize(20);
    place.setBold(true);
    PlaceBetLabel->setFont(place);
    PlaceBetLabel->setGeometry(0, 30, 180, 50);
    auto* drawnRow = new QHBoxLayout;
    drawnRow->addStretch();
    drawnRow->addWidget(drawn);
    drawnRow->addStretch();
    main->addLayout(drawnRow);

    auto* grid = new QGridLayout;
    SpelInzetSpin = new TWholeSpin(kMinGameStake, kMaxGameStake, 1, this);
    SpelInzetSpin->setObjectName(QStringLiteral("SpelInzetSpin"));
    SpelInzetSpin->setMinimumWidth(80);
    auto* stakeLabel = new QLabel(QStringLiteral("Stake"), this);
    stakeLabel->setBuddy(SpelInzetSpin);
    grid->addWidget(stakeLabel, 0, 0);
    grid->addWidget(SpelInzetSpin, 0, 1);
    Kapitaal = new QLabel(this);
    Kapitaal->setObjectName(QStringLiteral("Kapitaal"));
    grid->addWidget(new QLabel(QStringLiteral("Current capital"), this), 1, 0);
    grid->addWidget(Kapitaal, 1, 1);
    main->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    DraaiBtn = new QPushButton(QStringLiteral("Turn the wheel"), this);
    DraaiBtn->setObjectName(QStringLiteral("DraaiBtn"));
    DraaiBtn->setAutoDefault(false);
    TerugBtn = new QPushButton(QStringLiteral("Previous"), this);
    TerugBtn->setObjectName(QStringLiteral("TerugBtn"));
    TerugBtn->setAutoDefault(false);
    buttons->addWidget(DraaiBtn);
    buttons->addWidget(TerugBtn);
    main->addLayout(buttons);

    connect(DraaiBtn, &QPushButton::clicked, owner_, &TRoulette::TurnWheel);
    connect(TerugBtn, &QPushButton::clicked, owner_, &TRoulette::LeaveGame);
    ShowPlaceYourBet();
    setFixedSize(sizeHint());
}

void TRouletteSpelDlg::ShowPlaceYourBet() {
    GetrokkenLabel->hide();
    GetrokkenNummer->hide();
    Kleur->hide();
    PlaceBetLabel->show();
}

void TRouletteSpelDlg::ShowDrawnNumber() {
    PlaceBetLabel->hide();
    Kleur->show();
    GetrokkenLabel->show();
    GetrokkenNummer->show();
}

void TRouletteSpelDlg::reject() {
    // Escape and the frame: as "Previous", when it is enabled.
    if (!owner_->isClosing() && TerugBtn->isEnabled()) owner_->LeaveGame();
}

// --- TChip --------------------------------------------------------------------------

TChip::TChip(TRoulette* owner, QWidget* parent)
    : QWidget(parent), owner_(owner), picture_(DrawChipPicture()) {
    setObjectName(QStringLiteral("Chip"));
    setFixedSize(kChipWidth, kChipHeight);
    setToolTip(QStringLiteral("Drag fiche to desired position"));
    setCursor(Qt::OpenHandCursor);
    tarvik::ui::DescribePicture(this, QStringLiteral("Chip: drag it onto the bet of your choice"));
    // The keys pick the chip up, move it and drop it through the mouse handlers below.
    auto* pointer = new tarvik::ui::KeyboardPointer(this, QStringLiteral("Chip"),
                                                    tarvik::ui::KeyboardPointer::Mode::Drag);
    pointer->setCancel([this] {
        if (!dragging_) return;
        dragging_ = false;
        setCursor(Qt::OpenHandCursor);
        move(start_);
    });
}

void TChip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, picture_);
}

void TChip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !owner_->chipDraggable()) {
        event->ignore();
        return;
    }
    dragging_ = true;
    grab_ = event->position().toPoint();
    start_ = pos();
    raise();
    setCursor(Qt::ClosedHandCursor);
}

void TChip::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    const QPoint inParent = mapToParent(event->position().toPoint());
    move(inParent - grab_);
}

void TChip::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_ || event->button() != Qt::LeftButton) return;
    dragging_ = false;
    setCursor(Qt::OpenHandCursor);
    const QPoint topLeft = mapToParent(event->position().toPoint()) - grab_;
    // A drop counts only on the table picture, with the pointer inside it.
    const QPoint pointer = mapToParent(event->position().toPoint());
    const QRect table(0, 0, kTableWidth, kTableControlHeight);
    if (!table.contains(pointer) || !owner_->chipDraggable()) {
        move(start_);
        return;
    }
    owner_->ChipDropped(QPointF(topLeft));
}

// --- TRouletteTableau ---------------------------------------------------------------

namespace {

class TTablePictureBox : public QWidget {
public:
    TTablePictureBox(const QImage* picture, QWidget* parent) : QWidget(parent), picture_(picture) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(0, 110, 40));
        p.drawImage(0, kTableTop, *picture_);
    }

private:
    const QImage* picture_;
};

} // namespace

TRouletteTableau::TRouletteTableau(TRoulette* owner)
    : QWidget(owner), owner_(owner), picture_(DrawTablePicture()) {
    tarvik::ui::SetHelpContext(this, 8);
    setObjectName(QStringLiteral("RouletteTableau"));
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Game table"));
    setFixedSize(kTableWidth, kTableControlHeight);
    Tableau = new TTablePictureBox(&picture_, this);
    Tableau->setObjectName(QStringLiteral("Tableau"));
    Tableau->setGeometry(0, 0, kTableWidth, kTableControlHeight);
    Tableau->setToolTip(QStringLiteral("Place fiche and click on 'Turn the wheel'"));
    tarvik::ui::DescribePicture(
        Tableau,
        QStringLiteral("Game table: the numbers 0 (green) to 36 (red or black) in three columns, with "
                       "the bets on columns, dozens, 1 to 18, 19 to 36, even, odd, red and black"));
    Chip = new TChip(owner, this);
    Chip->move(20, 250);
    Chip->raise();
}

void TRouletteTableau::closeEvent(QCloseEvent* event) {
    // The frame: as "Previous" in the game dialog, while no spin is going.
    event->accept();
    if (!owner_->isClosing() && !owner_->spinning()) owner_->LeaveGame();
}

// --- Troulettewiel ------------------------------------------------------------------

namespace {
const QString kCleanWheel = QStringLiteral("Roulette wheel with the pockets 0 to 36, without the ball");
} // namespace

Troulettewiel::Troulettewiel(TRoulette* owner)
    : QWidget(owner), clean_(DrawWheelPicture()), shown_(clean_), live_([this] {
          if (isVisible()) repaint();
      }) {
    tarvik::ui::SetHelpContext(this, 8);
    setObjectName(QStringLiteral("roulettewiel"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    setWindowTitle(QStringLiteral("Roulette wheel"));
    setFixedSize(kWheelWidth, kWheelHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    tarvik::ui::DescribePicture(this, kCleanWheel);
}

void Troulettewiel::ShowClean() {
    shown_ = clean_;
    tarvik::ui::DescribePicture(this, kCleanWheel);
    live_.request();
}

void Troulettewiel::ShowBall(int wheelIndex) {
    shown_ = clean_;
    DrawBall(shown_, wheelIndex);
    const int number = kWheelOrder[static_cast<std::size_t>(wheelIndex)];
    tarvik::ui::DescribePicture(
        this, QStringLiteral("Roulette wheel with the ball in pocket %1 (%2)")
                  .arg(number)
                  .arg(number == 0 ? QStringLiteral("green")
                                   : (IsRed(number) ? QStringLiteral("red") : QStringLiteral("black"))));
    live_.request();
}

void Troulettewiel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, shown_);
}

void Troulettewiel::closeEvent(QCloseEvent* event) {
    // The wheel goes when its spin is over.
    event->ignore();
}

// --- TUitslagDialog -----------------------------------------------------------------

TUitslagDialog::TUitslagDialog(QWidget* parent) : QDialog(parent) {
    tarvik::ui::SetHelpContext(this, 8);
    setObjectName(QStringLiteral("UitslagDialog"));
    setWindowTitle(QStringLiteral("Result"));
    setModal(true);
    auto* main = new QVBoxLayout(this);
    Uitslag = new QLabel(this);
    Uitslag->setObjectName(QStringLiteral("Uitslag"));
    Uitslag->setAlignment(Qt::AlignCenter);
    QFont f = Uitslag->font();
    f.setPixelSize(16);
    f.setBold(true);
    Uitslag->setFont(f);
    Uitslag->setMinimumWidth(280);
    main->addWidget(Uitslag);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(OKBtn);
    row->addStretch();
    main->addLayout(row);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
}

void TUitslagDialog::setText(const QString& text) {
    Uitslag->setText(text);
}

QString TUitslagDialog::text() const {
    return Uitslag->text();
}

// --- TRouletteStatus ----------------------------------------------------------------

TRouletteStatus::TRouletteStatus(TRoulette* owner) : QWidget(owner), owner_(owner) {
    tarvik::ui::SetHelpContext(this, 8);
    setObjectName(QStringLiteral("RouletteStatus"));
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Status"));
    auto* grid = new QGridLayout(this);
    Huidig = new QLabel(this);
    Huidig->setObjectName(QStringLiteral("Huidig"));
    Streef = new QLabel(this);
    Streef->setObjectName(QStringLiteral("Streef"));
    Aantal = new QLabel(this);
    Aantal->setObjectName(QStringLiteral("Aantal"));
    grid->addWidget(new QLabel(QStringLiteral("Current capital"), this), 0, 0);
    grid->addWidget(Huidig, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Desired capital"), this), 1, 0);
    grid->addWidget(Streef, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Number of bets left"), this), 2, 0);
    grid->addWidget(Aantal, 2, 1);
    grid->setColumnMinimumWidth(1, 50);
    setFixedSize(sizeHint());
}

void TRouletteStatus::Fill(int capital, int goal, int betsLeft) {
    Huidig->setText(QString::number(capital));
    Streef->setText(QString::number(goal));
    Aantal->setText(QString::number(betsLeft));
}

void TRouletteStatus::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!owner_->isClosing() && !owner_->spinning()) owner_->LeaveGame();
}

} // namespace tarvik::roulette::ui
