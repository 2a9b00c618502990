#pragma once
// What a page's Run hands to its model and what comes back. A model is a
// function of the page's field texts and choices; it returns its input-error
// message, or the report lines for the log and the graphs to show. The window
// and `tarvik-solve --queue` both call the models through the page table; the
// window builds each page from it too: the rows of fields, the radio groups,
// the value lists and the choices they follow.
#include "modules/queue/queuenum.h"
#include "modules/queue/queuereport.h"

#include <array>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tarvik::queue {

// The ten pages, in the order of the page control.
enum class Page { MG1, DG1, MMC, MDC, DMC, GMC, FinCap, MMCN, FinSrc, MM1 };
inline constexpr int kPageCount = 10;

struct PageInput {
    // Field texts by the field's short name: "c", "rho", "cs2", "ca2", "n", "m",
    // "nu", "i", "j", "t", "lambda", "es", "from", "to".
    std::map<std::string, std::string> fields;
    // Choices by group name and item word ("output" -> "wait", "service" -> ...).
    std::map<std::string, std::string> choices;
    ListTexts tvalues{}, pvalues{}, nvalues{};

    std::string Field(const std::string& name) const;
    std::string Choice(const std::string& group) const;
};

// One graph of a graph window.
struct GraphData {
    std::string graphTitle; // "P(Wq>t | Wq>0)"
    std::string xTitle;     // "Time t"
    std::string yTitle;     // "Probability"
    bool logY = true;       // designed logarithmic from 0.001 to 1
    double yMin = 0.001, yMax = 1;
    bool autoY = false;    // a linear y-axis sized to the points
    int markersBelow = 25; // point markers while there are fewer points, else a line
    GraphPoints points;    // series 1
    // A time axis of fixed length (0 to t) rather than one sized to the points.
    bool fixedX = false;
    double xMin = 0, xMax = 0;
};

// The two graphs most models draw: "P(Wq>t | Wq>0)" over "Time t" and
// "P(L>n | L>0)" over "State n".
GraphData WaitGraph(GraphPoints points);
GraphData StateGraph(GraphPoints points);

// The three graph window designs.
enum class GraphDesign { MG1, DG1, GMC };

struct GraphWindowData {
    GraphDesign design = GraphDesign::MG1;
    std::string title;
    // MG1 and DG1: label1 = CS2 (or c), label2 = rho; GMC: CA2, rho, c.
    std::string label1, label2, label3;
    std::string service;
    std::vector<GraphData> graphs;
};

struct RunResult {
    // Not empty: an input error; the error box shows it and nothing is written.
    std::string inputError;
    std::string errorCaption = "Error";
    Report report;
    // The run broke down; its lines are at the end of the report, or, for the
    // routines that report in a message box, in `breakdownBox`.
    bool breakdown = false;
    std::string breakdownBox;
    std::string breakdownCaption = "Error";
    // Lists read by the run, with their texts in the new order.
    std::optional<ListTexts> tvalues, pvalues, nvalues;
    // A graph window was made (it takes a place in the cascade) ...
    bool graphWindowCreated = false;
    // ... and is shown with these graphs.
    std::optional<GraphWindowData> graphWindow;
};

using ModelFunction = void (*)(const PageInput& input, RunResult& result);

// A field of a page and the row that shows it: a label, the field and the
// field's limits beside it.
struct FieldDef {
    const char* name; // as in PageInput::fields and "--name" on the command line
    bool integer;
    const char* widget = ""; // the field's object name
    const char* label = "";
    const char* limits = "";
    const char* hint = ""; // the field's tooltip
    // The group box that holds the row ("" the page's own rows); the page reads
    // the field only while its box is shown. A "to" field joins the row of the
    // "from" field before it: "<label> [from] to [to] <limits>".
    const char* box = "";
    // The row is shown only while this holds ("" always): "group=word|word" or
    // "group!=word|word".
    const char* when = "";
    // The label and the limits that follow a choice, one text per word of the
    // choice (none: the label and limits above stay).
    const char* follows = "";
    std::vector<std::string> labels = {}, limitsByChoice = {};
};

