#pragma once
// One run of the LP window: the progress dialog, reading, solving and the
// report, and the text the window shows afterwards.
#include "modules/lp/lprun.h"

#include <QString>

class QWidget;

namespace tarvik::ui {

class TProgressDialog;

class TSolver {
public:
    // The progress dialog is owned by `owner` (the main window).
    explicit TSolver(QWidget* owner);

    // Shows the progress dialog, runs the model text (every line ended by
    // CR LF) and keeps handling events until the user has closed the dialog.
    // Returns true when the model was read.
    bool run(const QString& modelText, const tarvik::lp::LPSettings& settings);

    // The echo, solver output and report, with '\n' line ends (after a read
    // error the echo as far as it got).
    const QString& output() const { return output_; }
    // 1-based offset into the model text of the offending character (0: none).
    long errorPosition() const { return errorPosition_; }
    // The progress dialog's error line.
    const QString& message() const { return message_; }

private:
    QWidget* owner_;
    QString output_;
    long errorPosition_ = 0;
    QString message_;
};

} // namespace tarvik::ui
