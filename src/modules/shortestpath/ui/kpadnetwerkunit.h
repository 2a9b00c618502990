#pragma once
// The network window: the picture of the grid and its paths, and the presses
// that choose an arc to edit.
#include "modules/shortestpath/ui/kpadpicture.h"

#include <QImage>
#include <QWidget>

namespace tarvik::shortestpath::ui {

class TKPad;

class TKPadNetwerk : public QWidget {
    Q_OBJECT
public:
    explicit TKPadNetwerk(TKPad* owner);

    // Draws the picture afresh from the module's state and repaints.
    void Redraw(const NetworkPicture& picture);
    const QImage& picture() const { return Picture; }
    // The presses answered with a beep so far.
    int beeps() const { return beeps_; }
    void Beep();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    TKPad* owner_;
    QImage Picture;
    int beeps_ = 0;
};

} // namespace tarvik::shortestpath::ui
