#include "modules/lp/ui/solver.h"

#include "modules/lp/ui/lpprogress.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>
#include <chrono>
#include <memory>

namespace tarvik::ui {
namespace {

// Shows the run's counts in the progress dialog as they change, and lets the
// event loop run about every 10 ms, so that closing the dialog stops the run.
class DialogProgress : public tarvik::lp::LPProgress {
public:
    DialogProgress(TProgressDialog& dialog, const bool& closed) : dialog_(dialog), closed_(closed) {}
    void line(int n) override { dialog_.setLine(n); }
    void variables(int n) override { dialog_.setVariables(n); }
    void conditions(int n) override { dialog_.setConditions(n); }
    void phase(int n) override { dialog_.setPhase(n); }
    void iteration(long n) override { dialog_.setIteration(n); }
    // The output page holds the whole text: huge tableau prints are cut short.
    void output(std::string& text) override { cap_.take(text); }
    void yield() override {
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < std::chrono::milliseconds(10)) return;
        last_ = now;
        if (!closed_) QCoreApplication::processEvents();
    }
    bool stopRequested() const override { return closed_; }

private:
    TProgressDialog& dialog_;
    const bool& closed_;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
    tarvik::lp::OutputCap cap_{tarvik::lp::kMaxWindowOutputBytes};
};

void CentreOn(QWidget* dialog, QWidget* owner) {
    QRect area;
    if (owner && owner->isVisible())
        area = QRect(owner->mapToGlobal(QPoint(0, 0)), owner->size());
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid()) dialog->move(area.center() - dialog->rect().center());
}

} // namespace

TRunDialog::TRunDialog(QWidget* parent, int valueWidth) : QDialog(parent), valueWidth_(valueWidth) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

    parse_ = new QGroupBox(QStringLiteral("Parse input"));
    auto* parseGrid = new QGridLayout(parse_);
    lineCount_ = addValue(parseGrid, 0, QStringLiteral("Line"), QStringLiteral("LineCount"));
    variablesCount_ = addValue(parseGrid, 1, QStringLiteral("Variables"), QStringLiteral("VariablesCount"));
    conditionsCount_ =
        addValue(parseGrid, 2, QStringLiteral("Conditions"), QStringLiteral("ConditionsCount"));

    errorLine_ = new QLabel;
    errorLine_->setObjectName(QStringLiteral("ErrorLine"));
    errorLine_->setWordWrap(true);
    errorLine_->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    errorLine_->setFixedWidth(300);
    errorLine_->setMinimumHeight(3 * errorLine_->fontMetrics().height());
    errorLine_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    okButton_ = new QPushButton(QStringLiteral("OK"));
    okButton_->setObjectName(QStringLiteral("OKBtn"));
}

QLabel* TRunDialog::addValue(QGridLayout* grid, int row, const QString& caption, const QString& name,
                             const QString& start) const {
    grid->addWidget(new QLabel(caption), row, 0);
    auto* value = new QLabel(start);
    value->setObjectName(name);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setMinimumWidth(valueWidth_);
    grid->addWidget(value, row, 1);
    return value;
}

void TRunDialog::layOut(QGroupBox* solverGroup) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(parse_);
    layout->addWidget(solverGroup);
    layout->addWidget(errorLine_);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

void TRunDialog::showValue(QLabel* label, const QString& text) {
    if (label->text() == text) return;
    label->setText(text);
    label->repaint();
}

void TRunDialog::setLine(long value) {
    showValue(lineCount_, QString::number(value));
}
void TRunDialog::setVariables(long value) {
    showValue(variablesCount_, QString::number(value));
}
void TRunDialog::setConditions(long value) {
    showValue(conditionsCount_, QString::number(value));
}

void TRunDialog::setErrorLine(const QString& text) {
    errorLine_->setText(text);
    errorLine_->repaint();
}

void TRunDialog::focusButton() {
    okButton_->setEnabled(true);
    okButton_->setDefault(true);
    okButton_->setFocus();
}

TSolver::TSolver(QWidget* owner) : owner_(owner) {}

bool TSolver::run(const QString& modelText, const tarvik::lp::LPSettings& settings) {
    auto* dialog = new TProgressDialog(owner_);
    // The reader works on single characters: one byte per editor character.
    const std::string text = modelText.toLatin1().toStdString();
    return runWith(dialog, [&](const bool& closed) {
        DialogProgress progress(*dialog, closed);
        tarvik::lp::LPRunResult result = tarvik::lp::RunLP(text, settings, progress);
        return Outcome{.success = result.success,
                       .output = std::move(result.output),
                       .errorPosition = result.errorPosition,
                       .message = std::move(result.message),
                       .graphical = std::move(result.graphical)};
    });
}

bool TSolver::runWith(TRunDialog* run, const std::function<Outcome(const bool& closed)>& compute) {
    // The dialog keeps other windows from input until it is closed, so that the
    // model window cannot start a second run or close under this one.
    std::unique_ptr<TRunDialog> dialog(run);
    QPointer<TRunDialog> guard(dialog.get());
    dialog->setWindowModality(Qt::ApplicationModal);
    CentreOn(dialog.get(), owner_);
    bool closed = false;
    QObject::connect(dialog.get(), &QDialog::finished, [&closed] { closed = true; });
    dialog->show();
    // Let the dialog appear before the run takes over; user input waits.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    dialog->repaint();

    const Outcome result = compute(closed);

    output_ = QString::fromLatin1(result.output.data(), static_cast<qsizetype>(result.output.size()));
    output_.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    output_.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    errorPosition_ = result.success ? 0 : result.errorPosition;
    message_ = QString::fromLatin1(result.message.data(), static_cast<qsizetype>(result.message.size()));
    graphical_ = result.success ? result.graphical : nullptr;

    if (guard) {
        dialog->setErrorLine(message_);
        dialog->enableOK();
        if (!closed && dialog->isVisible()) {
            QEventLoop loop;
            QObject::connect(dialog.get(), &QDialog::finished, &loop, &QEventLoop::quit);
            QObject::connect(dialog.get(), &QObject::destroyed, &loop, &QEventLoop::quit);
            loop.exec();
        }
    }
    if (!guard) dialog.release(); // its owner went first and took it along
    return result.success;
}

} // namespace tarvik::ui
