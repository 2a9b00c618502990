#pragma once
// The graph windows of the normal-distribution module: one, two or four
// histograms, the square-root law and the confidence intervals. Each holds
// its picture as an image, so that repainting shows it again.
#include "modules/normal/clt.h"
#include "modules/normal/intervals.h"
#include "modules/normal/sqrtlaw.h"
#include "modules/normal/ui/clsdialogen.h"
#include "modules/normal/ui/clspictures.h"

#include <QImage>
#include <array>
#include <vector>

class QLabel;
class QPushButton;

namespace tarvik::normal::ui {

// A graph window: a module window that shows one picture.
class TCLSGraphWindow : public TCLSWindow {
    Q_OBJECT
public:
    TCLSGraphWindow(TCLS* owner, const QString& name, const QString& caption, int width, int height);

    const QImage& picture() const { return Picture; }
    TPictureBox* PictureBox = nullptr;

protected:
    QImage Picture;
};

// The histograms of the sums. `count` is 1, 2 or 4.
class TCLSGrafiek : public TCLSGraphWindow {
    Q_OBJECT
public:
    TCLSGrafiek(TCLS* owner, int count);
    int count() const { return count_; }
    // Draws the histograms of the distributions (sums from n[i]); false when a
    // bar width came out 0 (the message has then been shown).
    bool ShowHistograms(const Probabilities& p, const std::array<int, 4>& n,
                        const std::array<std::vector<double>, 4>& dist);
    const std::vector<HistogramLayout>& layouts() const { return layouts_; }
    void TerugBtnClick();

    std::vector<QLabel*> TextLabels;
    QPushButton* TerugBtn = nullptr;

protected:
    void frameClose() override;

private:
    int count_;
    std::vector<HistogramLayout> layouts_;
};

class TCLSGrafiek1 : public TCLSGrafiek {
public:
    explicit TCLSGrafiek1(TCLS* owner) : TCLSGrafiek(owner, 1) {}
};
class TCLSGrafiek2 : public TCLSGrafiek {
public:
    explicit TCLSGrafiek2(TCLS* owner) : TCLSGrafiek(owner, 2) {}
};
class TCLSGrafiek4 : public TCLSGrafiek {
public:
    explicit TCLSGrafiek4(TCLS* owner) : TCLSGrafiek(owner, 4) {}
};

class TCLSWortelN : public TCLSGraphWindow {
    Q_OBJECT
public:
    explicit TCLSWortelN(TCLS* owner);
    void Clear();
    void DrawPoint(const SqrtPoint& point, bool big);
    // Shows the picture now (at most about 60 times a second during a run).
    void Refresh();
    void SetRunning(bool running);
    void OpnieuwBtnClick();
    void TerugBtnClick();

    QPushButton* OpnieuwBtn = nullptr;
    QPushButton* TerugBtn = nullptr;
    int pointsDrawn = 0;
    // Under the picture: the heading and, under each column, the means inside
    // +-2/sqrt(n) so far.
    QLabel* WithinHeadingLabel = nullptr;
    std::array<QLabel*, 4> WithinLabels{};
    const SqrtTally& tally() const { return tally_; }

protected:
    void frameClose() override;

private:
    // Tells screen readers what the picture shows.
    void Describe();
    SqrtTally tally_;
};

class TCLSBTIPlot : public TCLSGraphWindow {
    Q_OBJECT
public:
    explicit TCLSBTIPlot(TCLS* owner);
    // The caption, labels and empty panels of a run.
    void BeginRun(const IntervalRunSettings& settings);
    void DrawPair(const IntervalPair& pair, double p, double e);
    // The intervals of each panel that miss p so far, as the run counts them.
    void ShowMisses(const IntervalRun& run);
    void EndRun();
    void Refresh();
    void TerugBtnClick();
    void OpnieuwBtnClick();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* MissLabel1 = nullptr; // under each panel
    QLabel* MissLabel2 = nullptr;
    QPushButton* TerugBtn = nullptr;
    QPushButton* OpnieuwBtn = nullptr;
    std::vector<IntervalLine> lines; // as drawn, both panels

protected:
    void frameClose() override;

private:
    // Tells screen readers what the picture shows.
    void Describe();
    double p_ = 0;
    int pairsDrawn_ = 0;
    std::array<int, 2> missed_{}; // per panel, intervals not holding p
};

} // namespace tarvik::normal::ui
