#pragma once
// A widget that shows an off-screen picture at its natural size.
#include <QImage>
#include <QWidget>

namespace tarvik::ui {

// Paints `picture` (which outlives the box) as it stands, only where asked.
class TPictureBox : public QWidget {
    Q_OBJECT
public:
    TPictureBox(const QImage* picture, QWidget* parent);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage* picture_;
};

} // namespace tarvik::ui
