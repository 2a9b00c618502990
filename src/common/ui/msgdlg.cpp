#include "common/ui/msgdlg.h"

#include "common/ui/help.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace tarvik::ui {
namespace {

struct ButtonInfo {
    MsgButton bit;
    const char* caption;
    const char* standardCaption;
    int result; // 0: Help
};

const ButtonInfo kButtons[] = {
    {mbYes, "&Yes", "&Yes", mrYes},
    {mbNo, "&No", "&No", mrNo},
    {mbOK, "&Ok", "OK", mrOk},
    {mbCancel, "&Cancel", "Cancel", mrCancel},
    {mbAbort, "&Abort", "&Abort", mrAbort},
    {mbRetry, "&Retry", "&Retry", mrRetry},
    {mbIgnore, "&Ignore", "&Ignore", mrIgnore},
    {mbAll, "&All", "&All", mrAll},
    {mbHelp, "&Help", "&Help", mrNone},
};

QString Title(MsgKind kind, bool standard) {
    switch (kind) {
    case MsgKind::Warning:
        return QStringLiteral("Warning");
    case MsgKind::Error:
        return QStringLiteral("Error");
    case MsgKind::Information:
        return QStringLiteral("Information");
    case MsgKind::Confirmation:
        return standard ? QStringLiteral("Confirm") : QStringLiteral("Confimation");
    case MsgKind::Custom:
        return ApplicationTitle();
    }
    return {};
}

QStyle::StandardPixmap IconOf(MsgKind kind) {
    switch (kind) {
    case MsgKind::Warning:
        return QStyle::SP_MessageBoxWarning;
    case MsgKind::Error:
        return QStyle::SP_MessageBoxCritical;
    case MsgKind::Information:
        return QStyle::SP_MessageBoxInformation;
    default:
        return QStyle::SP_MessageBoxQuestion;
    }
}

// "\r" and "\r\n" are line breaks in message texts.
QString Lines(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

int MulDiv(int a, int b, int c) {
    return static_cast<int>((static_cast<long long>(a) * b + c / 2) / c);
}

} // namespace

QString ApplicationTitle() {
    return QStringLiteral("Tarvik voor Windows");
}

QSize TMessageForm::DialogUnits(const QFont& font) {
    QFontMetrics fm(font);
    const int width =
        fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return QSize(width / 52, fm.height());
}

TMessageForm::TMessageForm(const MessageRequest& request, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      text_(Lines(request.text)), helpContext_(request.helpContext) {
    setObjectName(QStringLiteral("TMessageForm"));
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSize(8);
    setFont(f);
    setWindowTitle(request.caption.isEmpty() ? Title(request.kind, request.standardCaptions)
                                             : request.caption);

    const QSize du = DialogUnits(f);
    const int hMargin = MulDiv(8, du.width(), 4);
    const int vMargin = MulDiv(6, du.height(), 8);
    const int hSpacing = MulDiv(8, du.width(), 4);
    const int vSpacing = MulDiv(8, du.height(), 8);
    const int buttonWidth = MulDiv(55, du.width(), 4);
    const int buttonHeight = MulDiv(16, du.height(), 8);
    const int buttonSpacing = MulDiv(8, du.width(), 4);

    int screenWidth = 1024;
    if (QScreen* s = QGuiApplication::primaryScreen()) screenWidth = s->geometry().width();
    QFontMetrics fm(f);
    QRect r = fm.boundingRect(QRect(0, 0, screenWidth / 2, 0), Qt::TextWordWrap | Qt::TextExpandTabs, text_);
    int textWidth = r.width();
    int textHeight = r.height();

    const bool hasIcon = request.kind != MsgKind::Custom;
    int clientWidth;
    if (hasIcon) {
        clientWidth = textWidth + 32 + hSpacing + 2 * hMargin;
        textHeight = std::max(textHeight, 32);
        icon_ = style()->standardIcon(IconOf(request.kind)).pixmap(32, 32);
        iconRect_ = QRect(hMargin, vMargin, 32, 32);
    } else {
        clientWidth = textWidth + 3 * hMargin;
    }
    const int clientHeight = textHeight + buttonHeight + vSpacing + 2 * vMargin;
    textRect_ = QRect(hMargin + (hasIcon ? 32 + hSpacing : 0), vMargin, textWidth, textHeight);

    int count = 0;
    for (const ButtonInfo& b : kButtons)
        if (request.buttons & b.bit) ++count;
    const int total = count * buttonWidth + std::max(0, count - 1) * buttonSpacing;
    if (clientWidth - 2 * hMargin < total) clientWidth = total + 2 * hMargin;

    // Enter answers OK, else Yes; Escape answers Cancel, else No, else OK.
    const MsgButton defaultBit = (request.buttons & mbOK) ? mbOK : mbYes;
    const MsgButton cancelBit = (request.buttons & mbCancel) ? mbCancel
                                : (request.buttons & mbNo)   ? mbNo
                                                             : mbOK;

    int x = (clientWidth - total) / 2;
    const int y = vMargin + textHeight + vSpacing;
    for (const ButtonInfo& b : kButtons) {
        if (!(request.buttons & b.bit)) continue;
        auto* button = new QPushButton(request.standardCaptions ? QString::fromLatin1(b.standardCaption)
                                                                : QString::fromLatin1(b.caption),
                                       this);
        button->setObjectName(QString::fromLatin1(b.caption).remove(QLatin1Char('&')) +
                              QStringLiteral("Button"));
        button->setGeometry(x, y, buttonWidth, buttonHeight);
        button->setAutoDefault(false);
        x += buttonWidth + buttonSpacing;
        const int result = b.result;
        if (b.bit == mbHelp) {
            connect(button, &QPushButton::clicked, this, [this] { ShowHelp(helpContext_, this); });
        } else {
            connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
        }
        if (b.bit == defaultBit) {
            button->setDefault(true);
            button->setFocus();
        }
        if (b.bit == cancelBit) cancelButton_ = button;
        buttons_.append({b.bit, button});
    }
    setFixedSize(clientWidth, clientHeight);
    // Centred on the screen.
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect g = s->geometry();
        move(g.x() + (g.width() - clientWidth) / 2, g.y() + (g.height() - clientHeight) / 2);
    }
}

QPushButton* TMessageForm::button(MsgButton which) const {
    for (const auto& [bit, b] : buttons_)
        if (bit == which) return b;
    return nullptr;
}

void TMessageForm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!icon_.isNull()) p.drawPixmap(iconRect_.topLeft(), icon_);
    p.setFont(font());
    p.drawText(textRect_, Qt::TextWordWrap | Qt::TextExpandTabs, text_);
}

void TMessageForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (cancelButton_) cancelButton_->click();
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        // Enter presses the button with the focus, else the default one.
        if (auto* b = qobject_cast<QPushButton*>(focusWidget())) {
            b->click();
            event->accept();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

// Closing through the window frame answers Cancel (2), whatever the buttons.
void TMessageForm::reject() {
    done(mrCancel);
}

std::unique_ptr<TMessageForm> CreateMessageDialog(const MessageRequest& request) {
    return std::make_unique<TMessageForm>(request);
}

} // namespace tarvik::ui
