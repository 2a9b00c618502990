#include "modules/shortestpath/ui/kpadnetwerkunit.h"

#include "common/ui/accessibility.h"
#include "common/ui/help.h"
#include "common/ui/keyboardpointer.h"
#include "common/ui/modulewindow.h"
#include "modules/shortestpath/geometry.h"
#include "modules/shortestpath/ui/kpadunit.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace tarvik::shortestpath::ui {

TKPadNetwerk::TKPadNetwerk(TKPad* owner) : QWidget(owner), owner_(owner), Picture(NewNetworkImage()) {
    tarvik::ui::SetHelpContext(this, 11);
    setObjectName(QStringLiteral("KPadNetwerk"));
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Network"));
    setFixedSize(kNetworkWidth, kNetworkHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    tarvik::ui::DescribePicture(this, DescribeNetwork({}));
    new tarvik::ui::KeyboardPointer(this, QStringLiteral("Network")); // Enter presses as a click does
}

void TKPadNetwerk::Redraw(const NetworkPicture& picture) {
    DrawNetwork(Picture, picture);
    tarvik::ui::DescribePicture(this, DescribeNetwork(picture));
    update();
}

void TKPadNetwerk::Beep() {
    ++beeps_;
    QApplication::beep();
}

void TKPadNetwerk::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.drawImage(event->rect().topLeft(), Picture, event->rect());
}

void TKPadNetwerk::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (!owner_->isClosing()) owner_->NetwerkMouseDown(event->position().toPoint());
}

} // namespace tarvik::shortestpath::ui
