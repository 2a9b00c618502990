#include "modules/lp/ui/lpprogress.h"

#include "common/ui/help.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace tarvik::ui {

TProgressDialog::TProgressDialog(QWidget* parent) : TRunDialog(parent, 80) {
    tarvik::ui::SetHelpContext(this, 9);
    setObjectName(QStringLiteral("ProgressDialog"));
    setWindowTitle(QStringLiteral("Progress dialog"));

    auto* simplex = new QGroupBox(QStringLiteral("Simplex"));
    auto* simplexGrid = new QGridLayout(simplex);
    phaseCount_ = addValue(simplexGrid, 0, QStringLiteral("Phase"), QStringLiteral("PhaseCount"));
    iterationCount_ = addValue(simplexGrid, 1, QStringLiteral("Iteration"), QStringLiteral("IterationCount"));

    okButton()->setEnabled(false);
    connect(okButton(), &QPushButton::clicked, this, &QDialog::accept);
    layOut(simplex);
}

void TProgressDialog::setPhase(long value) {
    showValue(phaseCount_, QString::number(value));
}
void TProgressDialog::setIteration(long value) {
    showValue(iterationCount_, QString::number(value));
}

void TProgressDialog::enableOK() {
    focusButton();
}

} // namespace tarvik::ui
