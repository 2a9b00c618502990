#pragma once
// A results window of the queue simulation ("Results"): heading, the group
// "Parameters", the group "Result" with one row per figure and one or two
// value columns, each followed by the theory value and the 95% interval of
// its figures, and a closing button.
#include "modules/simulation/simreport.h"

#include <QWidget>
#include <vector>

class QGroupBox;
class QLabel;
class QPushButton;

namespace tarvik::simulation::ui {

class TSimResults : public QWidget {
    Q_OBJECT
public:
    // `layout` gives the number of parameters, columns and rows; `valueNames`
    // the object names of the first column's value labels (may be empty).
    TSimResults(QWidget* parent, const QString& name, const ResultsText& layout, const QString& closeCaption,
                const std::vector<QString>& valueNames = {});

    // Heading, parameters, column titles and values (empty values clear the labels).
    void ShowResults(const ResultsText& r);
    // The value texts, [row][column].
    std::vector<std::vector<QString>> values() const;
    // The results shown as lines of text, as "Save as text…" writes them.
    QString text() const;

    QLabel* KopTekst = nullptr;
    QGroupBox* ParaBox = nullptr;
    QGroupBox* ResultBox = nullptr;
    std::vector<QLabel*> ParamCaptions, ParamValues, ColumnTitles, RowCaptions;
    std::vector<std::vector<QLabel*>> ValueLabels; // [row][column]
    // Beside each value: the theory value and the 95% interval, [row][column].
    std::vector<QLabel*> TheoryTitles, IntervalTitles;
    std::vector<std::vector<QLabel*>> TheoryLabels, IntervalLabels;
    QPushButton* SluitenBtn = nullptr;

signals:
    void closeClicked();

private:
    ResultsText shown_;
};

} // namespace tarvik::simulation::ui
