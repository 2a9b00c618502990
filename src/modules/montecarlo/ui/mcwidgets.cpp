#include "modules/montecarlo/ui/mcwidgets.h"

#include "common/ui/accessibility.h"
#include "common/ui/help.h"
#include "common/ui/modulewindow.h"
#include "common/ui/windowowner.h"
#include "modules/montecarlo/ui/mcunit.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <thread>

namespace tarvik::montecarlo::ui {

// --- TMCSpinEdit ----------------------------------------------------------------

TMCSpinEdit::TMCSpinEdit(const SpinLimits& limits, QWidget* parent)
    : TBoundedSpin(limits.min, limits.max, limits.initial, parent), limits_(limits) {
    setToolTip(QString::fromUtf8(limits.hint));
    setKeyboardTracking(false);
    ColourOnFocus(this);
}

// --- focus colouring --------------------------------------------------------------

namespace {

class FocusColourFilter : public QObject {
public:
    FocusColourFilter(QWidget* field, QColor colour) : QObject(field), colour_(colour) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w) return false;
        if (event->type() == QEvent::FocusIn) Paint(w, colour_);
        if (event->type() == QEvent::FocusOut) Paint(w, Qt::white);
        return false;
    }
    static void Paint(QWidget* w, QColor c) {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Base, c);
        w->setPalette(pal);
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) {
            // The line edit inside the spin box paints the text area.
            if (auto* edit = spin->findChild<QLineEdit*>()) edit->setPalette(pal);
        }
    }

    void setColour(QColor c) { colour_ = c; }

private:
    QColor colour_;
};

} // namespace

void ColourOnFocus(QWidget* field, QColor colour) {
    FocusColourFilter::Paint(field, Qt::white);
    // A field has one focus colour: a later call replaces the earlier one.
    for (QObject* child : field->children())
        if (auto* old = dynamic_cast<FocusColourFilter*>(child)) {
            old->setColour(colour);
            return;
        }
    field->installEventFilter(new FocusColourFilter(field, colour));
}

QToolButton* ExplanationButton(QWidget* parent, int helpContext) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QStringLiteral("HelpBtn"));
    b->setText(QStringLiteral("?"));
    b->setToolTip(QStringLiteral("Explanantion"));
    QObject::connect(b, &QToolButton::clicked, parent,
                     [parent, helpContext] { tarvik::ui::ShowHelp(helpContext, parent); });
    return b;
}

QToolButton* SaveGraphButton(QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QStringLiteral("SaveBtn"));
    b->setIcon(parent->style()->standardIcon(QStyle::SP_DialogSaveButton));
    b->setToolTip(QStringLiteral("Save graph to file"));
    return b;
}

// --- TMCPictureBox --------------------------------------------------------------

TMCPictureBox::TMCPictureBox(const QImage* picture, QWidget* parent) : QWidget(parent), picture_(picture) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    tarvik::ui::MarkAsPicture(this);
}

QSize TMCPictureBox::sizeHint() const {
    return picture_->size();
}

void TMCPictureBox::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(event->rect(), palette().window());
    p.drawImage(event->rect().topLeft(), *picture_, event->rect());
}

QLabel* PlaceLabel(QWidget* parent, const QString& text, int x, int y) {
    auto* l = new QLabel(text, parent);
    l->move(x, y);
    l->adjustSize();
    return l;
}

QLineEdit* PlaceField(QWidget* parent, const char* name, int x, int y, int w) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setGeometry(x, y, w, 24);
    ColourOnFocus(e);
    return e;
}

QPushButton* PlaceButton(QWidget* parent, const QString& text, const char* name, int x, int y, int w, int h) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(x, y, w, h);
    return b;
}

// --- TMCWindow ----------------------------------------------------------------------

TMCWindow::TMCWindow(TMC* module, const QString& caption, bool frameless) : QWidget(module), module_(module) {
    if (frameless) {
        setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint);
        tarvik::ui::PlaceInClientArea(this);
    } else
        tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(caption);
    setAutoFillBackground(true);
    auto* f1 = new QAction(this);
    f1->setShortcut(QKeySequence(Qt::Key_F1));
    f1->setShortcutContext(Qt::WindowShortcut);
    addAction(f1);
    connect(f1, &QAction::triggered, this, [this] { tarvik::ui::ShowHelp(helpContext, this); });
}

// --- TMCGraphWindow ------------------------------------------------------------------

TMCGraphWindow::TMCGraphWindow(TMC* module, const QString& caption, int w, int h, bool withData)
    : TMCWindow(module, caption), Picture(NewPicture(w, h)) {
    setFixedSize(w, h + 44);
    Graph = new TMCPictureBox(&Picture, this);
    Graph->setGeometry(0, 0, w, h);
    AgainBtn = PlaceButton(this, QStringLiteral("Again"), "AgainBtn", 16, h + 8);
    TerugBtn = PlaceButton(this, QStringLiteral("Previous"), "TerugBtn", 100, h + 8);
    if (withData) DataBtn = PlaceButton(this, QStringLiteral("Data"), "DataBtn", 184, h + 8);
    SaveBtn = SaveGraphButton(this);
    SaveBtn->setGeometry(withData ? 268 : 184, h + 6, 30, 28);
    connect(AgainBtn, &QPushButton::clicked, this, [this] { AgainBtnClick(); });
    connect(TerugBtn, &QPushButton::clicked, this, [this] { TerugBtnClick(); });
    if (DataBtn) connect(DataBtn, &QPushButton::clicked, this, [this] { DataBtnClick(); });
    connect(SaveBtn, &QToolButton::clicked, this, [this] { SaveBtnClick(); });
    onFrameClose = [this] { TerugBtnClick(); };
}

