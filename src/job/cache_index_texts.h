#pragma once
// The cache catalogue's own message texts.

inline constexpr const char* CacheEmptyText = "The cache is empty.";
inline constexpr const char* CannotOpenFileText = "Cannot open file \"%s\". %s";
inline constexpr const char* CannotCreateFileText = "Cannot create file \"%s\". %s";
inline constexpr const char* StreamReadErrorText = "Stream read error";
inline constexpr const char* StreamWriteErrorText = "Stream write error";
