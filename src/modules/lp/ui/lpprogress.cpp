#include "modules/lp/ui/lpprogress.h"

#include "common/ui/help.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvik::ui {
namespace {

QLabel* AddCount(QGridLayout* grid, int row, const QString& caption, const QString& name) {
    grid->addWidget(new QLabel(caption), row, 0);
    auto* count = new QLabel(QStringLiteral("0"));
    count->setObjectName(name);
    count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    count->setMinimumWidth(80);
    grid->addWidget(count, row, 1);
    return count;
}

} // namespace

TProgressDialog::TProgressDialog(QWidget* parent) : TRunDialog(parent) {
    tarvik::ui::SetHelpContext(this, 9);
    setObjectName(QStringLiteral("ProgressDialog"));
    setWindowTitle(QStringLiteral("Progress dialog"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

    auto* parse = new QGroupBox(QStringLiteral("Parse input"));
    auto* parseGrid = new QGridLayout(parse);
    lineCount_ = AddCount(parseGrid, 0, QStringLiteral("Line"), QStringLiteral("LineCount"));
    variablesCount_ = AddCount(parseGrid, 1, QStringLiteral("Variables"), QStringLiteral("VariablesCount"));
    conditionsCount_ =
        AddCount(parseGrid, 2, QStringLiteral("Conditions"), QStringLiteral("ConditionsCount"));

    auto* simplex = new QGroupBox(QStringLiteral("Simplex"));
    auto* simplexGrid = new QGridLayout(simplex);
    phaseCount_ = AddCount(simplexGrid, 0, QStringLiteral("Phase"), QStringLiteral("PhaseCount"));
    iterationCount_ = AddCount(simplexGrid, 1, QStringLiteral("Iteration"), QStringLiteral("IterationCount"));

    errorLine_ = new QLabel;
    errorLine_->setObjectName(QStringLiteral("ErrorLine"));
    errorLine_->setWordWrap(true);
    errorLine_->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    errorLine_->setFixedWidth(300);
    errorLine_->setMinimumHeight(3 * errorLine_->fontMetrics().height());
    errorLine_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    okButton_ = new QPushButton(QStringLiteral("OK"));
    okButton_->setObjectName(QStringLiteral("OKBtn"));
    okButton_->setEnabled(false);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(parse);
    layout->addWidget(simplex);
    layout->addWidget(errorLine_);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

void TProgressDialog::showCount(QLabel* label, long value) {
    const QString text = QString::number(value);
    if (label->text() == text) return;
    label->setText(text);
    // The run handles no events while it computes: paint now.
    label->repaint();
}

void TProgressDialog::setLine(long value) {
    showCount(lineCount_, value);
}
void TProgressDialog::setVariables(long value) {
    showCount(variablesCount_, value);
}
void TProgressDialog::setConditions(long value) {
    showCount(conditionsCount_, value);
}
void TProgressDialog::setPhase(long value) {
    showCount(phaseCount_, value);
}
void TProgressDialog::setIteration(long value) {
    showCount(iterationCount_, value);
}

void TProgressDialog::setErrorLine(const QString& text) {
    errorLine_->setText(text);
    errorLine_->repaint();
}

void TProgressDialog::enableOK() {
    okButton_->setEnabled(true);
    okButton_->setDefault(true);
    okButton_->setFocus();
}

} // namespace tarvik::ui
