#pragma once
// The shortest-path module window: owns the settings dialog, the dialog, the
// network window and the distance dialog, keeps the network, its optimal
// values and the path being steered, and answers every button.
#include "common/ui/modulewindow.h"
#include "modules/shortestpath/geometry.h"
#include "modules/shortestpath/network.h"
#include "modules/shortestpath/ui/kpadafstandunit.h"
#include "modules/shortestpath/ui/kpaddialoogunit.h"
#include "modules/shortestpath/ui/kpadnetwerkunit.h"
#include "modules/shortestpath/ui/kpadoptiesunit.h"

#include <QPointer>
#include <optional>

class QAction;

namespace tarvik::shortestpath::ui {

inline constexpr int kKPadHelpContext = 11;

class TKPad : public tarvik::ui::ModuleWindow {
    Q_OBJECT
public:
    explicit TKPad(QWidget* parent = nullptr);
    ~TKPad() override;

    TKPadOpties* settings() const { return KPadOpties; }
    TKPadDialoog* dialog() const { return KPadDialoog; }
    TKPadNetwerk* networkWindow() const { return KPadNetwerk; }
    TKPadAfstand* distanceDialog() const { return KPadAfstand; }
    QAction* settingsAction() const { return Settings1; }

    const Network& network() const { return Net; }
    const OptimalValues& optimal() const { return Opt; }
    const OwnPath& ownPath() const { return Own; }
    bool editMode() const { return EditMode; }
    bool optimalShown() const { return OptimalShown; }
    bool distancesShown() const { return DistancesShown; }
    // The arc the distance dialog edits.
    std::optional<ArcRef> editedArc() const { return EditedArc; }

    // The settings dialog's "OK": a new network, its optimal value, the dialog and the network window.
    void SettingsOK(int rows, int columns, bool randomLengths, int fixedLength);
    // The settings dialog was shown or hidden.
    void SettingsShown(bool shown);
    void ShowSettings();

    // File menu: network files in the form `tarvik-solve --grid` reads. Opening
    // starts its dialog in `folder` (the user's folder of network files when
    // empty) and shows the file's network as "OK" shows a new one.
    void OpenNetworkClick(const QString& folder = {});
    void SaveNetworkClick();
    void LoadNetwork(const Network& network);

    // The dialog's buttons.
    void ToonLengtesBtnClick();
    void WijzigBtnClick();
    void UitvoerBtnClick();
    void UPBtnClick();
    void RightBtnClick();
    void OptPadBtnClick();
    void WisBtnClick();
    void TerugBtnClick();
    // The dialog was closed by its frame.
    void DialogClosed();
    // A press in the network window (client coordinates).
    void NetwerkMouseDown(QPoint position);

protected:
    void releaseModule() override;

private:
    void ResetPaths();
    // The dialog as after "OK": instructions, enabled buttons, groups.
    void StartState();
    void LeaveEditMode();
    void Step(Move move);
    void ShowOwnValue();
    void UpdateArrows();
    void ComputeOptimalValue();
    void RedrawNetwork();
    void DistanceChanged(int length);

    QPointer<TKPadOpties> KPadOpties;
    QPointer<TKPadDialoog> KPadDialoog;
    QPointer<TKPadNetwerk> KPadNetwerk;
    QPointer<TKPadAfstand> KPadAfstand;
    QAction* Settings1 = nullptr;

    Network Net;
    OptimalValues Opt;
    OwnPath Own;
    bool EditMode = false;
    bool OptimalShown = false;
    bool DistancesShown = true;
    bool NetworkMade = false; // "OK" or a file gave a network
    std::optional<ArcRef> EditedArc;
};

} // namespace tarvik::shortestpath::ui
