#pragma once
// The tour data report window and the information window of the module.
#include "modules/tsp/tsptour.h"

#include <QDialog>
#include <QWidget>

class QPushButton;
class QTextEdit;

namespace tarvik::tsp::ui {

class TTSPData : public QDialog {
    Q_OBJECT
public:
    explicit TTSPData(QWidget* owner);

    QTextEdit* Results = nullptr;
    QPushButton* TerugBtn = nullptr;

    // Writes the report into `Results` with its type styles.
    void ShowReport(const TourReport& report);

private:
    QString PlainReport; // the report as text, as "Save as text" writes it
};

// What the module is about, shown in the module window behind the dialogs.
class TTSPInfo : public QWidget {
    Q_OBJECT
public:
    explicit TTSPInfo(QWidget* parent);
};

} // namespace tarvik::tsp::ui
