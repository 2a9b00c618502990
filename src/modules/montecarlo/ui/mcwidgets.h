#pragma once
// The pieces every Monte Carlo window shares: integer spin fields that clamp
// on leaving, the coloured field with the focus, the explanation and save
// buttons, a picture box, frame-close handling and the pacing of long runs.
#include "common/progress.h"
#include "common/ui/liverepaint.h"
#include "common/ui/numberfields.h"
#include "modules/montecarlo/mcshared.h"
#include "modules/montecarlo/ui/mcdraw.h"

#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <chrono>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QToolButton;

namespace tarvik::montecarlo::ui {

class TMC;

// An integer field with limits (the shared whole-number field): any text may
// be typed; on leaving, a value outside the limits becomes the nearest limit
// and a text that is no integer the lower limit. The limits are its hint.
class TMCSpinEdit : public tarvik::ui::TBoundedSpin {
    Q_OBJECT
public:
    TMCSpinEdit(const SpinLimits& limits, QWidget* parent);
    const SpinLimits& limits() const { return limits_; }
    void restoreDefault() { setValue(limits_.initial); }
    QLineEdit* editor() const { return lineEdit(); }

private:
    SpinLimits limits_;
};

// Colours a field while it has the focus (yellow, or another colour), white
// again on leaving.
void ColourOnFocus(QWidget* field, QColor colour = QColor(Qt::yellow));

// The speed button with the hint "Explanantion" that opens a help context.
QToolButton* ExplanationButton(QWidget* parent, int helpContext);
// The "Save graph to file" speed button.
QToolButton* SaveGraphButton(QWidget* parent);

// Shows an off-screen picture at its natural size.
class TMCPictureBox : public QWidget {
    Q_OBJECT
public:
    TMCPictureBox(const QImage* picture, QWidget* parent);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage* picture_;
};

// Shows a window of the experiment again, raised; active too when
// `activate` is set. No window, nothing shown.
void ShowAgain(QWidget* window, bool activate);

// A label at a fixed place.
QLabel* PlaceLabel(QWidget* parent, const QString& text, int x, int y);
// A named text field at a fixed place, coloured while it has the focus.
QLineEdit* PlaceField(QWidget* parent, const char* name, int x, int y, int w);
// A push button at a fixed place.
QPushButton* PlaceButton(QWidget* parent, const QString& text, const char* name, int x, int y, int w = 75,
                         int h = 25);

// An experiment window: a stay-on-top tool window of the module that lets
// itself be closed by its frame only while the module closes; otherwise the
// frame's close runs `onFrameClose`.
class TMCWindow : public QWidget {
    Q_OBJECT
    // Read by the application's F1 handling.
    Q_PROPERTY(int tarvikHelpContext MEMBER helpContext)
public:
    TMCWindow(TMC* module, const QString& caption, bool frameless = false);
    TMC* module() const { return module_; }
    // Places this window and `graph` side by side where the module puts its
    // windows, then shows this one, raised and active; `graph` is shown too
    // when `showGraph` is set.
    void OpenBeside(QWidget* graph, bool showGraph);
    std::function<void()> onFrameClose;
    // The help context F1 opens in this window (the module's by default).
    int helpContext = 6;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TMC* module_;
};

// A graph window: its picture (w by h) above a row of "Again", "Previous",
// "Data" (when `withData`) and "Save graph to file", which call the window's
// handlers; closing the frame is "Previous".
class TMCGraphWindow : public TMCWindow {
    Q_OBJECT
public:
    TMCGraphWindow(TMC* module, const QString& caption, int w, int h, bool withData);
    const QImage& picture() const { return Picture; }

    virtual void AgainBtnClick() = 0;
    virtual void TerugBtnClick() = 0;
    virtual void DataBtnClick() {}
    virtual void SaveBtnClick() = 0;

    TMCPictureBox* Graph = nullptr;
    QPushButton* AgainBtn = nullptr;
    QPushButton* TerugBtn = nullptr;
    QPushButton* DataBtn = nullptr;
    QToolButton* SaveBtn = nullptr;

protected:
    QImage Picture;
    MCCanvas Canvas{Picture};
};

// A parameter window that runs its experiment itself, beside its graph:
// "Simulate" starts a run from the event loop, never inside the click; during
// a run "Previous" reads "Stop" and stops it, otherwise it hides both windows
// and shows the chooser.
class TMCSimulateWindow : public TMCWindow {
    Q_OBJECT
public:
    TMCSimulateWindow(TMC* module, const QString& caption, QWidget* graph);
    void SimulateBtnClick();
    virtual void TerugBtnClick();
    void Stop() { StopFlag = true; }
    bool running() const { return Running || Pending; }

    QPushButton* SimulateBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

protected:
    // "Simulate" at (16, y) and "Previous" at (110, y).
    void PlaceRunButtons(int y);
    // The fields' typed texts made their values before a run.
    virtual void CommitFields() = 0;
    // The run, from the event loop; it starts with BeginRun.
    virtual void Execute() = 0;
    // False when no run is to start now; otherwise the run is marked going,
    // "Simulate" disabled and "Previous" reads "Stop".
    bool BeginRun();
    // "Simulate" enabled and "Previous" again.
    void ShowIdle();
    // The run has ended: not running, and ShowIdle.
    void EndRun();

    bool StopFlag = false;
    bool Running = false;
    bool Pending = false;

private:
    QWidget* GraphWindow;
};

// The pacing of a run that is drawn after it is computed: one step every
// `pauseMs` by the clock, painted on a 16 ms timer. `drawUpTo(n)` paints the
// steps after drawn() up to n; `ended` follows the last step.
class MCPacing {
public:
    MCPacing(QObject* window, std::function<void(int)> drawUpTo, std::function<void()> ended);
    void start(int steps, double pauseMs);
    // Draws what is left at once.
    void finish();
    bool drawing() const { return drawing_; }
    int drawn() const { return drawn_; }

private:
    void tick();
    void drawUpTo(int step);
    void end();

    QTimer* timer_;
    QElapsedTimer clock_;
    std::function<void(int)> draw_;
    std::function<void()> ended_;
    int steps_ = 0;
    double pauseMs_ = 10;
    int drawn_ = 0;
    bool drawing_ = false;
};

// What a run sees of its window: a stop flag, the module closing, and a
// hand-over to the event loop at most about every 10 ms (or every time when
// `always` is set, as in slow mode), repainting the live picture first.
class MCRunProgress : public Progress {
public:
    MCRunProgress(TMC* module, const bool* stop, std::function<void()> refresh = {});
    void yield() override;
    bool stopRequested() const override;
    // Hands control to the event loop now (slow mode, pauses).
    void handOver();
    // Waits `ms` milliseconds while the event loop runs (slow-mode pauses);
    // returns early when the run is to stop.
    void pause(int ms);

    // The least time between two hand-overs in `yield` (tests set 0, so that
    // every point where a run may hand over does).
    static inline int HandOverIntervalMs = 10;

private:
    QPointer<TMC> module_;
    const bool* stop_;
    std::function<void()> refresh_;
    tarvik::ui::LiveRepaint live_;
    std::chrono::steady_clock::time_point last_;
};

} // namespace tarvik::montecarlo::ui
