#pragma once
// Package files as a player downloads them: a .uz2 made chunk by chunk with zlib, independently of
// the program's writer, and zip archives.
#include <zlib.h>

#include <string>
#include <utility>
#include <vector>

#include "core/memory_streams.h"
#include "core/text_rules.h"
#include "core/zip_archive.h"

inline std::string Le32(size_t v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }

// A .uz2 made here chunk by chunk with zlib at its strongest, independently of the program's writer.
inline std::string Uz2Of(const std::string& bytes) {
  std::string uz2;
  for (size_t at = 0; at < bytes.size(); at += 32768) {
    const std::string piece = bytes.substr(at, 32768);
    std::string chunk(compressBound(piece.size()), '\0');
    uLongf size = chunk.size();
    compress2(reinterpret_cast<Bytef*>(chunk.data()), &size, reinterpret_cast<const Bytef*>(piece.data()), piece.size(), 9);
    uz2 += Le32(size) + Le32(piece.size()) + chunk.substr(0, size);
  }
  return uz2;
}

inline std::string ZipOf(const std::vector<std::pair<std::string, std::string>>& members) {
  TMemorySink archive;
  TZipWriter writer(archive);
  for (const auto& [name, bytes] : members) {
    TMemorySource source(bytes);
    writer.Add(name, source);
  }
  writer.Finish();
  return archive.bytes;
}
