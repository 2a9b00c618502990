#include "support/scripteddialogs.h"

namespace tarvik::test {

using namespace tarvik::ui;

namespace {
DialogService* gInstalled = nullptr;
}

ScriptedDialogs::ScriptedDialogs() : previous_(gInstalled) {
    gInstalled = this;
    SetDialogService(this);
}

ScriptedDialogs::~ScriptedDialogs() {
    gInstalled = previous_;
    SetDialogService(previous_);
}

int ScriptedDialogs::message(const MessageRequest& request) {
    messages.push_back(request);
    if (!messageAnswers.empty()) {
        int answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    if (request.buttons & mbYes) return mrYes;
    if (request.buttons & mbOK) return mrOk;
    return mrCancel;
}

std::optional<QString> ScriptedDialogs::saveFileName(const FileRequest& request) {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return std::nullopt;
    const bool given = fileAnswers.front().has_value();
    const QString name = given ? *fileAnswers.front() : QString();
    fileAnswers.pop_front();
    if (!given) return std::nullopt;
    return name;
}

std::optional<QString> ScriptedDialogs::openFileName(const FileRequest& request) {
    return saveFileName(request);
}

std::optional<QFont> ScriptedDialogs::font(QWidget*, const QFont&) {
    ++fontRequests;
    if (fontAnswers.empty()) return std::nullopt;
    auto answer = fontAnswers.front();
    fontAnswers.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::text(const TextRequest& request) {
    textRequests.push_back(request);
    // A refused answer is told and the question stays: the next answer follows.
    while (!textAnswers.empty()) {
        const std::optional<QString> answer = textAnswers.front();
        textAnswers.pop_front();
        if (!answer) return std::nullopt;
        const QString why = request.refusal ? request.refusal(*answer) : QString();
        if (why.isEmpty()) return answer;
        message({.text = why, .kind = MsgKind::Error, .buttons = mbOK});
    }
    return std::nullopt;
}

std::optional<int> ScriptedDialogs::choice(const ChoiceRequest& request) {
    choiceRequests.push_back(request);
    if (choiceAnswers.empty()) return request.current;
    const std::optional<int> answer = choiceAnswers.front();
    choiceAnswers.pop_front();
    return answer;
}

bool ScriptedDialogs::print(QPrinter& printer, QWidget*) {
    ++printRequests;
    if (printAnswers.empty()) return false;
    bool answer = printAnswers.front();
    printAnswers.pop_front();
    if (answer && preparePrinter) preparePrinter(printer);
    return answer;
}

bool ScriptedDialogs::printerSetup(QPrinter&, QWidget*) {
    ++printRequests;
    if (printAnswers.empty()) return false;
    bool answer = printAnswers.front();
    printAnswers.pop_front();
    return answer;
}

std::vector<QString> ScriptedDialogs::messageTexts() const {
    std::vector<QString> texts;
    for (const auto& m : messages) texts.push_back(m.text);
    return texts;
}

void ScriptedDialogs::clear() {
    messages.clear();
    fileRequests.clear();
    textRequests.clear();
    choiceRequests.clear();
    fontRequests = 0;
    printRequests = 0;
}

} // namespace tarvik::test
