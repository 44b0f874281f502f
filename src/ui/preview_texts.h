#pragma once
// The texts of what the preview pane and the details show of a package's contents.
namespace PreviewTexts {
inline constexpr const char* NothingSelected = "Select a package to see what it holds.";
inline constexpr const char* Reading = "Reading...";
inline constexpr const char* MoreTextures = "and %u more";
inline constexpr const char* NoTextures = "It holds no textures.";
// A package whose header was read but not its objects.
inline constexpr const char* ContentsUnreadable = "Its contents cannot be read: %s";
inline constexpr const char* PaneClass = "PellorinPreviewPane";
inline constexpr const char* ThumbnailGridClass = "PellorinThumbnails";
}  // namespace PreviewTexts
