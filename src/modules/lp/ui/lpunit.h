#pragma once
// The linear-programming module window: an editor for one model, an output
// page for the last result, model files, printing, the settings and the run.
#include "modules/lp/ui/modelwindow.h"

namespace tarvik::ui {

class TLPInstellingen;

class TLP : public TModelWindow {
    Q_OBJECT
public:
    explicit TLP(QWidget* parent = nullptr);
    ~TLP() override;

    void SettingsClick();

    TLPInstellingen* settingsDialog() const { return settings_; }

    // The empty model a new file starts with.
    static QStringList Template();

protected:
    QStringList modelTemplate() const override { return Template(); }
    bool runModel(const QString& modelText, QString& output, long& errorPosition,
                  std::shared_ptr<const tarvik::lp::GraphicalSolution>& graphical) override;
    void PageControlChange(int index) override;
    void releaseModule() override;

private:
    TLPInstellingen* settings_;
};

} // namespace tarvik::ui
