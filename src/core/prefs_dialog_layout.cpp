#include "core/prefs_dialog_layout.h"

#include <algorithm>

#include "core/prefs_model.h"

namespace {
constexpr int FirstRowTop = PathsPanelRect.Top + 32;
constexpr int RowPitch = 24;
constexpr int EditLeft = PathsPanelRect.Left + 80;
constexpr int EditWidth = 361;
constexpr int EditHeight = 21;
// The folder button lies inside the right end of its edit, clear of the edit's border.
constexpr int BrowseWidth = 20;
constexpr int EditBorder = 2;
constexpr int ButtonsTop = 376;
constexpr int ButtonHeight = 25;
}  // namespace

const std::vector<TControlPlace>& PrefsControlPlaces() {
  static const std::vector<TControlPlace> places = [] {
    std::vector<TControlPlace> list{
        {TPrefsControl::PathsPanel, 0, PathsPanelRect},
        {TPrefsControl::OptionsPanel, 0, OptionsPanelRect},
        {TPrefsControl::RegMutators, 0, {OptionsPanelRect.Left + 8, OptionsPanelRect.Top + 32, 193, 17}},
        {TPrefsControl::PromptMutators, 0, {OptionsPanelRect.Left + 25, OptionsPanelRect.Top + 49, 233, 17}},
        {TPrefsControl::QuickPath, 0, {8, ButtonsTop, 113, ButtonHeight}},
        {TPrefsControl::Save, 0, {302, ButtonsTop, 75, ButtonHeight}},
        {TPrefsControl::Cancel, 0, {382, ButtonsTop, 75, ButtonHeight}},
    };
    for (int row = 0; row < static_cast<int>(FolderPrefCount); ++row) {
      const int top = FirstRowTop + row * RowPitch;
      list.push_back({TPrefsControl::FolderLabel, row, {PathsPanelRect.Left + 8, top + 4, 70, 13}});
      list.push_back({TPrefsControl::FolderEdit, row, {EditLeft, top, EditWidth, EditHeight}});
      list.push_back({TPrefsControl::FolderButton, row,
                      {EditLeft + EditWidth - EditBorder - BrowseWidth, top + EditBorder, BrowseWidth,
                       EditHeight - 2 * EditBorder}});
    }
    return list;
  }();
  return places;
}

TPickerLayout LayOutFolderPicker(TPixelSize client) {
  constexpr int margin = 9, gap = 6, buttonHeight = 23, statusHeight = 16;
  constexpr int createWidth = 100, deleteWidth = 75, okWidth = 88;
  TPickerLayout layout;
  layout.CreateFolder = {margin, margin, createWidth, buttonHeight};
  layout.Delete = {layout.CreateFolder.Right() + gap, margin, deleteWidth, buttonHeight};
  const int bottomRow = client.Height - margin - buttonHeight;
  layout.Cancel = {client.Width - margin - okWidth, bottomRow, okWidth, buttonHeight};
  layout.Ok = {layout.Cancel.Left - gap - okWidth, bottomRow, okWidth, buttonHeight};
  layout.Status = {margin, bottomRow - gap - statusHeight, client.Width - 2 * margin, statusHeight};
  const int treeTop = layout.CreateFolder.Bottom() + gap;
  // However small the picker is made, no height or width goes below zero.
  layout.Tree = {margin, treeTop, std::max(0, client.Width - 2 * margin),
                 std::max(0, layout.Status.Top - gap - treeTop)};
  layout.Status.Width = std::max(0, layout.Status.Width);
  return layout;
}

std::string FolderTextFromPath(const std::string& fileSystemPath) {
  std::string text = fileSystemPath;
  const bool driveRoot = text.size() == 3 && text[1] == ':' && text[2] == '\\';
  while (!driveRoot && text.size() > 1 && text.back() == '\\') text.pop_back();
  return text;
}
