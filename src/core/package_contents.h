#pragma once
// What a package holds, as the preview pane and the details show it: for a map its title, author,
// player counts, description and screenshot; for a texture package its textures as thumbnails;
// for any other package how many objects of each class it exports. Every text read from the
// package comes out fit to be shown as text: control bytes gone, cut at a sane length.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_streams.h"
#include "core/package_kinds.h"
#include "core/package_pictures.h"

struct TContentsLimits {
  TPictureBox screenshot;
  TPictureBox thumbnail;
  size_t thumbnails = 0;  // how many textures are read at most
};

struct TNamedPicture {
  std::string name;
  TPictureReading picture;
};

struct TPackageContents {
  std::string failure;      // why the package's tables could not be read; empty when they were
  bool headerRead = false;  // the failure lies past the header
  std::vector<std::string> lines;  // a map's summary, or another package's count of objects
  bool isMap = false;              // and so has a screenshot, or its absence
  TPictureReading screenshot;
  bool isTexturePackage = false;
  std::vector<TNamedPicture> thumbnails;
  size_t moreTextures = 0;  // textures beyond the limit
};

// Reads what the package of the kind holds; only its tables and the objects shown are read.
TPackageContents ReadPackageContents(IRandomAccessSource& source, TPackageKind kind, const TContentsLimits& limits);

// The words for why a picture is not there ("The picture is in another package, Shots."), or in
// brief for a thumbnail's small frame ("in Shots").
std::string PictureAbsenceText(const TPictureReading& reading, bool brief = false);

// A text from a package as it may be shown: tabs and line ends made spaces, other control bytes
// removed, and cut after maxBytes with "..." appended.
std::string ShownPackageText(std::string_view text, size_t maxBytes);
