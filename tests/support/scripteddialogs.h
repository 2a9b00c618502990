#pragma once
// A dialog service for tests: records every question and answers from queues
// instead of opening a modal dialog.
#include "common/ui/dialogservice.h"

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace tarvik::test {

class ScriptedDialogs : public tarvik::ui::DialogService {
public:
    // Installs itself as the program's dialog service; the destructor restores
    // the previous one.
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    int message(const tarvik::ui::MessageRequest& request) override;
    std::optional<QString> saveFileName(const tarvik::ui::FileRequest& request) override;
    std::optional<QString> openFileName(const tarvik::ui::FileRequest& request) override;
    std::optional<QFont> font(QWidget* parent, const QFont& initial) override;
    std::optional<QString> text(const tarvik::ui::TextRequest& request) override;
    std::optional<int> choice(const tarvik::ui::ChoiceRequest& request) override;
    bool print(QPrinter& printer, QWidget* parent) override;
    bool printerSetup(QPrinter& printer, QWidget* parent) override;

    // Answers, used in order. An empty queue answers a message with its first
    // button (Yes or OK), a file dialog with Cancel, a font dialog with Cancel,
    // a print dialog with Cancel.
    std::deque<int> messageAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<QFont>> fontAnswers;
    std::deque<bool> printAnswers;
    // Answers of text questions (nothing: Cancel); an empty queue cancels.
    std::deque<std::optional<QString>> textAnswers;
    // Answers of list choices (nothing: Cancel); an empty queue takes the
    // item the dialog opens with.
    std::deque<std::optional<int>> choiceAnswers;
    // Called with the printer when a print dialog is answered true (a test may
    // point it at a PDF file).
    std::function<void(QPrinter&)> preparePrinter;

    // What was asked.
    std::vector<tarvik::ui::MessageRequest> messages;
    std::vector<tarvik::ui::FileRequest> fileRequests;
    std::vector<tarvik::ui::TextRequest> textRequests;
    std::vector<tarvik::ui::ChoiceRequest> choiceRequests;
    int fontRequests = 0;
    int printRequests = 0;

    // The texts of the messages asked so far.
    std::vector<QString> messageTexts() const;
    void clear();

private:
    tarvik::ui::DialogService* previous_ = nullptr;
};

} // namespace tarvik::test
