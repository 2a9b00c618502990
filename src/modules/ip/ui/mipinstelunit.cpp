#include "modules/ip/ui/mipinstelunit.h"

#include "common/ui/help.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvik::ui {

TMIPInstellingen::TMIPInstellingen(QWidget* parent) : QDialog(parent) {
    tarvik::ui::SetHelpContext(this, 10);
    setObjectName(QStringLiteral("MIPInstellingen"));
    setWindowTitle(QStringLiteral("Settings"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

    auto* group = new QGroupBox(QStringLiteral("Branch-and-bound"));
    auto* groupLayout = new QVBoxLayout(group);
    faster_ = new QCheckBox(QString::fromStdString(tarvik::ip::kFasterSearchText));
    faster_->setObjectName(QStringLiteral("FasterSearch"));
    auto* note = new QLabel(QStringLiteral("Off: the search of the course, step by step.\n"
                                           "On: the same optimum, usually with fewer nodes."));
    groupLayout->addWidget(faster_);
    groupLayout->addWidget(note);

    okButton_ = new QPushButton(QStringLiteral("OK"));
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"));
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

tarvik::ip::SearchOptions TMIPInstellingen::search() const {
    return faster_->isChecked() ? tarvik::ip::kFasterSearch : tarvik::ip::kDefaultSearch;
}

void TMIPInstellingen::setSearch(const tarvik::ip::SearchOptions& search) {
    faster_->setChecked(search.faster());
}

int TMIPInstellingen::exec() {
    const tarvik::ip::SearchOptions before = search();
    const int result = QDialog::exec();
    if (result != QDialog::Accepted) setSearch(before);
    return result;
}

} // namespace tarvik::ui
