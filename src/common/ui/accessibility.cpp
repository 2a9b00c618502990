#include "common/ui/accessibility.h"

#include "common/ui/keyboardpointer.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTextEdit>
#include <algorithm>
#include <limits>

namespace tarvik::ui {
namespace {

QString Plain(QString text) {
    // "&Print" reads "Print"; "&&" is a real ampersand.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    text.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    return text.simplified().remove(QRegularExpression(QStringLiteral("[:\\s]+$")));
}

// A widget that is a part of another control (the field of a spin box, the
// scroll bars of a list, the editor of a table cell).
bool IsPart(const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget()) {
        if (qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QComboBox*>(p) ||
            qobject_cast<const QAbstractItemView*>(p) || qobject_cast<const QTextEdit*>(p) ||
            qobject_cast<const QPlainTextEdit*>(p))
            return true;
    }
    return false;
}

QRect InWindow(const QWidget* w) {
    return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}

// The label that belongs to `control`: its buddy, else the nearest label on
// its left on the same row, else the nearest just above it.
QLabel* LabelOf(QWidget* control) {
    QWidget* window = control->window();
    const QList<QLabel*> labels = window->findChildren<QLabel*>();
    for (QLabel* l : labels)
        if (l->buddy() == control && !l->text().isEmpty()) return l;
    const QRect c = InWindow(control);
    QLabel* best = nullptr;
    int bestDistance = std::numeric_limits<int>::max();
    for (QLabel* l : labels) {
        if (!l->isVisibleTo(window) || Plain(l->text()).isEmpty() || l->window() != window) continue;
        const QRect r = InWindow(l);
        if (r.right() <= c.left() + 4 && r.top() <= c.center().y() + 6 && r.bottom() >= c.center().y() - 6) {
            const int d = c.left() - r.right();
            if (d < 300 && d < bestDistance) bestDistance = d, best = l;
        }
    }
    if (best) return best;
    for (QLabel* l : labels) {
        if (!l->isVisibleTo(window) || Plain(l->text()).isEmpty() || l->window() != window) continue;
        const QRect r = InWindow(l);
        const int gap = c.top() - r.bottom();
        const bool overlaps = r.left() < c.right() && r.right() > c.left();
        if (gap >= -2 && gap < 30 && overlaps && gap < bestDistance) bestDistance = gap, best = l;
    }
    return best;
}

QString SuggestedName(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        // A button is read by its text; a picture button by its hint.
        if (!Plain(b->text()).isEmpty()) return Plain(b->text());
        if (!w->toolTip().isEmpty()) return Plain(w->toolTip());
    }
    if (QLabel* l = LabelOf(w)) return Plain(l->text());
    if (!w->toolTip().isEmpty()) return Plain(w->toolTip());
    if (auto* e = qobject_cast<QLineEdit*>(w))
        if (!e->placeholderText().isEmpty()) return Plain(e->placeholderText());
    for (QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (auto* g = qobject_cast<QGroupBox*>(p))
            if (!Plain(g->title()).isEmpty()) return Plain(g->title());
    // A text area alone in its window is the window's text.
    if (qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
        qobject_cast<QAbstractItemView*>(w))
        return Plain(w->window()->windowTitle());
    return {};
}

// The outermost group box around `w` (below its window) that does not also
// hold `other`: the block `w` stands in as seen from `other`.
QWidget* BlockOf(QWidget* w, const QWidget* other) {
    QWidget* block = w;
    for (QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (qobject_cast<QGroupBox*>(p) && !p->isAncestorOf(other)) block = p;
    return block;
}

const char* const kPictureProperty = "tarvikPicture";

class NamingFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType())
            NameControls(static_cast<QWidget*>(watched));
        return false;
    }
};

} // namespace

bool IsInteractive(const QWidget* w) {
    if (!w || IsPart(w)) return false;
    if (qobject_cast<const QScrollBar*>(w)) return false;
    return HasKeyboardPointer(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSlider*>(w) ||
           qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QTextEdit*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w);
}

QString AccessibleNameOf(QWidget* w) {
    if (!w->accessibleName().isEmpty()) return w->accessibleName();
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Name).trimmed() : QString();
}

void NameControls(QWidget* root) {
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        if (!IsInteractive(w) || !w->accessibleName().isEmpty()) continue;
        if (qobject_cast<QAbstractButton*>(w) && !Plain(static_cast<QAbstractButton*>(w)->text()).isEmpty())
            continue; // a button is read by its own text
        const QString name = SuggestedName(w);
        if (!name.isEmpty()) w->setAccessibleName(name);
    }
}

