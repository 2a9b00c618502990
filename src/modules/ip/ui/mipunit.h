#pragma once
// The integer-programming module window: an editor for one model, an output
// page for the last result, model files, printing and the run.
#include "modules/lp/ui/modelwindow.h"

namespace tarvik::ui {

class TMIPmodule : public TModelWindow {
    Q_OBJECT
public:
    explicit TMIPmodule(QWidget* parent = nullptr);
    ~TMIPmodule() override;

    // The empty model a new file starts with.
    static QStringList Template();

protected:
    QStringList modelTemplate() const override { return Template(); }
    bool runModel(const QString& modelText, QString& output, long& errorPosition,
                  std::shared_ptr<const tarvik::lp::GraphicalSolution>& graphical) override;
};

} // namespace tarvik::ui
