#pragma once
// The branch-and-bound windows: the upper-bound dialog and the progress window.
#include <QDialog>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tarvik::tsp::ui {

class TTSP;

class TTSPBBDlg : public QDialog {
    Q_OBJECT
public:
    explicit TTSPBBDlg(TTSP* owner);

    QLineEdit* BovengrensEdit = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

    // Shows the dialog modally with an empty, focused field.
    void Ask();
    void OKBtnClick();
    void TerugBtnClick();

protected:
    void reject() override;

private:
    TTSP* owner_;
};

class TTSPBB : public QWidget {
    Q_OBJECT
public:
    explicit TTSPBB(TTSP* owner);

    QListWidget* ListBox = nullptr;
    QPushButton* Button = nullptr;

    // "Stop" during the search, "&Map" afterwards.
    void SetSearching(bool searching);
    bool searching() const { return searching_; }
    void InsertLine(const QString& line);
    void ButtonClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TTSP* owner_;
    bool searching_ = false;
};

} // namespace tarvik::tsp::ui
