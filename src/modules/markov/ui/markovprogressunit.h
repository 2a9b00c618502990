#pragma once
// The progress window of the Markov chains module. The shell creates it at
// start and it lives for the whole run; the transient and first-passage
// analyses show it while they compute.
#include <QWidget>

class QProgressBar;
class QPushButton;

namespace tarvik::markov::ui {

class TMarkovProgress : public QWidget {
    Q_OBJECT
public:
    explicit TMarkovProgress(QWidget* parent = nullptr);

    // Shows the window with the bar at 0 and clears the stop flag. While the
    // computation runs the window keeps the focus and the other windows of the
    // program take no input, so that nothing can change under the analysis.
    void begin();
    // The bar position, 0 to 100.
    void setPosition(int position);
    // Hides the window; the stop flag keeps its value until the next `begin`.
    void end();

    bool running() const { return running_; }
    bool stopRequested() const { return stop_; }
    // What "&Stop" does; also used when the module closes during a run.
    void requestStop();

    QProgressBar* ProgressBar = nullptr;
    QPushButton* StopBtn = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void StopBtnClick();

private:
    bool running_ = false;
    bool stop_ = false;
};

// The one progress window of the run; created on first use when the shell did
// not create it.
TMarkovProgress* MarkovProgressWindow();

} // namespace tarvik::markov::ui

// Called by the shell at start, with its main window as owner.
void CreateMarkovProgressWindow(QWidget* mainWindow);
// Called by the shell's failure handler.
void HideMarkovProgressWindow();
