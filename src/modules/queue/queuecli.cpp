#include "modules/queue/queuecli.h"

#include "common/cliargs.h"
#include "common/numformat.h"
#include "modules/queue/queuemodel.h"

#include <algorithm>
#include <optional>

namespace tarvik::queue {
namespace {

constexpr int kInputError = 2;
constexpr int kBreakdown = 3;

constexpr const char* kUsage =
    "Usage: tarvik-solve --queue PAGE [--FIELD TEXT]... [--output CHOICE] [--tvalues T1,...]\n"
    "       [--pvalues P1,...] [--nvalues N1,...] [--points]\n"
    "PAGE: mg1 dg1 mmc mdc dmc gmc fincap mmcn finsrc mm1\n";

int UsageError(std::ostream& err, const std::string& message) {
    err << message << "\n" << kUsage;
    return kInputError;
}

// A text typed into a field: refused when the field's filter would change it.
bool Typed(const std::string& text, bool integer) {
    return !FilterFieldText(text, 0, integer).changed;
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // Name/value pairs, "--name value" and "--name=value" alike.
    std::vector<std::pair<std::string, std::string>> options;
    bool points = false;
    std::optional<std::string> pageWord;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("--", 0) != 0) return UsageError(err, "Unexpected argument: " + args[i]);
        const OptionWord option = SplitOptionWord(args[i]);
        const std::string name = option.name.substr(2);
        if (name == "points") {
            if (option.value) return UsageError(err, "--points takes no value");
            points = true;
            continue;
        }
        const auto value = TakeValue(option, args, i);
        if (!value) return UsageError(err, "Missing value after --" + name);
        if (name == "queue") {
            if (pageWord) return UsageError(err, "Only one page per call");
            pageWord = *value;
            continue;
        }
        options.emplace_back(name, *value);
    }
    if (!pageWord) return UsageError(err, "Missing page after --queue");
    const PageInfo* page = nullptr;
    for (const PageInfo& p : Pages())
        if (*pageWord == p.word) page = &p;
    if (!page) return UsageError(err, "Unknown page: " + *pageWord);
    if (!page->run) {
        err << "The " << page->word << " page (" << page->caption << ") has no model in this build\n";
        return kInputError;
    }

    PageInput input;
    for (const ChoiceDef& c : page->choices) input.choices[c.group] = c.words.front();
    for (const auto& [name, value] : options) {
        auto field = std::find_if(page->fields.begin(), page->fields.end(),
                                  [&](const FieldDef& f) { return name == f.name; });
        if (field != page->fields.end()) {
            if (!Typed(value, field->integer))
                return UsageError(err, "--" + name + ": the field takes only digits" +
                                           (field->integer ? "" : " and a point") + ", not \"" + value +
                                           "\"");
            input.fields[name] = value;
            continue;
        }
        auto choice = std::find_if(page->choices.begin(), page->choices.end(),
                                   [&](const ChoiceDef& c) { return name == c.group; });
        if (choice != page->choices.end()) {
            if (std::find(choice->words.begin(), choice->words.end(), value) == choice->words.end()) {
                std::string words;
                for (const auto& w : choice->words) words += (words.empty() ? "" : "|") + w;
                return UsageError(err, "--" + name + " takes " + words + " on the " + page->word + " page");
            }
            input.choices[name] = value;
            continue;
        }
        if (name == "tvalues" || name == "pvalues" || name == "nvalues") {
            const bool has = name[0] == 't' ? page->hasT : name[0] == 'p' ? page->hasP : page->hasN;
            if (!has)
                return UsageError(err,
                                  "The " + std::string(page->word) + " page has no " + name[0] + "-values");
            const auto items = SplitList(value);
            if (items.size() > static_cast<std::size_t>(kListSize))
                return UsageError(err, "--" + name + ": at most twelve values");
            ListTexts& list = name[0] == 't' ? input.tvalues : name[0] == 'p' ? input.pvalues : input.nvalues;
            for (std::size_t k = 0; k < items.size(); ++k) {
                if (!Typed(items[k], name[0] == 'n'))
                    return UsageError(err,
                                      "--" + name + ": \"" + items[k] + "\" is not what the field accepts");
                list[k] = items[k];
            }
            continue;
        }
        return UsageError(err, "Unknown option for the " + std::string(page->word) + " page: --" + name);
    }

    const RunResult result = RunPage(page->page, input);
    if (!result.inputError.empty()) {
        err << result.inputError << "\n";
        return kInputError;
    }
    for (const ReportLine& line : result.report.lines) out << line.text << "\n";
    if (!result.breakdownBox.empty()) err << result.breakdownBox << "\n";
    if (points && result.graphWindow)
        for (const GraphData& g : result.graphWindow->graphs) {
            out << g.graphTitle << "\n";
            for (const auto& [x, y] : g.points) out << Format("%.17g\t%.17g", x, y) << "\n";
        }
    return result.breakdown ? kBreakdown : 0;
}

} // namespace tarvik::queue
