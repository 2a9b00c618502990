#include "desktop/xstack.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <memory>

namespace tarvik::test {
namespace {

Display* Connection() {
    static Display* display = XOpenDisplay(nullptr);
    return display;
}

// A property of `window` as items of `format` bits (longs for 32).
template <typename T> std::vector<T> Property(Window window, const char* name, Atom type) {
    Display* d = Connection();
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, window, XInternAtom(d, name, False), 0, 1 << 16, False, type, &actual, &format,
                           &count, &after, &data) != Success ||
        !data)
        return {};
    std::unique_ptr<unsigned char, int (*)(void*)> owned(data, XFree);
    const T* items = reinterpret_cast<const T*>(data);
    return std::vector<T>(items, items + count);
}

XClient Describe(Window w) {
    Display* d = Connection();
    XClient c;
    c.id = w;
    const auto name = Property<char>(w, "_NET_WM_NAME", XInternAtom(d, "UTF8_STRING", False));
    c.title = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    XWindowAttributes a{};
    if (!XGetWindowAttributes(d, w, &a)) return c;
    c.shown = a.map_state == IsViewable;
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &x, &y, &child);
    // left, right, top, bottom
    const auto extents = Property<long>(w, "_NET_FRAME_EXTENTS", XA_CARDINAL);
    const long l = extents.size() == 4 ? extents[0] : 0, r = extents.size() == 4 ? extents[1] : 0;
    const long t = extents.size() == 4 ? extents[2] : 0, b = extents.size() == 4 ? extents[3] : 0;
    c.frame = QRect(int(x - l), int(y - t), int(a.width + l + r), int(a.height + t + b));
    return c;
}

} // namespace

bool DesktopAvailable() {
    Display* d = Connection();
    return d && !Property<long>(DefaultRootWindow(d), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).empty();
}

std::vector<XClient> StackingOrder() {
    Display* d = Connection();
    std::vector<XClient> clients;
    if (!d) return clients;
    XSync(d, False);
    for (long w : Property<long>(DefaultRootWindow(d), "_NET_CLIENT_LIST_STACKING", XA_WINDOW))
        clients.push_back(Describe(static_cast<Window>(w)));
    return clients;
}

QString CoveredBy(unsigned long window) {
    const std::vector<XClient> clients = StackingOrder();
    std::size_t i = 0;
    while (i < clients.size() && clients[i].id != window) ++i;
    if (i == clients.size() || !clients[i].shown) return QStringLiteral("not shown");
    QStringList above;
    for (std::size_t j = i + 1; j < clients.size(); ++j)
        if (clients[j].shown && clients[j].frame.intersects(clients[i].frame))
            above << QLatin1Char('"') + clients[j].title + QLatin1Char('"');
    return above.isEmpty() ? QString() : QStringLiteral("covered by ") + above.join(QStringLiteral(", "));
}

} // namespace tarvik::test
