#pragma once
// Message boxes for the window tests: they record their texts and answer every question No.
#include <string>
#include <vector>

#include "job/message_boxes.h"

class TRecordedBoxes : public IMessageBoxes {
public:
  std::vector<std::string> Shown;
  void ShowWarning(const std::string& text) override { Shown.push_back(text); }
  TModalResult AskWarning(const std::string& text) override { return Shown.push_back(text), TModalResult::No; }
  TModalResult AskConfirmation(const std::string& text) override { return Shown.push_back(text), TModalResult::No; }
  void ShowInformation(const std::string& text) override { Shown.push_back(text); }
};
