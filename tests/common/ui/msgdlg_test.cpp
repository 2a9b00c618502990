#include "common/ui/msgdlg.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace tarvik::ui;

std::unique_ptr<TMessageForm> Dialog(const QString& text, MsgKind kind, MsgButtons buttons,
                                     bool standard = false) {
    return CreateMessageDialog({text, kind, buttons, 0, standard});
}

TEST(MessageDialog, LongTextWrapsAtHalfTheScreenWidth) {
    const int half = QGuiApplication::primaryScreen()->geometry().width() / 2;
    QString text;
    for (int i = 0; i < 60; ++i) text += QStringLiteral("probability ");
    auto d = Dialog(text, MsgKind::Information, mbOK);
    EXPECT_LE(d->textRect().width(), half);
    EXPECT_GT(d->textRect().height(), 2 * QFontMetrics(d->font()).height());
    // The text stands right of the icon, the icon at the margins.
    EXPECT_GT(d->textRect().left(), d->iconRect().right());
    EXPECT_GE(d->width(), d->textRect().right());
}

TEST(MessageDialog, ShortWordStillFitsItsButtons) {
    auto d = Dialog(QStringLiteral("Ok"), MsgKind::Custom, mbYes | mbNo | mbCancel);
    QPushButton* yes = d->button(mbYes);
    QPushButton* cancel = d->button(mbCancel);
    ASSERT_TRUE(yes && cancel);
    EXPECT_GT(yes->geometry().left(), 0);
    EXPECT_LT(cancel->geometry().right(), d->width());
    // Centred row: equal room left and right (within a pixel of rounding).
    EXPECT_LE(std::abs(yes->geometry().left() - (d->width() - 1 - cancel->geometry().right())), 1);
    EXPECT_TRUE(d->iconRect().isNull()); // a Custom message has no icon
}

TEST(MessageDialog, CaptionsOfBothVariants) {
    auto own = Dialog(QStringLiteral("Exit Tarvik"), MsgKind::Confirmation, mbYesNo | mbOK);
    EXPECT_EQ(own->windowTitle(), QStringLiteral("Confimation"));
    EXPECT_EQ(own->button(mbYes)->text(), QStringLiteral("&Yes"));
    EXPECT_EQ(own->button(mbOK)->text(), QStringLiteral("&Ok"));
    auto standard = Dialog(QStringLiteral("x"), MsgKind::Confirmation, mbOK | mbCancel, true);
    EXPECT_EQ(standard->windowTitle(), QStringLiteral("Confirm"));
    EXPECT_EQ(standard->button(mbOK)->text(), QStringLiteral("OK"));
    EXPECT_EQ(standard->button(mbCancel)->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(Dialog(QStringLiteral("x"), MsgKind::Error, mbOK)->windowTitle(), QStringLiteral("Error"));
    EXPECT_EQ(Dialog(QStringLiteral("x"), MsgKind::Custom, mbOK)->windowTitle(),
              QStringLiteral("Tarvik voor Windows"));
}

int Answer(MsgButtons buttons, const std::function<void(TMessageForm&)>& act) {
    auto d = Dialog(QStringLiteral("Question?"), MsgKind::Confirmation, buttons);
    d->show();
    QTest::qWait(1);
    act(*d);
    return d->result();
}

TEST(MessageDialog, EnterEscapeAndFrameGiveTheirCodes) {
    auto enter = [](TMessageForm& d) { QTest::keyClick(&d, Qt::Key_Return); };
    auto escape = [](TMessageForm& d) { QTest::keyClick(&d, Qt::Key_Escape); };
    auto frame = [](TMessageForm& d) { d.close(); };
    EXPECT_EQ(Answer(mbYesNo, enter), mrYes);
    EXPECT_EQ(Answer(mbYesNo, escape), mrNo);
    EXPECT_EQ(Answer(mbYesNo, frame), mrCancel);
    EXPECT_EQ(Answer(mbOKCancel, enter), mrOk);
    EXPECT_EQ(Answer(mbOKCancel, escape), mrCancel);
    EXPECT_EQ(Answer(mbOK, escape), mrOk);
    EXPECT_EQ(Answer(mbYesNoCancel, escape), mrCancel);
    auto clickRetry = [](TMessageForm& d) { QTest::mouseClick(d.button(mbRetry), Qt::LeftButton); };
    EXPECT_EQ(Answer(mbAbort | mbRetry | mbIgnore, clickRetry), mrRetry);
}

TEST(MessageDialog, ButtonsStandInBitOrder) {
    auto d = Dialog(QStringLiteral("x"), MsgKind::Warning, mbAll | mbIgnore | mbCancel | mbYes);
    EXPECT_LT(d->button(mbYes)->x(), d->button(mbCancel)->x());
    EXPECT_LT(d->button(mbCancel)->x(), d->button(mbIgnore)->x());
    EXPECT_LT(d->button(mbIgnore)->x(), d->button(mbAll)->x());
    EXPECT_EQ(d->button(mbNo), nullptr);
}

} // namespace
