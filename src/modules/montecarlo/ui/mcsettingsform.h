#pragma once
// The rows of a settings window written as one table per window: each row a
// label, its field and a unit behind it. The form lays them out (in the Tab
// order of the table), fills the window's members with the fields, restores
// and reads the values and names the field a check refuses.
#include "modules/montecarlo/ui/mcwidgets.h"

#include <QColor>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

namespace tarvik::montecarlo::ui {

// Settings without texts of their own: forms of integer fields only.
struct MCNoTexts {};

// One row of window `W`: a label, its field and a unit behind it. The field
// stands at (x, y) with width w and height 24; its label (and its unit) stand
// 4 pixels lower, at labelX (unitX). A row without a name is a label alone.
// An integer field has limits; a text field shows the text `text` of the
// settings `T` and is the field `field` of a check; a read-only field shows
// results.
template <class W, class T = MCNoTexts, class F = int> struct MCRow {
    const char* label = nullptr;
    int labelX = 12;
    const char* name = nullptr;
    int x = 0, y = 0, w = 0;
    TMCSpinEdit* W::*spin = nullptr;
    const SpinLimits* limits = nullptr;
    int step = 1;
    QLineEdit* W::*edit = nullptr;
    std::string T::*text = nullptr;
    F field{};
    bool readOnly = false;
    const char* unit = nullptr;
    int unitX = 0;
    QLabel* W::*labelMember = nullptr;

    static MCRow Label(const char* text, int y) { return {.label = text, .y = y}; }
    static MCRow Spin(const char* label, const char* name, TMCSpinEdit* W::*member,
                      const SpinLimits& limits) {
        return {.label = label, .name = name, .spin = member, .limits = &limits};
    }
    static MCRow Text(const char* label, const char* name, QLineEdit* W::*member, std::string T::*text,
                      F field) {
        return {.label = label, .name = name, .edit = member, .text = text, .field = field};
    }
    static MCRow Output(const char* label, const char* name, QLineEdit* W::*member) {
        return {.label = label, .name = name, .edit = member, .readOnly = true};
    }
    // The field at (fieldX, fieldY), `width` wide; its label at `left`.
    MCRow at(int fieldX, int fieldY, int width, int left = 12) const {
        MCRow r = *this;
        r.x = fieldX;
        r.y = fieldY;
        r.w = width;
        r.labelX = left;
        return r;
    }
    // The unit `text` behind the field, at `left`.
    MCRow withUnit(const char* text, int left) const {
        MCRow r = *this;
        r.unit = text;
        r.unitX = left;
        return r;
    }
    // The arrows of an integer field step by `n`.
    MCRow stepBy(int n) const {
        MCRow r = *this;
        r.step = n;
        return r;
    }
    // The window keeps the label in `member`.
    MCRow keepLabel(QLabel* W::*member) const {
        MCRow r = *this;
        r.labelMember = member;
        return r;
    }
};

// Places a row's label, field and unit in `parent`; the field is coloured
// while it has the focus. Returns the field (none for a label alone).
QWidget* PlaceRow(QWidget* parent, const char* label, int labelX, const char* name, QRect at,
                  const SpinLimits* limits, int step, bool readOnly, const char* unit, int unitX,
                  QColor focus, QLabel** labelOut);

template <class W, class T = MCNoTexts, class F = int> class MCSettingsForm {
public:
    using Row = MCRow<W, T, F>;
    explicit MCSettingsForm(W* window) : window_(window) {}

    // Lays out the rows in `parent` after those added before.
    void add(QWidget* parent, std::initializer_list<Row> rows, QColor focus = QColor(Qt::yellow)) {
        for (const Row& r : rows) {
            QLabel* label = nullptr;
            QWidget* w = PlaceRow(parent, r.label, r.labelX, r.name, QRect(r.x, r.y, r.w, 24), r.limits,
                                  r.step, r.readOnly, r.unit, r.unitX, focus, &label);
            if (r.labelMember) window_->*r.labelMember = label;
            if (r.spin) window_->*r.spin = static_cast<TMCSpinEdit*>(w);
            if (r.edit) window_->*r.edit = static_cast<QLineEdit*>(w);
            rows_.push_back(r);
        }
    }
    // Integer fields back to their defaults, text fields to the texts of
    // `defaults`; read-only fields keep theirs.
    void restore(const T& defaults = T()) const {
        for (const Row& r : rows_) {
            if (r.spin) (window_->*r.spin)->restoreDefault();
            if constexpr (kTexts)
                if (r.edit && r.text) (window_->*r.edit)->setText(QString::fromStdString(defaults.*r.text));
        }
    }
    // Every integer field's typed text made its value.
    void commit() const {
        for (const Row& r : rows_)
            if (r.spin) (window_->*r.spin)->commit();
    }
    // The texts of the text fields into `texts`.
    void read(T& texts) const {
        for (const Row& r : rows_)
            if (r.edit && r.text) texts.*r.text = (window_->*r.edit)->text().toStdString();
    }
    // The text field a check names.
    QWidget* widget(F field) const {
        for (const Row& r : rows_)
            if (r.edit && r.text && r.field == field) return window_->*r.edit;
        return nullptr;
    }

private:
    static constexpr bool kTexts = !std::is_same_v<T, MCNoTexts>;
    W* window_;
    std::vector<Row> rows_;
};

// The foot of a settings window `w`: "OK" at (16, y) and "Previous" at
// (110, y) calling its OKBtnClick and TerugBtnClick, and the explanation button
// of help context `help` at (helpX, y). Closing the frame is "Previous".
template <class W> void PlaceSettingsButtons(W* w, int y, int helpX, int help, const char* ok = "OK") {
    w->OKBtn = PlaceButton(w, QString::fromUtf8(ok), "OKBtn", 16, y);
    w->TerugBtn = PlaceButton(w, QStringLiteral("Previous"), "TerugBtn", 110, y);
    ExplanationButton(w, help)->setGeometry(helpX, y, 30, 25);
    QObject::connect(w->OKBtn, &QPushButton::clicked, w, &W::OKBtnClick);
    QObject::connect(w->TerugBtn, &QPushButton::clicked, w, &W::TerugBtnClick);
    w->onFrameClose = [w] { w->TerugBtnClick(); };
}

} // namespace tarvik::montecarlo::ui
