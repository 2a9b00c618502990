#pragma once
// The graph windows of the queue simulation, and the one of the single-server
// queue: the live picture Image1 (497 x 353), "Stop"/"Previous", "Again",
// "Data" and the save button.
#include "common/ui/picturebox.h"
#include "common/ui/picturesave.h"

#include <QImage>
#include <QWidget>

class QPushButton;
class QToolButton;

namespace tarvik::simulation::ui {

// A live graph window ("Graph"): the picture at the left, held as an image so
// that it persists and can be saved, and at the right "Stop"/"Previous",
// "Again", "Data" and the save button. Closing by the title bar hides it.
class TSimGraphWindow : public QWidget {
    Q_OBJECT
public:
    const QImage& picture() const { return Picture; }
    int scale() const { return scale_; }

    // Puts what was drawn since the last repaint on the screen.
    void Flush();
    bool dirty() const { return dirty_; }

    tarvik::ui::TPictureBox* Image1 = nullptr;
    QPushButton* SluitBtn = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* ToonDataBtn = nullptr;
    QToolButton* SpeedButton2 = nullptr;

signals:
    void sluitClicked();
    void againClicked();
    void dataClicked();

protected:
    TSimGraphWindow(QWidget* parent, const QString& name, QSize pictureSize, int windowHeight,
                    const QString& saveHint);
    // "Stop" while a run goes: the window comes to the front.
    void ShowRunning(int scale);

    QImage Picture;
    tarvik::ui::PictureSteps Steps; // what the picture was drawn with, for a saved drawing
    int scale_ = 1;
    bool dirty_ = false;

private:
    void SaveClick();
};

class TSimGrafiek : public TSimGraphWindow {
    Q_OBJECT
public:
    explicit TSimGrafiek(QWidget* parent);

    // The start of a run: "Again" and "Data" disabled, the frame, "Stop", the
    // window shown, the grid.
    void BeginRun(double length, int scale);
    // Sample i of the live curves (drawn from the third sample on).
    void Sample(int i, long long actual, double average);
    // The end of a run: "Previous", "Again" and "Data" enabled.
    void EndRun();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    long long prevActual_ = 0;
    double prevAverage_ = 0;
};

} // namespace tarvik::simulation::ui
