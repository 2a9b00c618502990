#pragma once
// The "Graphical solution" page of the LP and IP windows: the picture of the
// graphical method for a model with two variables, with its own commands to
// save it (PNG, SVG, PDF) and print it.
#include "modules/lp/graphicallayout.h"

#include <QImage>
#include <QWidget>
#include <memory>

class QPushButton;

namespace tarvik::ui {

// The picture itself: paints the layout for its size.
class TGraphicalPicture : public QWidget {
    Q_OBJECT
public:
    explicit TGraphicalPicture(QWidget* parent = nullptr);
    void setSolution(std::shared_ptr<const tarvik::lp::GraphicalSolution> solution);
    const tarvik::lp::GraphicalSolution* solution() const { return solution_.get(); }
    // The layout the picture shows at its current size.
    const tarvik::lp::GraphicalLayout& layout() const;
    QSize sizeHint() const override { return {760, 540}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::shared_ptr<const tarvik::lp::GraphicalSolution> solution_;
    mutable tarvik::lp::GraphicalLayout layout_;
    mutable bool stale_ = true;
};

class TGraphicalPage : public QWidget {
    Q_OBJECT
public:
    explicit TGraphicalPage(QWidget* parent = nullptr);

    void setSolution(std::shared_ptr<const tarvik::lp::GraphicalSolution> solution, const QString& name);
    bool hasSolution() const { return picture_->solution() != nullptr; }

    // "Save picture…": PNG (the default), SVG or PDF; false when cancelled or not written.
    bool SavePictureClick();
    // "Print picture": the print dialog, then the picture as large as the page allows.
    bool PrintPictureClick();

    TGraphicalPicture* picture() const { return picture_; }
    QPushButton* saveButton() const { return saveButton_; }
    QPushButton* printButton() const { return printButton_; }

    // The picture at `size` pixels as an image, and its drawing for SVG, PDF and print.
    QImage image(QSize size) const;
    void draw(QPainter& painter, QSize size) const;
    // The size saved pictures have.
    QSize savedSize() const;

private:
    TGraphicalPicture* picture_;
    QPushButton* saveButton_;
    QPushButton* printButton_;
    QString name_; // the model's file name, for titles and proposed file names
};

// Paints a layout (the picture's own coordinates) with its pens and brushes.
void PaintGraphical(QPainter& painter, const tarvik::lp::GraphicalLayout& layout);
// The layout at `size` in the picture's font.
tarvik::lp::GraphicalLayout GraphicalLayoutFor(const tarvik::lp::GraphicalSolution& solution, QSize size);

} // namespace tarvik::ui
