#pragma once
// What the X server and its window manager show: the managed windows from
// bottom to top (_NET_CLIENT_LIST_STACKING) with their frames on the screen.
#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

namespace tarvik::test {

struct XClient {
    unsigned long id = 0;
    QString title;
    QRect frame;        // the window with its frame, in root coordinates
    bool shown = false; // mapped and viewable
};

// True when an X server runs a window manager that keeps the stacking list.
bool DesktopAvailable();
// The managed windows, bottom first.
std::vector<XClient> StackingOrder();
// Empty when `window` is shown and no shown window above it overlaps it;
// else what is wrong ("not shown", "covered by <title>").
QString CoveredBy(unsigned long window);

} // namespace tarvik::test
