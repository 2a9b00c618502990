#pragma once
// The pictures of the table game: the table, the chip and the wheel.
#include <QColor>
#include <QImage>

namespace tarvik::roulette::ui {

// The table picture, 500 x 302, shown centred in a 500 x 307 control (2
// pixels down). A chip whose top-left corner is at a point of the drop
// lattice has its centre on the drawn spot of that point's bet.
inline constexpr int kTableWidth = 500;
inline constexpr int kTableHeight = 302;
inline constexpr int kTableControlHeight = 307;
inline constexpr int kTableTop = (kTableControlHeight - kTableHeight) / 2;
inline constexpr int kChipWidth = 27;
inline constexpr int kChipHeight = 26;

QImage DrawTablePicture();
QImage DrawChipPicture();

// The clean wheel, 293 x 294, pockets on the circle of radius 109 around (146, 145).
inline constexpr int kWheelWidth = 293;
inline constexpr int kWheelHeight = 294;
QImage DrawWheelPicture();
// The ball in the pocket at wheel index k, drawn onto a copy of the wheel.
void DrawBall(QImage& wheel, int wheelIndex);

// The colour of a pocket: red, black, or green for 0.
QColor PocketColor(int number);

} // namespace tarvik::roulette::ui
