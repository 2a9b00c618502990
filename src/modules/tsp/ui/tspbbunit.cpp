#include "modules/tsp/ui/tspbbunit.h"

#include "common/ui/help.h"

#include "common/numparse.h"
#include "common/ui/dialogservice.h"
#include "common/ui/modulewindow.h"
#include "modules/tsp/ui/tspdialoogunit.h"
#include "modules/tsp/ui/tspunit.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace tarvik::tsp::ui {

TTSPBBDlg::TTSPBBDlg(TTSP* owner) : QDialog(owner), owner_(owner) {
    tarvik::ui::SetHelpContext(this, 3);
    setObjectName(QStringLiteral("TSPBBDlg"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint |
                   Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("Branch & Bound"));
    setWindowModality(Qt::ApplicationModal);
    auto* main = new QVBoxLayout(this);
    main->addWidget(new QLabel(QStringLiteral("Give an upperlimit"), this));
    BovengrensEdit = new QLineEdit(this);
    BovengrensEdit->setObjectName(QStringLiteral("BovengrensEdit"));
    main->addWidget(BovengrensEdit);
    main->addLayout(OkPreviousRow(this, OKBtn, TerugBtn));
    connect(OKBtn, &QPushButton::clicked, this, &TTSPBBDlg::OKBtnClick);
    connect(TerugBtn, &QPushButton::clicked, this, &TTSPBBDlg::TerugBtnClick);
}

void TTSPBBDlg::Ask() {
    BovengrensEdit->clear();
    show();
    raise();
    activateWindow();
    BovengrensEdit->setFocus();
}

void TTSPBBDlg::OKBtnClick() {
    const auto upper = TryStrToReal(BovengrensEdit->text().toStdString());
    if (!upper) {
        MsgDlg(QStringLiteral("Wrong input!"), tarvik::ui::MsgKind::Error, tarvik::ui::mbOK);
        BovengrensEdit->setFocus();
        return;
    }
    hide();
    owner_->BBDlgOK(*upper);
}

void TTSPBBDlg::TerugBtnClick() {
    hide();
    owner_->BBDlgPrevious();
}

void TTSPBBDlg::reject() {
    TerugBtnClick();
}

TTSPBB::TTSPBB(TTSP* owner) : QWidget(owner), owner_(owner) {
    tarvik::ui::SetHelpContext(this, 3);
    setObjectName(QStringLiteral("TSPBB"));
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Branch & Bound"));
    auto* main = new QVBoxLayout(this);
    ListBox = new QListWidget(this);
    ListBox->setObjectName(QStringLiteral("ListBox"));
    main->addWidget(ListBox);
    Button = new QPushButton(this);
    Button->setObjectName(QStringLiteral("Button"));
    main->addWidget(Button, 0, Qt::AlignHCenter);
    SetSearching(false);
    resize(300, 260);
    connect(Button, &QPushButton::clicked, this, &TTSPBB::ButtonClick);
}

void TTSPBB::SetSearching(bool searching) {
    searching_ = searching;
    Button->setText(searching ? QStringLiteral("Stop") : QStringLiteral("&Map"));
    Button->setIcon(style()->standardIcon(searching ? QStyle::SP_BrowserStop : QStyle::SP_DesktopIcon));
}

void TTSPBB::InsertLine(const QString& line) {
    ListBox->insertItem(0, line);
}

void TTSPBB::ButtonClick() {
    owner_->BBButtonClick();
}

void TTSPBB::closeEvent(QCloseEvent* event) {
    // Closing the window acts as its button: "Stop" during the search.
    event->ignore();
    if (!owner_->isClosing()) owner_->BBButtonClick();
}

} // namespace tarvik::tsp::ui
