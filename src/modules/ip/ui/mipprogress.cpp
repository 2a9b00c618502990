#include "modules/ip/ui/mipprogress.h"

#include "common/ui/help.h"
#include "modules/ip/mipsolver.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace tarvik::ui {

TMIPProgressDialog::TMIPProgressDialog(QWidget* parent) : TRunDialog(parent, 110) {
    tarvik::ui::SetHelpContext(this, 10);
    setObjectName(QStringLiteral("MIPProgressDialog"));
    setWindowTitle(QStringLiteral("Integer programming"));

    auto* search = new QGroupBox(QStringLiteral("Branch-and-bound"));
    auto* searchGrid = new QGridLayout(search);
    const QString minus = QString::fromStdString(tarvik::ip::BoundText(-tarvik::ip::kInfinity));
    const QString plus = QString::fromStdString(tarvik::ip::BoundText(tarvik::ip::kInfinity));
    lowerBound_ = addValue(searchGrid, 0, QStringLiteral("Lower bound"), QStringLiteral("LowerBound"), minus);
    upperBound_ = addValue(searchGrid, 1, QStringLiteral("Upper bound"), QStringLiteral("UpperBound"), plus);
    iterationCount_ = addValue(searchGrid, 2, QStringLiteral("Iteration"), QStringLiteral("IterationCount"));
    // The bounds are right-aligned texts of fixed width: show them in a fixed-pitch font.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    lowerBound_->setFont(fixed);
    upperBound_->setFont(fixed);
    searchTree_ = new QPushButton(QStringLiteral("Search tree"));
    searchTree_->setObjectName(QStringLiteral("SearchTreeBtn"));
    searchTree_->setAutoDefault(false);
    searchGrid->addWidget(searchTree_, 3, 0, 1, 2, Qt::AlignRight);
    connect(searchTree_, &QPushButton::clicked, this, &TMIPProgressDialog::searchTreeRequested);

    // While the search runs the button stops it; afterwards it is "OK".
    okButton()->setText(QStringLiteral("Stop"));
    connect(okButton(), &QPushButton::clicked, this, &TMIPProgressDialog::OKBtnClick);
    connect(this, &QDialog::finished, this, [this] { stop_ = true; });
    layOut(search);
}

void TMIPProgressDialog::OKBtnClick() {
    if (finished_) {
        accept();
        return;
    }
    stop_ = true;
    okButton()->setEnabled(false);
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

void TMIPProgressDialog::enableOK() {
    finished_ = true;
    okButton()->setText(QStringLiteral("OK"));
    focusButton();
}

} // namespace tarvik::ui
