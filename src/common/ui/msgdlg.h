#pragma once
// The message dialog itself, for the dialog service and for tests that look at
// its layout or press its keys.
#include "common/ui/dialogservice.h"

#include <QDialog>
#include <memory>

class QPushButton;

namespace tarvik::ui {

class TMessageForm : public QDialog {
    Q_OBJECT
public:
    explicit TMessageForm(const MessageRequest& request, QWidget* parent = nullptr);

    QPushButton* button(MsgButton which) const;
    QString text() const { return text_; } // with "\n" line breaks
    QRect textRect() const { return textRect_; }
    QRect iconRect() const { return iconRect_; }
    int helpContext() const { return helpContext_; }

    // Dialog units measured with the dialog font.
    static QSize DialogUnits(const QFont& font);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    QString text_;
    QRect textRect_;
    QRect iconRect_;
    QPixmap icon_;
    int helpContext_ = 0;
    QPushButton* cancelButton_ = nullptr;
    QList<QPair<MsgButton, QPushButton*>> buttons_;
};

std::unique_ptr<TMessageForm> CreateMessageDialog(const MessageRequest& request);

// The title of the application, shown on Custom messages.
QString ApplicationTitle();

} // namespace tarvik::ui
