#pragma once
// The random walk of the number of ones against the number expected.
#include "common/ui/picturebox.h"
#include "modules/dice/dobbel.h"

#include <QImage>
#include <QWidget>

class QLabel;
class QToolButton;

namespace tarvik::dice::ui {

using tarvik::ui::TPictureBox;

class TWandelingForm : public QWidget {
    Q_OBJECT
public:
    explicit TWandelingForm(QWidget* owner);

    const QImage& picture() const { return Picture; }
    const WalkLayout& layout() const { return Layout; }

    // Draws the walk of a run and writes its figures. Returns false (after the
    // message, with the window hidden) when the walk cannot be drawn.
    bool DrawWalk(const DiceRun& run);
    void SaveBtnClick();

    TPictureBox* PictureBox = nullptr;
    QLabel* PercentLabel = nullptr;
    QLabel* RunLabel = nullptr;
    QToolButton* SaveBtn = nullptr;

private:
    QImage Picture;
    WalkLayout Layout;
    int WalkThrows = -1; // the throws of the walk drawn, -1 before the first
};

} // namespace tarvik::dice::ui