// --- TMCSimulateWindow ---------------------------------------------------------------

TMCSimulateWindow::TMCSimulateWindow(TMC* module, const QString& caption, QWidget* graph)
    : TMCWindow(module, caption), GraphWindow(graph) {}

void TMCSimulateWindow::PlaceRunButtons(int y) {
    SimulateBtn = PlaceButton(this, QStringLiteral("Simulate"), "SimulateBtn", 16, y);
    TerugBtn = PlaceButton(this, QStringLiteral("Previous"), "TerugBtn", 110, y);
    connect(SimulateBtn, &QPushButton::clicked, this, &TMCSimulateWindow::SimulateBtnClick);
    connect(TerugBtn, &QPushButton::clicked, this, [this] { TerugBtnClick(); });
}

void TMCSimulateWindow::SimulateBtnClick() {
    if (running()) return;
    CommitFields();
    Pending = true;
    QTimer::singleShot(0, this, [this] { Execute(); });
}

void TMCSimulateWindow::TerugBtnClick() {
    if (running()) {
        StopFlag = true;
        return;
    }
    hide();
    GraphWindow->hide();
    module()->ShowChooser();
}

bool TMCSimulateWindow::BeginRun() {
    Pending = false;
    if (Running || module()->ModuleClosing()) return false;
    Running = true;
    StopFlag = false;
    TerugBtn->setText(QStringLiteral("Stop"));
    SimulateBtn->setEnabled(false);
    return true;
}

void TMCSimulateWindow::ShowIdle() {
    SimulateBtn->setEnabled(true);
    TerugBtn->setText(QStringLiteral("Previous"));
}

void TMCSimulateWindow::EndRun() {
    Running = false;
    ShowIdle();
}

// --- MCPacing -----------------------------------------------------------------------

MCPacing::MCPacing(QObject* window, std::function<void(int)> drawUpTo, std::function<void()> ended)
    : timer_(new QTimer(window)), draw_(std::move(drawUpTo)), ended_(std::move(ended)) {
    timer_->setInterval(16);
    QObject::connect(timer_, &QTimer::timeout, window, [this] { tick(); });
}

void MCPacing::start(int steps, double pauseMs) {
    steps_ = steps;
    pauseMs_ = pauseMs;
    drawn_ = 0;
    drawing_ = true;
    clock_.start();
    timer_->start();
}

void MCPacing::tick() {
    if (!drawing_) return;
    drawUpTo(std::min(steps_, static_cast<int>(clock_.elapsed() / pauseMs_)));
    if (drawn_ >= steps_) end();
}

void MCPacing::finish() {
    if (!drawing_) return;
    drawUpTo(steps_);
    end();
}

void MCPacing::drawUpTo(int step) {
    draw_(step);
    drawn_ = std::max(drawn_, step);
}

void MCPacing::end() {
    timer_->stop();
    drawing_ = false;
    ended_();
}

void ShowAgain(QWidget* window, bool activate) {
    if (!window) return;
    window->show();
    window->raise();
    if (activate) window->activateWindow();
}

void TMCWindow::OpenBeside(QWidget* graph, bool showGraph) {
    const QPoint at = module_->SideBySide(width(), graph->width());
    move(at);
    graph->move(at.x() + width() + 15, at.y());
    show();
    if (showGraph) graph->show();
    raise();
    activateWindow();
}

void TMCWindow::closeEvent(QCloseEvent* event) {
    if (!module_ || module_->ModuleClosing()) {
        event->accept();
        return;
    }
    event->ignore();
    if (onFrameClose) onFrameClose();
}

// --- MCRunProgress ---------------------------------------------------------------

MCRunProgress::MCRunProgress(TMC* module, const bool* stop, std::function<void()> refresh)
    : module_(module), stop_(stop), refresh_(std::move(refresh)), live_([this] { refresh_(); }),
      last_(std::chrono::steady_clock::now()) {}

void MCRunProgress::yield() {
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(HandOverIntervalMs)) return;
    handOver();
}

void MCRunProgress::handOver() {
    if (stopRequested()) return;
    // The live picture repaints at most about sixty times a second.
    if (refresh_) live_.request();
    QCoreApplication::processEvents();
    last_ = std::chrono::steady_clock::now();
}

bool MCRunProgress::stopRequested() const {
    return !module_ || module_->ModuleClosing() || (stop_ && *stop_);
}

void MCRunProgress::pause(int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    handOver();
    while (!stopRequested() && std::chrono::steady_clock::now() < until) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    last_ = std::chrono::steady_clock::now();
}

} // namespace tarvik::montecarlo::ui
