#include "modules/shortestpath/ui/kpadunit.h"

#include "common/numformat.h"
#include "common/safefile.h"
#include "common/ui/dialogservice.h"
#include "common/ui/examples.h"
#include "common/ui/help.h"
#include "common/ui/moduledialog.h"
#include "common/ui/seed.h"
#include "modules/shortestpath/gridfile.h"
#include "modules/shortestpath/ui/kpadafstandunit.h"
#include "modules/shortestpath/ui/kpaddialoogunit.h"
#include "modules/shortestpath/ui/kpadmodule.h"
#include "modules/shortestpath/ui/kpadnetwerkunit.h"
#include "modules/shortestpath/ui/kpadoptiesunit.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

namespace tarvik::shortestpath::ui {

namespace {

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

const char* const kSelectHeuristic = "Select one of the heuristics below";
const char* const kEditInstruction =
    "Click on the distances you wish to change. Click on end edit to continue";

} // namespace

TKPad::TKPad(QWidget* parent) : tarvik::ui::ModuleWindow(parent) {
    tarvik::ui::SetHelpContext(this, 11);
    setObjectName(QStringLiteral("KPad"));
    setWindowTitle(QStringLiteral("Shortest path"));

    QMenu* file = addModuleMenu(QStringLiteral("File"));
    QAction* openNetwork = file->addAction(QStringLiteral("Open network…"));
    openNetwork->setObjectName(QStringLiteral("OpenNetwork"));
    connect(openNetwork, &QAction::triggered, this, [this] { OpenNetworkClick(); });
    QAction* saveNetwork = file->addAction(QStringLiteral("Save network…"));
    saveNetwork->setObjectName(QStringLiteral("SaveNetwork"));
    connect(saveNetwork, &QAction::triggered, this, &TKPad::SaveNetworkClick);
    tarvik::ui::AddExamplesCommand(file, QStringLiteral("shortestpath"),
                                   [this](const QString& folder) { OpenNetworkClick(folder); });
    connect(file, &QMenu::aboutToShow, this, [this, saveNetwork] { saveNetwork->setEnabled(NetworkMade); });
    file->addSeparator();
    QAction* close = file->addAction(QStringLiteral("Close shortest path"));
    close->setObjectName(QStringLiteral("Close1"));
    connect(close, &QAction::triggered, this, [this] { closeModule(); });

    QMenu* options = addModuleMenu(QStringLiteral("Options"));
    options->menuAction()->setVisible(false);
    Settings1 = options->addAction(QStringLiteral("Settings"));
    Settings1->setObjectName(QStringLiteral("Settings1"));
    connect(Settings1, &QAction::triggered, this, &TKPad::ShowSettings);
    tarvik::ui::AddSeedCommand(options, QStringLiteral("shortestpath"), this);

    QAction* explanation = addHelpMenu(kKPadHelpContext);

    KPadOpties = new TKPadOpties(this);
    KPadDialoog = new TKPadDialoog(this);
    KPadNetwerk = new TKPadNetwerk(this);
    KPadAfstand = new TKPadAfstand(KPadNetwerk);
    connect(KPadAfstand, &TKPadAfstand::changed, this, &TKPad::DistanceChanged);
    connect(KPadAfstand, &QDialog::rejected, this, [this] {
        EditedArc.reset();
        RedrawNetwork();
    });
    // F1 opens the module's help in each of its windows.
    for (QWidget* w : {static_cast<QWidget*>(KPadOpties.data()), static_cast<QWidget*>(KPadDialoog.data()),
                       static_cast<QWidget*>(KPadNetwerk.data()), static_cast<QWidget*>(KPadAfstand.data())})
        w->addAction(explanation);

    Opt = ComputeOptimal(Net);
    KPadOpties->show();
}

TKPad::~TKPad() = default;

void TKPad::SettingsOK(int rows, int columns, bool randomLengths, int fixedLength) {
    if (!ValidSize(rows, columns)) return;
    KPadOpties->hide();
    ResetPaths();
    LeaveEditMode();
    StartState();
    Net.rows = rows;
    Net.columns = columns;
    if (randomLengths) {
        tarvik::ui::BeginSeededRun(QStringLiteral("shortestpath"), this);
        DrawRandomLengths(Net);
    } else {
        SetFixedLengths(Net, std::clamp(fixedLength, kMinFixedLength, kMaxFixedLength));
    }
    ComputeOptimalValue();
    NetworkMade = true;

    if (!KPadNetwerk->isVisible() && !KPadDialoog->isVisible()) {
        const QPoint origin = mapToGlobal(QPoint(10, 10));
        KPadNetwerk->move(origin);
        KPadDialoog->move(origin + QPoint(kNetworkWidth + 30, 0));
    }
    RedrawNetwork();
    KPadNetwerk->show();
    KPadDialoog->show();
    KPadDialoog->raise();
}

void TKPad::OpenNetworkClick(const QString& folder) {
    tarvik::ui::FileRequest request;
    request.parent = this;
    request.caption = QStringLiteral("Open network");
    request.directory =
        folder.isEmpty() ? tarvik::ui::FileDialogFolder(QStringLiteral("shortestpath-networks")) : folder;
    request.filters = {QStringLiteral("Network files (*.txt)"), QStringLiteral("All files (*)")};
    const QPointer<TKPad> self(this);
    const std::optional<QString> chosen = tarvik::ui::Dialogs().openFileName(request);
    if (!self || isClosing() || !chosen || chosen->isEmpty()) return;
    if (!tarvik::ui::IsExampleFile(*chosen))
        tarvik::ui::RememberFileDialogFolder(QStringLiteral("shortestpath-networks"), *chosen);
    const NetworkRead read = ReadNetworkFile(chosen->toStdString());
    if (read.status != NetworkRead::Status::Ok) {
        MsgDlg(Text(read.message), tarvik::ui::MsgKind::Error, tarvik::ui::mbOK, 0);
        return;
    }
    LoadNetwork(read.network);
}

void TKPad::LoadNetwork(const Network& network) {
    if (!ValidSize(network.rows, network.columns)) return;
    // As "OK" with the file's size, the lengths then taken from the file.
    KPadOpties->RijEdit->setValue(network.rows);
    KPadOpties->KolomEdit->setValue(network.columns);
    if (KPadAfstand->isVisible()) KPadAfstand->reject();
    SettingsOK(network.rows, network.columns, false, kDefaultFixedLength);
    Net = network;
    ComputeOptimalValue();
    RedrawNetwork();
}

void TKPad::SaveNetworkClick() {
    if (!NetworkMade) return;
    tarvik::ui::FileRequest request;
    request.parent = this;
    request.caption = QStringLiteral("Save network");
    request.directory = tarvik::ui::FileDialogFolder(QStringLiteral("shortestpath-networks"));
    request.fileName = QStringLiteral("network.txt");
    request.filters = {QStringLiteral("Network files (*.txt)")};
    request.defaultSuffix = QStringLiteral("txt");
    const QPointer<TKPad> self(this);
    const std::optional<QString> chosen = tarvik::ui::Dialogs().saveFileName(request);
    if (!self || isClosing() || !chosen || chosen->isEmpty()) return;
    const QString fileName = tarvik::ui::WithFilterExtension(*chosen, request.filters.front());
    tarvik::ui::RememberFileDialogFolder(QStringLiteral("shortestpath-networks"), fileName);
    if (!WriteFileSafely(fileName.toStdString(), NetworkText(Net)))
        MsgDlg(QStringLiteral("Cannot write file %1").arg(fileName), tarvik::ui::MsgKind::Error,
               tarvik::ui::mbOK, 0);
}

void TKPad::SettingsShown(bool shown) {
    if (Settings1) Settings1->setEnabled(!shown);
}

void TKPad::ShowSettings() {
    tarvik::ui::ShowInFront(KPadOpties);
}

void TKPad::ResetPaths() {
    Own.reset();
    OptimalShown = false;
    DistancesShown = true;
}

void TKPad::StartState() {
    TKPadDialoog* d = KPadDialoog;
    d->AanwijzingLbl->setText(QString::fromLatin1(kSelectHeuristic));
    d->AanwijzingBox->show();
    for (QPushButton* b : {d->ToonLengtesBtn, d->OptPadBtn, d->UitvoerBtn, d->WisBtn, d->WijzigBtn})
        b->setEnabled(true);
    d->ToonLengtesBtn->setText(DistancesShown ? QStringLiteral("Hide distances")
                                              : QStringLiteral("Show distances"));
    d->UitkomstTekstLbl->clear();
    // The own path is gone, so its value goes too.
    d->EigenPadLabel->clear();
    d->StuurBox->hide();
    d->HeuristiekBox->show();
}

void TKPad::LeaveEditMode() {
    EditMode = false;
    EditedArc.reset();
    KPadDialoog->WijzigBtn->setText(QStringLiteral("Edit distances"));
    KPadNetwerk->unsetCursor();
}

void TKPad::ComputeOptimalValue() {
    Opt = ComputeOptimal(Net);
    KPadDialoog->OptPadLabel->setText(Text(LengthText(Opt.length())));
}

void TKPad::RedrawNetwork() {
    NetworkPicture picture;
    picture.network = &Net;
    if (OptimalShown) picture.optimal = OptimalPath(Net, Opt);
    picture.own = Own.moves();
    picture.distances = DistancesShown;
    KPadNetwerk->Redraw(picture);
}

void TKPad::ToonLengtesBtnClick() {
    DistancesShown = !DistancesShown;
    KPadDialoog->ToonLengtesBtn->setText(DistancesShown ? QStringLiteral("Hide distances")
                                                        : QStringLiteral("Show distances"));
    RedrawNetwork();
}

void TKPad::WijzigBtnClick() {
    TKPadDialoog* d = KPadDialoog;
    DistancesShown = true;
    if (!EditMode) {
        EditMode = true;
        d->WijzigBtn->setText(QStringLiteral("End Edit"));
        KPadNetwerk->setCursor(Qt::CrossCursor);
        d->AanwijzingLbl->setText(QString::fromLatin1(kEditInstruction));
        d->ToonLengtesBtn->setText(QStringLiteral("Hide distances"));
        for (QPushButton* b : {d->ToonLengtesBtn, d->OptPadBtn, d->UitvoerBtn, d->WisBtn})
            b->setEnabled(false);
    } else {
        LeaveEditMode();
        StartState();
        Own.reset();
        ComputeOptimalValue();
    }
    RedrawNetwork();
}

void TKPad::UitvoerBtnClick() {
    TKPadDialoog* d = KPadDialoog;
    const int choice = d->HeuristiekList->currentItem() && d->HeuristiekList->currentItem()->isSelected()
                           ? d->HeuristiekList->currentRow()
                           : -1;
    if (choice < 0) {
        MsgDlg(QStringLiteral("No heuristic yet. Please select one"), tarvik::ui::MsgKind::Error,
               tarvik::ui::mbOK, 0);
        return;
    }
    d->WijzigBtn->setEnabled(false);
    d->UitvoerBtn->setEnabled(false);
    Own.reset();
    d->EigenPadLabel->clear();
    if (choice == 0) {
        d->UitkomstTekstLbl->setText(QStringLiteral("Your path + optimal continus:"));
        d->AanwijzingBox->hide();
        d->HeuristiekBox->hide();
        d->StuurBox->show();
        UpdateArrows();
        RedrawNetwork();
        return;
    }
    d->UitkomstTekstLbl->setText(QStringLiteral("Length heuristic path:"));
    d->AanwijzingBox->hide();
    const Heuristic h = choice == 1 ? Heuristic::Myopic : Heuristic::NearlyMyopic;
    const int steps = Net.rows + Net.columns;
    for (int s = 0; s < steps; ++s) Step(HeuristicStep(Net, h, Own.node()));
    RedrawNetwork();
}

void TKPad::Step(Move move) {
    if (!Own.step(Net, move)) return;
    ShowOwnValue();
}

void TKPad::ShowOwnValue() {
    KPadDialoog->EigenPadLabel->setText(Text(LengthText(Own.shownValue(Opt))));
}

void TKPad::UpdateArrows() {
    KPadDialoog->UPBtn->setEnabled(Own.canMove(Net, Move::Up));
    KPadDialoog->RightBtn->setEnabled(Own.canMove(Net, Move::Right));
}

void TKPad::UPBtnClick() {
    Step(Move::Up);
    UpdateArrows();
    RedrawNetwork();
}

void TKPad::RightBtnClick() {
    Step(Move::Right);
    UpdateArrows();
    RedrawNetwork();
}

void TKPad::OptPadBtnClick() {
    OptimalShown = true;
    KPadDialoog->AanwijzingLbl->setText(
        Text(Format(" The length of the optimal path is %.2f", Opt.length())));
    KPadDialoog->OptPadBtn->setEnabled(false);
    KPadDialoog->WijzigBtn->setEnabled(false);
    RedrawNetwork();
}

void TKPad::WisBtnClick() {
    ResetPaths();
    LeaveEditMode();
    StartState();
    KPadDialoog->OptPadLabel->clear();
    ComputeOptimalValue();
    RedrawNetwork();
}

void TKPad::TerugBtnClick() {
    KPadNetwerk->hide();
    KPadDialoog->hide();
    LeaveEditMode();
    StartState();
    ShowSettings();
}

void TKPad::DialogClosed() {
    KPadNetwerk->hide();
}

void TKPad::NetwerkMouseDown(QPoint position) {
    if (!EditMode || KPadAfstand->isVisible()) {
        KPadNetwerk->Beep();
        return;
    }
    const auto arc = SelectArc({position.x(), position.y()}, Net.rows, Net.columns);
    if (!arc) {
        KPadNetwerk->Beep();
        return;
    }
    EditedArc = arc;
    KPadAfstand->Open(Net.length(arc->node, arc->kind));
}

void TKPad::DistanceChanged(int length) {
    if (EditedArc && length >= kMinDistance && length <= kMaxDistance) {
        auto& table = EditedArc->kind == Move::Up ? Net.up : Net.right;
        table[EditedArc->node.x][EditedArc->node.y] = length;
    }
    EditedArc.reset();
    RedrawNetwork();
}

void TKPad::releaseModule() {
    for (QWidget* w : {static_cast<QWidget*>(KPadAfstand.data()), static_cast<QWidget*>(KPadDialoog.data()),
                       static_cast<QWidget*>(KPadOpties.data()), static_cast<QWidget*>(KPadNetwerk.data())}) {
        if (!w) continue;
        w->hide();
        w->deleteLater();
    }
}

} // namespace tarvik::shortestpath::ui

tarvik::ui::ModuleWindow* CreateKortstePadWindow(QWidget* parent) {
    return new tarvik::shortestpath::ui::TKPad(parent);
}
