#pragma once
// The module window of the Markov chains module. The work happens in its
// choice window, which stays on top of it.
#include "common/ui/modulewindow.h"

#include <QPointer>

class QAction;

namespace tarvik::markov::ui {

class TMarkovKeuzeDialoog;

inline constexpr int kMarkovHelpContext = 13;

class TMarkov : public tarvik::ui::ModuleWindow {
    Q_OBJECT
public:
    explicit TMarkov(QWidget* parent = nullptr);
    ~TMarkov() override;

    TMarkovKeuzeDialoog* choiceWindow() const;

    QAction* CloseItem = nullptr; // File > "Close markov chains"
    QAction* HelpItem = nullptr;  // Help > "Explanation"

protected:
    bool canClose() override;
    void releaseModule() override;
    void showEvent(QShowEvent* event) override;

private:
    void CloseItemClick();
    void HelpItemClick();

    QPointer<TMarkovKeuzeDialoog> keuze_;
    bool shownOnce_ = false;
};

} // namespace tarvik::markov::ui

tarvik::ui::ModuleWindow* CreateMarkovWindow(QWidget* parent);
