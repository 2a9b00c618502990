#include "modules/ip/ui/mipprogress.h"

#include "common/ui/help.h"

#include "modules/ip/mipsolver.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvik::ui {
namespace {

QLabel* AddValue(QGridLayout* grid, int row, const QString& caption, const QString& name,
                 const QString& start) {
    grid->addWidget(new QLabel(caption), row, 0);
    auto* value = new QLabel(start);
    value->setObjectName(name);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setMinimumWidth(110);
    grid->addWidget(value, row, 1);
    return value;
}

} // namespace

TMIPProgressDialog::TMIPProgressDialog(QWidget* parent) : TRunDialog(parent) {
    tarvik::ui::SetHelpContext(this, 10);
    setObjectName(QStringLiteral("MIPProgressDialog"));
    setWindowTitle(QStringLiteral("Integer programming"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

    auto* parse = new QGroupBox(QStringLiteral("Parse input"));
    auto* parseGrid = new QGridLayout(parse);
    const QString zero = QStringLiteral("0");
    lineCount_ = AddValue(parseGrid, 0, QStringLiteral("Line"), QStringLiteral("LineCount"), zero);
    variablesCount_ =
        AddValue(parseGrid, 1, QStringLiteral("Variables"), QStringLiteral("VariablesCount"), zero);
    conditionsCount_ =
        AddValue(parseGrid, 2, QStringLiteral("Conditions"), QStringLiteral("ConditionsCount"), zero);

    auto* search = new QGroupBox(QStringLiteral("Branch-and-bound"));
    auto* searchGrid = new QGridLayout(search);
    const QString minus = QString::fromStdString(tarvik::ip::BoundText(-tarvik::ip::kInfinity));
    const QString plus = QString::fromStdString(tarvik::ip::BoundText(tarvik::ip::kInfinity));
    lowerBound_ = AddValue(searchGrid, 0, QStringLiteral("Lower bound"), QStringLiteral("LowerBound"), minus);
    upperBound_ = AddValue(searchGrid, 1, QStringLiteral("Upper bound"), QStringLiteral("UpperBound"), plus);
    iterationCount_ =
        AddValue(searchGrid, 2, QStringLiteral("Iteration"), QStringLiteral("IterationCount"), zero);
    // The bounds are right-aligned texts of fixed width: show them in a fixed-pitch font.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    lowerBound_->setFont(fixed);
    upperBound_->setFont(fixed);

    errorLine_ = new QLabel;
    errorLine_->setObjectName(QStringLiteral("ErrorLine"));
    errorLine_->setWordWrap(true);
    errorLine_->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    errorLine_->setFixedWidth(300);
    errorLine_->setMinimumHeight(3 * errorLine_->fontMetrics().height());
    errorLine_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // While the search runs the button stops it; afterwards it is "OK".
    okButton_ = new QPushButton(QStringLiteral("Stop"));
    okButton_->setObjectName(QStringLiteral("OKBtn"));
    connect(okButton_, &QPushButton::clicked, this, &TMIPProgressDialog::OKBtnClick);
    connect(this, &QDialog::finished, this, [this] { stop_ = true; });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(parse);
    layout->addWidget(search);
    layout->addWidget(errorLine_);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

void TMIPProgressDialog::OKBtnClick() {
    if (finished_) {
        accept();
        return;
    }
    stop_ = true;
    okButton_->setEnabled(false);
}

void TMIPProgressDialog::showValue(QLabel* label, const QString& text) {
    if (label->text() == text) return;
    label->setText(text);
    // Paint now: the search hands control to the event loop only now and then.
    label->repaint();
}

void TMIPProgressDialog::setLine(long value) {
    showValue(lineCount_, QString::number(value));
}
void TMIPProgressDialog::setVariables(long value) {
    showValue(variablesCount_, QString::number(value));
}
void TMIPProgressDialog::setConditions(long value) {
    showValue(conditionsCount_, QString::number(value));
}
void TMIPProgressDialog::setIteration(long value) {
    showValue(iterationCount_, QString::number(value));
}
void TMIPProgressDialog::setLowerBound(const QString& text) {
    showValue(lowerBound_, text);
}
void TMIPProgressDialog::setUpperBound(const QString& text) {
    showValue(upperBound_, text);
}

void TMIPProgressDialog::setErrorLine(const QString& text) {
    errorLine_->setText(text);
    errorLine_->repaint();
}

void TMIPProgressDialog::enableOK() {
    finished_ = true;
    okButton_->setText(QStringLiteral("OK"));
    okButton_->setEnabled(true);
    okButton_->setDefault(true);
    okButton_->setFocus();
}

} // namespace tarvik::ui
