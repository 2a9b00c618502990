#pragma once
// The windows of the table game: the game dialog, the table with its chip,
// the wheel, the outcome dialog and the status window.
#include "common/ui/liverepaint.h"

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QWidget>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;

namespace tarvik::roulette::ui {

class TRoulette;
class TWholeSpin;

class TRouletteSpelDlg : public QDialog {
    Q_OBJECT
public:
    explicit TRouletteSpelDlg(TRoulette* owner);

    // "Place your bet" in place of the drawn number, or the number with its
    // caption and colour box.
    void ShowPlaceYourBet();
    void ShowDrawnNumber();

    QLabel* GetrokkenLabel = nullptr; // "Drawn number"
    QLabel* GetrokkenNummer = nullptr;
    QFrame* Kleur = nullptr;
    QLabel* PlaceBetLabel = nullptr;
    TWholeSpin* SpelInzetSpin = nullptr;
    QLabel* Kapitaal = nullptr;
    QPushButton* DraaiBtn = nullptr; // "Turn the wheel"
    QPushButton* TerugBtn = nullptr;

protected:
    void reject() override;

private:
    TRoulette* owner_;
};

// The chip: dragged with the mouse, dropped on the table picture.
class TChip : public QWidget {
    Q_OBJECT
public:
    explicit TChip(TRoulette* owner, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TRoulette* owner_;
    QImage picture_;
    bool dragging_ = false;
    QPoint grab_;  // where the chip was taken, in the chip
    QPoint start_; // where it stood before the drag
};

class TRouletteTableau : public QWidget {
    Q_OBJECT
public:
    explicit TRouletteTableau(TRoulette* owner);

    const QImage& picture() const { return picture_; }

    QWidget* Tableau = nullptr; // the picture's control, 500 x 307
    TChip* Chip = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TRoulette* owner_;
    QImage picture_;
};

class Troulettewiel : public QWidget {
    Q_OBJECT
public:
    explicit Troulettewiel(TRoulette* owner);

    // The clean wheel, or the wheel with the ball in pocket k.
    void ShowClean();
    void ShowBall(int wheelIndex);
    const QImage& shown() const { return shown_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QImage clean_;
    QImage shown_;
    tarvik::ui::LiveRepaint live_;
};

class TUitslagDialog : public QDialog {
    Q_OBJECT
public:
    explicit TUitslagDialog(QWidget* parent);

    void setText(const QString& text);
    QString text() const;

    QLabel* Uitslag = nullptr;
    QPushButton* OKBtn = nullptr;
};

class TRouletteStatus : public QWidget {
    Q_OBJECT
public:
    explicit TRouletteStatus(TRoulette* owner);

    void Fill(int capital, int goal, int betsLeft);

    QLabel* Huidig = nullptr;
    QLabel* Streef = nullptr;
    QLabel* Aantal = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TRoulette* owner_;
};

} // namespace tarvik::roulette::ui
