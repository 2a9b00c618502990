#pragma once
#include <QImage>
#include <QWidget>

namespace tarvik::shell {

// The welcome window: the photograph stretched over the client area with the
// product name and three notice lines painted over it.
class TInfoForm : public QWidget {
    Q_OBJECT
public:
    explicit TInfoForm(QWidget* parent = nullptr);
    ~TInfoForm() override;

    // Live welcome windows, for checking that there is never more than one.
    static int InstanceCount();
    const QImage& picture() const { return picture_; }
    // Paints the window as it appears at the given client size.
    void paintOn(QPainter& painter, const QSize& client) const;

signals:
    void painted();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

} // namespace tarvik::shell
