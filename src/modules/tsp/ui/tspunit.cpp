#include "modules/tsp/ui/tspunit.h"

#include "common/safefile.h"
#include "common/ui/accessibility.h"
#include "common/ui/dialogservice.h"
#include "common/ui/examples.h"
#include "common/ui/help.h"
#include "common/ui/moduledialog.h"
#include "common/ui/picturesave.h"
#include "common/ui/seed.h"
#include "modules/tsp/tspcityfile.h"
#include "modules/tsp/ui/tspbbunit.h"
#include "modules/tsp/ui/tspdataunit.h"
#include "modules/tsp/ui/tspdialoogunit.h"
#include "modules/tsp/ui/tspkaartunit.h"
#include "modules/tsp/ui/tspmodule.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <chrono>

namespace tarvik::tsp::ui {

using tarvik::ui::MsgKind;

namespace {

qint64 NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// What the exact search sees of the windows: the event loop at most every
// 20 ms, the stop flag ("Stop", "Stop and erase tour", closing the module)
// and the progress lines.
class SearchSink : public SearchProgress {
public:
    SearchSink(TTSP* owner, const bool& cancel) : owner_(owner), cancel_(cancel) {}
    void yield() override {
        const qint64 now = NowMs();
        if (now - last_ < 20) return;
        last_ = now;
        QCoreApplication::processEvents();
    }
    bool stopRequested() const override { return !owner_ || owner_->isClosing() || cancel_; }
    void improved(double, const std::string& line) override {
        if (owner_ && owner_->bb()) owner_->bb()->InsertLine(QString::fromStdString(line));
    }

private:
    QPointer<TTSP> owner_;
    const bool& cancel_;
    qint64 last_ = NowMs();
};

const char* const kChooseMethod = "Choose your method from the list below";
// Beyond this many cities the reduced-matrix search may run for minutes or hours.
constexpr int kLongReducedSearch = 35;

} // namespace

TTSP::TTSP(QWidget* parent) : tarvik::ui::ModuleWindow(parent) {
    tarvik::ui::SetHelpContext(this, 3);
    setObjectName(QStringLiteral("TSP"));
    setWindowTitle(QStringLiteral("Travelling salesman"));

    QMenu* file = addModuleMenu(QStringLiteral("File"));
    QAction* openCities = file->addAction(QStringLiteral("Open cities…"));
    openCities->setObjectName(QStringLiteral("OpenCities"));
    connect(openCities, &QAction::triggered, this, [this] { OpenCitiesClick(); });
    QAction* saveCities = file->addAction(QStringLiteral("Save cities…"));
    saveCities->setObjectName(QStringLiteral("SaveCities"));
    connect(saveCities, &QAction::triggered, this, &TTSP::SaveCitiesClick);
    tarvik::ui::AddExamplesCommand(file, QStringLiteral("tsp"),
                                   [this](const QString& folder) { OpenCitiesClick(folder); });
    // Cities are saved once all are placed, and neither replaced nor saved while a run works on them.
    connect(file, &QMenu::aboutToShow, this, [this, openCities, saveCities] {
        openCities->setEnabled(!Constructing && !Searching);
        saveCities->setEnabled(!Constructing && !Searching && CitiesComplete);
    });
    file->addSeparator();
    QAction* printer = file->addAction(QStringLiteral("Settings printer"));
    printer->setObjectName(QStringLiteral("PrinterSetup1"));
    connect(printer, &QAction::triggered, this, [this] {
        QPrinter p;
        tarvik::ui::Dialogs().printerSetup(p, this);
    });
    file->addSeparator();
    QAction* close = file->addAction(QStringLiteral("Close Traveling salesman"));
    close->setObjectName(QStringLiteral("Close1"));
    connect(close, &QAction::triggered, this, [this] { closeModule(); });

    QMenu* options = addModuleMenu(QStringLiteral("Options"));
    options->menuAction()->setVisible(false);
    QAction* choose = options->addAction(QStringLiteral("Choose cities"));
    choose->setObjectName(QStringLiteral("ChooseCities1"));
    connect(choose, &QAction::triggered, this, &TTSP::ShowPlacement);
    tarvik::ui::AddSeedCommand(options, QStringLiteral("tsp"), this);

    addHelpMenu(3);

    auto* layout = new QHBoxLayout(this);
    Info = new TTSPInfo(this);
    layout->addWidget(Info, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch();

    ZetSteden = new TTSPZetSteden(this);
    Kaart = new TTSPKaart(this);
    tarvik::ui::DescribePicture(Kaart->view(), QStringLiteral("Map of the cities: no tour drawn yet"));
    Dialoog = new TTSPDialoog(this);
    Beginstad = new TTSPBeginstad(this);
    BB = new TTSPBB(this);
    BBDlg = new TTSPBBDlg(this);
    Data = new TTSPData(this);
    connect(Kaart->view(), &TPlaatje::pressed, this, &TTSP::MapPress);
    connect(Kaart->view(), &TPlaatje::moved, this, &TTSP::MapMove);

    // F1 opens the module's help topic from every one of its windows (the
    // module window's own F1 is its Explanation entry).
    for (QWidget* w :
         std::initializer_list<QWidget*>{ZetSteden, Kaart, Dialoog, Beginstad, BB, BBDlg, Data}) {
        auto* f1 = new QAction(w);
        f1->setShortcut(QKeySequence(Qt::Key_F1));
        f1->setShortcutContext(Qt::WindowShortcut);
        w->addAction(f1);
        connect(f1, &QAction::triggered, w, [w] { tarvik::ui::ShowHelp(3, w); });
    }

    ZetSteden->adjustSize();
    if (QScreen* s = screen()) ZetSteden->move(s->availableGeometry().center() - ZetSteden->rect().center());
    ZetSteden->show();
}

TTSP::~TTSP() = default;

// ---------------------------------------------------------------- placement

void TTSP::ZetStedenOK(bool random, int n) {
    // A run still unwinding works on the cities and the table: it ends at its
    // next step (its cancel flag is set), after which new cities may come.
    if (Constructing || Searching) {
        Cancel = true;
        return;
    }
    ForgetTours();
    N = std::clamp(n, kMinCities, kMaxCities);

    if (!random) {
        Steden.assign(static_cast<std::size_t>(N), City{0, 0});
        Placed = 0;
        PlacingByClicks = true;
        CitiesComplete = false;
        Dialoog->CoordDlg->setText(QString());
        Dialoog->CoordDlg->show();
        Dialoog->ListBox->setEnabled(false);
        Dialoog->HeuristiekBtn->setEnabled(false);
        Dialoog->ExactBtn->setEnabled(false);
        Dialoog->Info->setText(QStringLiteral("Click on the map to place the cities"));
    } else {
        tarvik::ui::BeginSeededRun(QStringLiteral("tsp"), this);
        Steden = PlaceRandomCities(N);
        Placed = N;
        CitiesComplete = true;
        PlacingByClicks = false;
        D.Fill(Steden);
        Dialoog->CoordDlg->hide();
        Dialoog->Info->setText(QString::fromLatin1(kChooseMethod));
    }

    ZetSteden->hide();
    Cancel = false;
    Dialoog->ResultaatMemo->hide();
    Dialoog->Info->show();
    // The choice dialog and the map side by side, 15 pixels apart, centred.
    if (QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        const QSize dialog = Dialoog->frameSize().isEmpty() ? Dialoog->size() : Dialoog->frameSize();
        const QSize map = Kaart->size();
        const int left = area.left() + (area.width() - map.width() - dialog.width() - 15) / 2;
        const int top =
            area.top() + std::max(0, (area.height() - std::max(map.height(), dialog.height())) / 2);
        Dialoog->move(left, top);
        Kaart->move(left + dialog.width() + 15, top);
    }
    RestartReport();
    Dialoog->show();
    Kaart->show();
    DrawMap();
}

void TTSP::ShowPlacement() {
    if (Constructing || Searching) return;
    tarvik::ui::ShowInFront(ZetSteden);
}

void TTSP::RestartReport() {
    Report.Restart(Steden);
}

// ---------------------------------------------------------------- map

MapScene TTSP::Scene() const {
    MapScene scene;
    scene.cities = &Steden;
    scene.placed = CitiesComplete ? N : Placed;
    scene.heuristic = Heuristic;
    scene.heuristicClosed = HeuristicClosed;
    scene.endDisc = EndDisc;
    if (OptimalPresent) scene.optimal = Optimal;
    return scene;
}

void TTSP::DrawMap() {
    if (Kaart) Kaart->Draw(Scene());
}

void TTSP::MapPress(int x, int y, Qt::MouseButton button) {
    if (Searching) return; // the search is working on the distance table
    const QImage& picture = Kaart->picture();
    const bool inside = x >= 0 && y >= 0 && x < picture.width() && y < picture.height();
    const bool onRed = inside && picture.pixel(x, y) == qRgb(255, 0, 0);
    if (PlacingByClicks) {
        if (Placed >= N || !inside || onRed) return;
        if (x - 4 < 0 || x + 4 > kMapWidth || y - 4 < 0 || y + 4 > kMapHeight - 10) return;
        // A city already standing there (its marker may be covered by a later number).
        const Cities placed(Steden.begin(), Steden.begin() + Placed);
        if (CityAt(placed, x, y)) return;
        Steden[static_cast<std::size_t>(Placed)] = {x, y};
        ++Placed;
        if (Placed == N) {
            CitiesComplete = true;
            D.Fill(Steden);
        }
        // The new city is drawn over what the map shows.
        Kaart->DrawCity(Steden[static_cast<std::size_t>(Placed - 1)], Placed);
        return;
    }
    if (!OwnPath || OwnPath->complete()) return;
    if (button == Qt::LeftButton) {
        if (!onRed) return;
        int hit = 0;
        for (int c = 1; c <= N && !hit; ++c) {
            const City& p = Steden[static_cast<std::size_t>(c - 1)];
            if (std::abs(p.x - x) < 8 && std::abs(p.y - y) < 8) hit = c;
        }
        if (!hit || !OwnPath->available(hit)) return;
        OwnPath->add(hit);
        AddToPath(hit);
    } else if (button == Qt::RightButton) {
        if (!OwnPath->undo()) return;
        Heuristic = OwnPath->path();
        TourLen = OwnPath->length();
        EndDisc = Heuristic.back();
        ShowRunningLength();
        DrawMap();
    }
}

void TTSP::MapMove(int x, int y) {
    if (!PlacingByClicks) return;
    if (Placed < N) {
        Dialoog->CoordDlg->setText(QStringLiteral("( %1 , %2 )").arg(x).arg(y));
        return;
    }
    EndClickPlacement();
}

void TTSP::EndClickPlacement() {
    PlacingByClicks = false;
    Dialoog->Info->setText(QString::fromLatin1(kChooseMethod));
    RestartReport();
    Dialoog->ListBox->setEnabled(true);
    Dialoog->HeuristiekBtn->setEnabled(true);
    Dialoog->ExactBtn->setEnabled(true);
    Dialoog->CoordDlg->hide();
}

// ---------------------------------------------------------------- city files

void TTSP::OpenCitiesClick(const QString& folder) {
    if (Constructing || Searching) return;
    tarvik::ui::FileRequest request;
    request.parent = this;
    request.caption = QStringLiteral("Open cities");
    request.directory =
        folder.isEmpty() ? tarvik::ui::FileDialogFolder(QStringLiteral("tsp-cities")) : folder;
    request.filters = {QStringLiteral("City files (*.txt)"), QStringLiteral("All files (*)")};
    const QPointer<TTSP> self(this);
    const std::optional<QString> chosen = tarvik::ui::Dialogs().openFileName(request);
    if (!self || isClosing() || !chosen || chosen->isEmpty() || Constructing || Searching) return;
    if (!tarvik::ui::IsExampleFile(*chosen))
        tarvik::ui::RememberFileDialogFolder(QStringLiteral("tsp-cities"), *chosen);
    const std::string name = chosen->toStdString();
    const CityFileResult read = ReadCityFile(name);
    const std::string problem = read.ok ? OffMapMessage(read.cities, name) : read.message;
    if (!problem.empty()) {
        MsgDlg(QString::fromStdString(problem), MsgKind::Error, tarvik::ui::mbOK);
        return;
    }
    LoadCities(read.cities);
}

void TTSP::LoadCities(const Cities& cities) {
    if (Constructing || Searching || cities.size() < static_cast<std::size_t>(kMinCities) ||
        cities.size() > static_cast<std::size_t>(kMaxCities))
        return;
    // As "Own choice" with this many cities, each placed as its click would place it.
    const int n = static_cast<int>(cities.size());
    ZetSteden->OwnBtn->setChecked(true);
    ZetSteden->AantalSpin->setValue(n);
    ZetStedenOK(false, n);
    Steden = cities;
    Placed = n;
    CitiesComplete = true;
    D.Fill(Steden);
    EndClickPlacement();
    DrawMap();
}

void TTSP::SaveCitiesClick() {
    if (Constructing || Searching || !CitiesComplete) return;
    tarvik::ui::FileRequest request;
    request.parent = this;
    request.caption = QStringLiteral("Save cities");
    request.directory = tarvik::ui::FileDialogFolder(QStringLiteral("tsp-cities"));
    request.fileName = QStringLiteral("cities.txt");
    request.filters = {QStringLiteral("City files (*.txt)")};
    request.defaultSuffix = QStringLiteral("txt");
    const QPointer<TTSP> self(this);
    const std::optional<QString> chosen = tarvik::ui::Dialogs().saveFileName(request);
    if (!self || isClosing() || !chosen || chosen->isEmpty()) return;
    const QString fileName = tarvik::ui::WithFilterExtension(*chosen, request.filters.front());
    tarvik::ui::RememberFileDialogFolder(QStringLiteral("tsp-cities"), fileName);
    if (!WriteFileSafely(fileName.toStdString(), CityFileText(Steden)))
        MsgDlg(QStringLiteral("Cannot write file %1").arg(fileName), MsgKind::Error, tarvik::ui::mbOK);
}

// ---------------------------------------------------------------- constructions

void TTSP::HeuristiekBtnClick() {
    if (HeuristicPresent || Constructing || Searching || !CitiesComplete || PlacingByClicks) {
        DrawMap();
        return;
    }
    const QList<QListWidgetItem*> selected = Dialoog->ListBox->selectedItems();
    if (selected.isEmpty()) {
        MsgDlg(QStringLiteral("No heuristic selected. Select a heuristic!"), MsgKind::Error,
               tarvik::ui::mbOK);
        DrawMap();
        return;
    }
    const int entry = Dialoog->ListBox->row(selected.front());
    BeginConstruction(entry);
    DrawMap();
}

void TTSP::BeginConstruction(int entry) {
    static const char* const descriptions[4] = {kOwnTour, kRandomTour, kClosestNeighbour, kGreatestAngle};
    static const char* const firstLines[4] = {kOwnTour, kRandomTour, kClosestNeighbour,
                                              kGreatestAngleFirstLine};
    Cancel = false;
    Animate = false;
    Dialoog->ResultaatMemo->show();
    Dialoog->Info->hide();
    Dialoog->CoordDlg->hide();
    Dialoog->AanwijzingBox->setTitle(QStringLiteral("Tour data"));
    TourLen = 0;
    Dialoog->ClearResult();
    Dialoog->HeuristiekBtn->setEnabled(false);
    Description = QString::fromLatin1(descriptions[entry]);
    Dialoog->AddResultLine(QString::fromLatin1(firstLines[entry]), true);
    Heuristic.clear();
    HeuristicClosed = false;
    EndDisc = 0;
    OwnPath.reset();
    const QPointer<TTSP> self(this);
    switch (entry) {
    case 0:
        StartOwnTour();
        break;
    case 1:
        // Cities placed at random started the draws already; own cities start them here.
        if (PlacingByClicks) tarvik::ui::BeginSeededRun(QStringLiteral("tsp"), this);
        Heuristic = RandomTour(N);
        HeuristicClosed = true;
        TourLen = TourLength(Heuristic, D);
        ShowFinishedTour();
        break;
    case 2:
        Beginstad->Ask(N);
        break;
    default: {
        const int answer =
            MsgDlg(QStringLiteral("Fast execution"), MsgKind::Confirmation, tarvik::ui::mbYesNo);
        if (!self || isClosing()) return;
        Animate = answer != tarvik::ui::mrYes;
        Constructing = true;
        // The construction runs from the event loop, not inside this click.
        QTimer::singleShot(0, this, [self] {
            if (self && !self->isClosing()) self->RunGreatestAngle();
        });
    }
    }
}

void TTSP::StartOwnTour() {
    Dialoog->Info->setText(
        QStringLiteral("Click with the left mouse button on the cities to enter the city i the "
                       "tour. Click on the right mouse button to correct the last step."));
    Dialoog->Info->show();
    OwnPath.emplace(D);
}

void TTSP::BeginstadOK(int start, bool fast) {
    Animate = !fast;
    Constructing = true;
    const QPointer<TTSP> self(this);
    QTimer::singleShot(0, this, [self, start] {
        if (self && !self->isClosing()) self->RunClosestNeighbour(start);
    });
}

void TTSP::AddToPath(int) {
    const PathBuilder& path = Path ? *Path : *OwnPath;
    Heuristic = path.path();
    TourLen = path.length();
    // An animated construction shows its partial tour closed.
    HeuristicClosed = path.complete() || (Path && Animate);
    EndDisc = path.complete() ? 0 : Heuristic.back();
    if (path.complete())
        ShowFinishedTour();
    else if (Heuristic.size() > 1)
        ShowRunningLength();
    DrawMap();
}

void TTSP::ShowRunningLength() {
    Dialoog->ClearResult();
    Dialoog->AddResultLine(Description, true);
    Dialoog->AddResultLine(QStringLiteral("Present length:") + QString::fromStdString(Fixed(TourLen, 4, 2)));
}

void TTSP::ShowFinishedTour() {
    HeuristicPresent = true;
    Dialoog->Info->hide();
    Dialoog->CoordDlg->hide();
    const std::string line = TourLine(Heuristic);
    Dialoog->AddResultLine(QStringLiteral("Tour length: ") + QString::fromStdString(Fixed(TourLen, 8, 2)));
    Kaart->view()->setAccessibleDescription(QStringLiteral("%1 cities; %2, tour length %3; %4")
                                                .arg(N)
                                                .arg(Description,
                                                     QString::fromStdString(Fixed(TourLen, 8, 2)).trimmed(),
                                                     QString::fromStdString(line)));
    Dialoog->AddResultLine(QString::fromStdString(line));
    Report.AddTour(Description.toStdString(), TourLen, line);
    Dialoog->TweeOptBtn->setEnabled(true);
}

bool TTSP::Stopped() const {
    return Cancel || isClosing();
}

void TTSP::Yield() {
    const qint64 now = NowMs();
    if (now - LastYield < 10) return;
    LastYield = now;
    QCoreApplication::processEvents();
}

void TTSP::Wait(double units) {
    const qint64 end = NowMs() + static_cast<qint64>(units * WaitUnitMs);
    const QPointer<TTSP> self(this);
    while (self && !Stopped() && Animate && NowMs() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (self && !Stopped() && Animate && NowMs() < end) QThread::msleep(2);
    }
}

bool TTSP::ShowStep() {
    const QPointer<TTSP> self(this);
    emit constructionStep();
    if (!self) return false;
    if (Animate)
        Wait(2);
    else
        Yield();
    return !self.isNull();
}

void TTSP::RunClosestNeighbour(int start) {
    const QPointer<TTSP> self(this);
    Constructing = true;
    ClosestNeighbour method(D, start);
    Path = &method.path();
    AddToPath(start);
    while (!method.finished() && !Stopped()) {
        if (Animate) {
            const City& from = Steden[static_cast<std::size_t>(method.current() - 1)];
            for (int i : method.candidates()) {
                if (Stopped() || !Animate) break;
                Kaart->DrawLine(from, Steden[static_cast<std::size_t>(i - 1)], Qt::white);
                Wait(0.5);
                if (!self) return;
                DrawMap();
            }
            if (Stopped()) break;
        }
        AddToPath(method.step());
        if (!ShowStep()) return;
    }
    Path = nullptr;
    if (isClosing()) return;
    Constructing = false;
    if (Cancel) Cancelled(QStringLiteral("Heuristics cancelled, tour is deleted"));
}

void TTSP::RunGreatestAngle() {
    const QPointer<TTSP> self(this);
    Constructing = true;
    GreatestAngle method(Steden, D);
    Heuristic = method.tour();
    HeuristicClosed = false;
    DrawMap();
    while (method.phase() == GreatestAngle::Phase::Hull && !Stopped()) {
        const GreatestAngle::HullMove move = method.hullStep();
        if (move.to)
            Kaart->DrawLine(Steden[static_cast<std::size_t>(move.from - 1)],
                            Steden[static_cast<std::size_t>(move.to - 1)], Qt::red);
        Heuristic = method.tour();
        TourLen = method.length();
        emit constructionStep();
        if (!self) return;
        Yield();
        if (!self) return;
        if (Animate) Wait(0.5);
        if (!self) return;
    }
    HeuristicClosed = true;
    if (!Stopped()) DrawMap();
    while (method.phase() == GreatestAngle::Phase::Insert && !Stopped()) {
        if (Animate) {
            const Tour& t = method.tour();
            for (std::size_t q = 0; q < t.size() && Animate && !Stopped(); ++q) {
                const City& a = Steden[static_cast<std::size_t>(t[q] - 1)];
                const City& b = Steden[static_cast<std::size_t>(t[(q + 1) % t.size()] - 1)];
                for (int i : method.candidates()) {
                    if (Stopped() || !Animate) break;
                    const City& c = Steden[static_cast<std::size_t>(i - 1)];
                    Kaart->DrawLine(a, c, Qt::blue);
                    Kaart->DrawLine(c, b, Qt::blue);
                    Wait(0.5);
                    if (!self) return;
                    DrawMap();
                }
            }
            if (Stopped()) break;
        }
        method.insertionStep();
        Heuristic = method.tour();
        TourLen = method.length();
        DrawMap();
        if (!ShowStep()) return;
    }
    if (isClosing()) return;
    Constructing = false;
    if (Cancel) {
        Cancelled(QStringLiteral("Heuristiek afgebroken, tour wordt gewist"));
        return;
    }
    TourLen = method.length();
    ShowFinishedTour();
    DrawMap();
}

void TTSP::Cancelled(const QString& message) {
    const QPointer<TTSP> self(this);
    MsgDlg(message, MsgKind::Confirmation, tarvik::ui::mbOK);
    if (!self || isClosing()) return;
    if (!HeuristicPresent) {
        Heuristic.clear();
        EndDisc = 0;
    }
    DrawMap();
}

void TTSP::TweeOptBtnClick() {
    if (!HeuristicPresent || Constructing || Searching || Heuristic.size() != static_cast<std::size_t>(N))
        return;
    Dialoog->TweeOptBtn->setEnabled(false);
    tarvik::ui::WaitCursor cursor;
    const TwoOptResult r = TwoOpt(Heuristic, D);
    Dialoog->AddResultLine(QString::fromStdString(TwoOptLine(r)));
    Description = QString::fromStdString(TwoOptDescription(r, Description.toStdString()));
    TourLen = r.after;
    ShowFinishedTour();
    DrawMap();
}

void TTSP::ForgetTours() {
    Dialoog->ClearResult();
    Dialoog->AanwijzingBox->setTitle(QStringLiteral("Instructions"));
    Dialoog->TweeOptBtn->setEnabled(false);
    Dialoog->ListBox->setEnabled(true);
    Dialoog->HeuristiekBtn->setEnabled(true);
    Dialoog->ExactBtn->setEnabled(true);
    HeuristicPresent = OptimalPresent = false;
    Heuristic.clear();
    Optimal.clear();
    EndDisc = 0;
    OwnPath.reset();
}

void TTSP::WisBtnClick() {
    if (Constructing && Animate) {
        // The first press during an animation only switches it off.
        Animate = false;
        return;
    }
    Cancel = true;
    if (PlacingByClicks || !CitiesComplete) return; // nothing to erase while the cities are being placed
    ForgetTours();
    Dialoog->ResultaatMemo->hide();
    HeuristicClosed = false;
    Dialoog->Info->setText(QString::fromLatin1(kChooseMethod));
    Dialoog->Info->show();
    DrawMap();
}

void TTSP::CancelBtnClick() {
    Cancel = true;
    Dialoog->ResultaatMemo->hide();
    Dialoog->hide();
    Kaart->hide();
    ZetSteden->show();
    ZetSteden->raise();
}

void TTSP::DialoogClosed() {
    Cancel = true;
    Dialoog->hide();
    Kaart->hide();
    ZetSteden->show();
    ZetSteden->raise();
}

// ---------------------------------------------------------------- exact tour

void TTSP::ExactBtnClick() {
    StartExact(true);
}

ExactBound TTSP::exactBound() const {
    return Dialoog && Dialoog->BoundBox->currentIndex() == 1 ? ExactBound::OneTree
                                                             : ExactBound::ReducedMatrix;
}

void TTSP::StartExact(bool fromButton) {
    if (OptimalPresent || Searching || Constructing || !CitiesComplete || PlacingByClicks) return;
    Cancel = false;
    Animate = false;
    Dialoog->TweeOptBtn->setEnabled(false);
    Dialoog->ExactBtn->setEnabled(false);
    Dialoog->ResultaatMemo->show();
    Dialoog->AanwijzingBox->setTitle(QStringLiteral("Tour data"));
    ExactDescription = QString::fromLatin1(kExactTour);
    const QPointer<TTSP> self(this);
    if (fromButton && N > kLongReducedSearch && exactBound() == ExactBound::ReducedMatrix) {
        const int choice =
            MsgDlg(QStringLiteral("With %1 cities the search with the reduced matrix bound may take "
                                  "very long. Use the 1-tree bound (Held–Karp) instead?")
                       .arg(N),
                   MsgKind::Confirmation, tarvik::ui::mbYesNo);
        if (!self || isClosing()) return;
        if (choice == tarvik::ui::mrYes) Dialoog->BoundBox->setCurrentIndex(1);
    }
    const int answer =
        MsgDlg(QStringLiteral("Do you know an upper bound for the length of the optimal tour?"),
               MsgKind::Confirmation, tarvik::ui::mbYesNo);
    if (!self || isClosing()) return;
    if (answer == tarvik::ui::mrNo) {
        BBDlgOK(kInf);
        return;
    }
    BBDlg->Ask();
}

void TTSP::BBDlgOK(double upper) {
    PrepareExactResult();
    Searching = true;
    const QPointer<TTSP> self(this);
    QTimer::singleShot(0, this, [self, upper] {
        if (self && !self->isClosing()) self->RunSearch(upper);
    });
}

void TTSP::BBDlgPrevious() {
    Dialoog->ExactBtn->setEnabled(true);
    if (Dialoog->HeuristiekBtn->isEnabled()) {
        Dialoog->ResultaatMemo->hide();
        Dialoog->Info->show();
        Dialoog->AanwijzingBox->setTitle(QStringLiteral("Instructions"));
    }
}

void TTSP::PrepareExactResult() {
    if (Dialoog->HeuristiekBtn->isEnabled()) {
        Dialoog->ClearResult();
    } else {
        const QStringList lines = Dialoog->ResultLines();
        if (lines.size() == 4) {
            Dialoog->ClearResult();
            Dialoog->AddResultLine(lines[0], true);
            Dialoog->AddResultLine(lines[2]);
            Dialoog->AddResultLine(lines[3]);
        }
    }
    Dialoog->AddResultLine(QStringLiteral("Exact method"), true);
}

void TTSP::RunSearch(double upper) {
    const QPointer<TTSP> self(this);
    Searching = true;
    Cancel = false;
    BB->SetSearching(true);
    Dialoog->CancelBtn->setEnabled(false);
    BB->ListBox->clear();
    tarvik::ui::WaitCursor cursor;
    if (Kaart) BB->move(Kaart->geometry().topLeft() + QPoint(10, 40));
    BB->show();
    BB->raise();
    QCoreApplication::processEvents();
    if (!self || isClosing()) return;

    SearchSink sink(this, Cancel);
    const ExactResult r = ExactTour(Steden, D, upper, exactBound(), sink);
    if (!self) return;
    Searching = false;
    if (isClosing()) return;
    cursor.restore();
    BB->InsertLine(QString::fromLatin1(kCalculationReady));
    BB->SetSearching(false);

    if (!r.found && r.cancelled) {
        // Nothing to show: back to the placement dialog, as "Previous" does.
        Kaart->hide();
        Dialoog->hide();
        BB->hide();
        Dialoog->CancelBtn->setEnabled(true);
        Dialoog->ExactBtn->setEnabled(true);
        ZetSteden->show();
        ZetSteden->raise();
        return;
    }
    if (!r.found) {
        MsgDlg(QStringLiteral("Wrong upper limit! There is no tour with this or shorter length."),
               MsgKind::Error, tarvik::ui::mbOK);
        if (!self || isClosing()) return;
        BB->hide();
        Dialoog->ExactBtn->setEnabled(true);
        Dialoog->CancelBtn->setEnabled(true);
        QTimer::singleShot(0, this, [self] {
            if (self && !self->isClosing()) self->StartExact(false);
        });
        return;
    }
    if (r.cancelled) {
        MsgDlg(
            QStringLiteral("The exact solutions has not yet been found! The best solution so far is shown"),
            MsgKind::Warning, tarvik::ui::mbOK);
        if (!self || isClosing()) return;
        ExactDescription = QString::fromLatin1(kDemolishedExact);
    }
    Optimal = r.tour;
    OptimalPresent = true;
    const std::string line = TourLine(Optimal);
    Dialoog->AddResultLine(QString::fromStdString(ExactVerdict(r)));
    Dialoog->AddResultLine(QStringLiteral("Tour length ") + QString::fromStdString(Fixed(r.best, 8, 2)));
    Kaart->view()->setAccessibleDescription(QStringLiteral("%1 cities; %2, tour length %3; %4")
                                                .arg(N)
                                                .arg(ExactDescription,
                                                     QString::fromStdString(Fixed(r.best, 8, 2)).trimmed(),
                                                     QString::fromStdString(line)));
    Dialoog->AddResultLine(QString::fromStdString(line));
    Report.AddTour(ExactDescription.toStdString(), r.best, line);
    Dialoog->CancelBtn->setEnabled(true);
}

void TTSP::BBButtonClick() {
    if (Searching) {
        Cancel = true;
        return;
    }
    BB->hide();
    Dialoog->CancelBtn->setEnabled(true);
    DrawMap();
}

// ---------------------------------------------------------------- report, picture

void TTSP::DataBtnClick() {
    Data->ShowReport(Report);
    if (QScreen* s = screen()) Data->move(s->availableGeometry().center() - Data->rect().center());
    Data->show();
    Data->raise();
}

void TTSP::SaveBtnClick() {
    tarvik::ui::SaveGraphPicture(Kaart->picture(), QStringLiteral("tsp.bmp"),
                                 [this](QPainter& p) { Kaart->Paint(p, Scene()); });
}

void TTSP::releaseModule() {
    // A run stops at its next test of the flag, before anything it draws on
    // is released; the windows go once control is back in the event loop.
    Cancel = true;
    for (QWidget* w : {static_cast<QWidget*>(ZetSteden.data()), static_cast<QWidget*>(Kaart.data()),
                       static_cast<QWidget*>(Dialoog.data()), static_cast<QWidget*>(Beginstad.data()),
                       static_cast<QWidget*>(BB.data()), static_cast<QWidget*>(BBDlg.data()),
                       static_cast<QWidget*>(Data.data())}) {
        if (!w) continue;
        w->hide();
        w->deleteLater();
    }
}

} // namespace tarvik::tsp::ui

tarvik::ui::ModuleWindow* CreateTSPWindow(QWidget* parent) {
    return new tarvik::tsp::ui::TTSP(parent);
}