void InstallAccessibleNames() {
    static QPointer<NamingFilter> filter;
    if (filter || !qApp) return;
    filter = new NamingFilter(qApp);
    qApp->installEventFilter(filter);
}

void MarkAsPicture(QWidget* picture) {
    picture->setProperty(kPictureProperty, true);
}

bool IsPicture(const QWidget* widget) {
    return widget && widget->property(kPictureProperty).toBool();
}

void DescribePicture(QWidget* picture, const QString& description) {
    MarkAsPicture(picture);
    picture->setAccessibleDescription(description);
}

void SetTabOrder(std::initializer_list<QWidget*> order) {
    const auto first = std::find_if(order.begin(), order.end(), [](QWidget* w) { return w != nullptr; });
    if (first == order.end()) return;
    // Qt leaves the chain as it is when the widget to be followed ends its
    // window's chain; a stand-in at the very end, removed afterwards, keeps
    // every widget of the list from being the last.
    auto* end = new QWidget((*first)->window());
    end->setFocusPolicy(Qt::TabFocus);
    QWidget* previous = nullptr;
    for (QWidget* w : order) {
        if (!w) continue;
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
    delete end;
}

bool TabGoesBack(QWidget* from, QWidget* to) {
    constexpr int kRowTolerance = 4;
    const QRect a = InWindow(BlockOf(from, to));
    const QRect b = InWindow(BlockOf(to, from));
    const bool right = b.left() >= a.right() - kRowTolerance;
    if (b.bottom() <= a.top() + kRowTolerance) return !right; // a row above, unless it starts the next column
    if (a.bottom() <= b.top() + kRowTolerance) return false;  // a row below
    return b.right() <= a.left() + kRowTolerance;             // side by side: to the left
}

QStringList AccessibilityProblems(QWidget* window) {
    QStringList problems;
    auto who = [window](const QWidget* w) {
        return QStringLiteral("%1 (%2) in %3")
            .arg(w->objectName(), QString::fromLatin1(w->metaObject()->className()),
                 window->objectName().isEmpty() ? window->windowTitle() : window->objectName());
    };
    // The visible controls in the order Tab visits them.
    QList<QWidget*> stops;
    QSet<QWidget*> chain;
    for (QWidget* w = window->nextInFocusChain(); w && w != window && !chain.contains(w);
         w = w->nextInFocusChain()) {
        chain.insert(w);
        if (w->window() == window && w->isVisible() && IsInteractive(w) && (w->focusPolicy() & Qt::TabFocus))
            stops << w;
    }
    // Command buttons may follow all the fields, wherever they stand.
    qsizetype commandsFrom = stops.size();
    while (commandsFrom > 0 && qobject_cast<QPushButton*>(stops[commandsFrom - 1])) --commandsFrom;
    for (qsizetype i = 1; i < stops.size(); ++i)
        if (i != commandsFrom && TabGoesBack(stops[i - 1], stops[i]))
            problems << QStringLiteral("Tab against reading order: %1 after %2")
                            .arg(who(stops[i]), who(stops[i - 1]));
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window); // a window may be a picture itself
    for (QWidget* w : widgets) {
        if (w->window() != window || !w->isVisible()) continue;
        if (IsPicture(w) && w->accessibleDescription().isEmpty())
            problems << QStringLiteral("no description: ") + who(w);
        if (!IsInteractive(w)) continue;
        if (AccessibleNameOf(w).isEmpty()) problems << QStringLiteral("no name: ") + who(w);
        // A window that is a control itself takes the focus when it becomes active.
        auto tabbed = [&chain, window](const QWidget* x) {
            return x->isEnabled() && (x->focusPolicy() & Qt::TabFocus) &&
                   (x == window || chain.contains(const_cast<QWidget*>(x)));
        };
        bool reached = tabbed(w);
        // Tab enters a group of exclusive choices at its checked one; the arrow keys move within it.
        auto* radio = qobject_cast<QRadioButton*>(w);
        if (!reached && radio && radio->autoExclusive())
            for (const QRadioButton* other :
                 w->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
                reached = reached || (other->autoExclusive() && other->isVisible() && tabbed(other));
        if (w->isEnabled() && !reached) problems << QStringLiteral("not reached by Tab: ") + who(w);
    }
    return problems;
}

} // namespace tarvik::ui
