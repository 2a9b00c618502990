#pragma once
// The frequency diagram window: the growing bars of the six faces.
#include "common/ui/liverepaint.h"
#include "common/ui/picturebox.h"
#include "modules/dice/dobbel.h"

#include <QImage>
#include <QWidget>
#include <array>

class QPainter;

class QPushButton;
class QToolButton;

namespace tarvik::dice::ui {

class TDobbel;

using tarvik::ui::TPictureBox;

class TDobbelBar : public QWidget {
    Q_OBJECT
public:
    explicit TDobbelBar(TDobbel* owner);

    const QImage& picture() const { return Picture; }

    // Steps 2 and 3 of a run: "Stop", the empty diagram, "Repeat" disabled.
    // A `paced` run (fast simulation) is shown at the frame rate; any other
    // shows every refresh, so that each rise of a bar can be watched.
    void BeginRun(bool paced);
    // A throw's bar and cap, drawn into the picture.
    void DrawThrow(const ThrowStep& step);
    // The labels of the current state, then the picture on the screen; while
    // a paced run goes on at most about sixty times a second.
    void Refresh(const Counts& counts, int throwsMade);
    // The end of a run: "Previous" and "Repeat" again.
    void EndRun();

    void TerugBtnClick();
    void RepeatBtnClick();
    void SaveBtnClick();

    TPictureBox* PictureBox = nullptr;
    QPushButton* TerugBtn = nullptr;
    QPushButton* RepeatBtn = nullptr;
    QToolButton* SaveBtn = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Paints the diagram as it stands: the bars, caps and labels drawn so far.
    void Draw(QPainter& p) const;
    // The labels of the last state handed to Refresh, then the screen.
    void PaintLabels();

    TDobbel* owner_;
    QImage Picture;
    std::array<int, kFaces> Tops{};
    std::array<bool, kFaces> Capped{};
    Counts LabelCounts{};
    int LabelThrows = -1; // -1: no labels drawn yet
    bool running_ = false;
    bool paced_ = true;
    tarvik::ui::LiveRepaint live_;
};

} // namespace tarvik::dice::ui
