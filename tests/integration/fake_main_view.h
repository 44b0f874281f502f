#pragma once
// A scripted main window for the main job's tests: records what the operations show and answers
// their questions from a script. The rows behave like the list view's: ReplaceRows drops the ticks.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/main_view.h"

class TFakeMainView : public IMainView {
public:
  enum class TBoxKind { Warning, AskWarning, Confirmation, Information };
  struct TBox {
    TBoxKind Kind;
    std::string Text;
  };

  // Script.
  std::deque<TModalResult> Answers;          // for the Yes/No boxes; Yes when empty
  std::optional<std::string> FileToPick;     // the file-open dialog's answer
  std::function<void()> OnPendingMessages;   // runs inside ProcessPendingMessages
  std::function<void(const std::string&)> OnStatusText;

  // Record.
  std::vector<std::string> StatusHistory;
  std::string Status = "initial status";
  std::vector<TBox> Boxes;
  std::vector<bool> ProgressVisibility;
  bool ProgressVisible = false;
  std::vector<int> ProgressRanges;
  std::vector<int> ProgressPositions;
  std::vector<std::pair<std::string, std::string>> DialogRequests;  // title, filter
  std::vector<TListingRow> Rows;
  int Rebuilds = 0;
  int PendingMessageCalls = 0;

  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (const TListingRow& row : Rows) captions.push_back(row.Caption);
    return captions;
  }
  void Tick(const std::string& caption) {
    for (TListingRow& row : Rows)
      if (row.Caption == caption) row.Ticked = true;
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const TBox& box : Boxes) texts.push_back(box.Text);
    return texts;
  }

  void ShowWarning(const std::string& text) override { Boxes.push_back({TBoxKind::Warning, text}); }
  TModalResult AskWarning(const std::string& text) override { return Ask(TBoxKind::AskWarning, text); }
  TModalResult AskConfirmation(const std::string& text) override { return Ask(TBoxKind::Confirmation, text); }
  void ShowInformation(const std::string& text) override { Boxes.push_back({TBoxKind::Information, text}); }

  void SetStatusText(const std::string& text) override {
    Status = text;
    StatusHistory.push_back(text);
    if (OnStatusText) OnStatusText(text);
  }
  void SetProgressVisible(bool visible) override {
    ProgressVisible = visible;
    ProgressVisibility.push_back(visible);
  }
  void SetProgressRange(int maximum) override { ProgressRanges.push_back(maximum); }
  void SetProgressPosition(int position) override { ProgressPositions.push_back(position); }

  int RowCount() const override { return static_cast<int>(Rows.size()); }
  std::string RowCaption(int row) const override { return Rows.at(row).Caption; }
  bool RowTicked(int row) const override { return Rows.at(row).Ticked; }
  void SetRowTicked(int row, bool ticked) override { Rows.at(row).Ticked = ticked; }
  void ReplaceRows(std::vector<TListingRow> rows) override {
    Rows = std::move(rows);
    ++Rebuilds;
  }

  std::optional<std::string> PickCacheIndexFile(const std::string& title, const std::string& filter) override {
    DialogRequests.emplace_back(title, filter);
    return FileToPick;
  }
  void ProcessPendingMessages() override {
    ++PendingMessageCalls;
    if (OnPendingMessages) OnPendingMessages();
  }

private:
  TModalResult Ask(TBoxKind kind, const std::string& text) {
    Boxes.push_back({kind, text});
    if (Answers.empty()) return TModalResult::Yes;
    const TModalResult answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
};