// A group of radio buttons of a page that sets a choice.
struct RadioDef {
    const char* widget; // object name
    const char* caption;
    std::vector<std::string> items;
    // The choice's word of each item (empty: the choice's words).
    std::vector<std::string> words = {};
    // The group is shown only while this holds ("" always); of two groups of
    // one choice, the shown one sets it.
    const char* when = "";
};

struct ChoiceDef {
    const char* group; // "output", "service", ...
    std::vector<std::string> words;
    std::vector<RadioDef> radios;
};

// A group box of fields, shown only while `when` holds.
struct BoxDef {
    const char* widget;
    const char* caption;
    const char* when;
};

struct PageInfo {
    Page page;
    const char* caption; // tab caption
    const char* heading; // heading on the page
    const char* word;    // tarvik-solve page word
    int helpContext;
    ModelFunction run; // nullptr while the model is not built
    std::vector<FieldDef> fields;
    std::vector<ChoiceDef> choices;
    bool hasT, hasP, hasN; // value lists on the page
    // The value lists' object names begin with this ("MG1": "MG1_TEditGroup",
    // "MG1_TEdit1" ...); their captions as the page opens.
    const char* lists = "";
    const char* tCaption = "";
    const char* pCaption = "";
    const char* nCaption = "";
    std::vector<BoxDef> boxes = {};
};

const std::vector<PageInfo>& Pages();
const PageInfo& PageOf(Page page);
// Whether the page's choices meet a condition "group=word|word" or
// "group!=word|word" (an empty condition always holds).
bool Holds(const std::string& condition, const PageInput& input);
// The value list a page shows for an output choice: 't', 'p', 'n' or 0.
char ValueListOf(const std::string& output);

// The page's output choice ("standard" when none is given).
std::string ChosenOutput(const PageInput& input);
// The value list the chosen output reads: "wait" the t-values (at most
// `tUpper`), "percentiles" the p-values, an output named in `stateOutputs`
// the n-values (at most `nUpper`); "graphs" opens the graph window. The list's
// texts as read go back to the page.
ValueList ReadOutputList(const PageInput& input, const std::string& output, double tUpper, double nUpper,
                         RunResult& result, std::initializer_list<const char*> stateOutputs = {"states"});

// A field that must hold a number: the message `bad` when it does not. Empty
// after an input error.
std::optional<int> IntegerField(const PageInput& input, RunResult& result, const std::string& field,
                                const std::string& bad);
std::optional<double> RealField(const PageInput& input, RunResult& result, const std::string& field,
                                const std::string& bad);
// True, with the message `range`, when a value lies `outside` its range.
bool OutOfRange(RunResult& result, bool outside, const std::string& range);

// A field read and checked against [lo, hi]: the message `bad` when it holds
// no number, `range` when it lies outside. Empty after an input error.
std::optional<int> ReadIntegerField(const PageInput& input, RunResult& result, const std::string& field,
                                    int lo, int hi, const std::string& bad, const std::string& range);
std::optional<double> ReadRealField(const PageInput& input, RunResult& result, const std::string& field,
                                    double lo, double hi, const std::string& bad, const std::string& range);

// The fields "c" (1 to `maxC`) and "rho" (1e-10 to `maxRho`) of the models
// with c servers, checked in that order; `rhoName` spells rho in the messages
// ("c incorrect", "c out of range", "<rhoName> incorrect", "<rhoName> out of
// range"). Empty after an input error.
struct ServersAndLoad {
    int c = 1;
    double rho = 0;
};
std::optional<ServersAndLoad> ReadServersAndLoad(const PageInput& input, RunResult& result, int maxC,
                                                 double maxRho, const std::string& rhoName = "Rho");

// Runs a page's model: breakdowns end the run with their lines in the log.
RunResult RunPage(Page page, const PageInput& input);
// Runs a model function the same way.
RunResult RunModel(ModelFunction run, const PageInput& input);

} // namespace tarvik::queue
