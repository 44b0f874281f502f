#pragma once
// The picture of a material in a package: a texture's pixels, or what a material made of other
// materials shows first (a sequence's first item, a shader's diffuse, the material a blend, a
// combiner or a texture modifier works on), followed a bounded number of steps. A picture kept in
// another package is reported as such, not looked for.
#include <cstdint>
#include <string>

#include "core/package_objects.h"
#include "core/pictures.h"

enum class TPictureAbsence {
  None,          // the picture is there
  NoPicture,     // no material, or one that leads to none
  OtherPackage,  // detail: that package's name
  NotDecoded,    // detail: the texture format's name, or the class of a material without pixels
  TooLarge,      // above MaxPictureSide by MaxPictureSide
  ChainTooLong,  // materials leading to materials beyond MaxMaterialSteps
  Malformed,     // detail: the fault's text
};

inline constexpr int MaxMaterialSteps = 8;

struct TPictureReading {
  TPicture picture;  // fitted into the box asked for, laid over the checkerboard
  TPictureAbsence absence = TPictureAbsence::None;
  std::string detail;  // as the package has it: not yet fit to be shown
};

// How a picture is shown: fitted into box, enlarged to fill it or only ever made smaller.
struct TPictureBox {
  TPixelSize size;
  bool enlarge = false;
};

// The picture of the material reference (0 none, +n export n-1, -n import n-1).
TPictureReading ReadMaterialPicture(const TPackageObjects& objects, int32_t reference, const TPictureBox& box);
// The picture of a texture export.
TPictureReading ReadTexturePicture(const TPackageObjects& objects, const TPackageExport& texture,
                                   const TPictureBox& box);
