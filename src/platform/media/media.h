// Pictures and fonts on disk: JPEG/BMP load and save, and the TrueType text renderer.
#pragma once

#include <filesystem>
#include <memory>

#include "platform/surface.h"

namespace vorlan {

// The size a JPEG or BMP file declares in its header, read without decoding anything. False for
// other files and damaged headers.
bool PictureFileSize(const std::filesystem::path& file, int& w, int& h);
// Loads a JPEG or BMP file into the surface (resized to the picture). False on failure, and for
// pictures whose header declares more than any game picture needs (refused before decoding).
bool LoadPictureFile(const std::filesystem::path& file, Surface& into);
// Saves a 24-bit BMP.
bool SaveBmpFile(const Surface& s, const std::filesystem::path& file);
// Saves a baseline JPEG at quality 1..100 without chroma subsampling (4:4:4), so hard black and
// white edges survive.
bool SaveJpegFile(const Surface& s, const std::filesystem::path& file, int quality);
// The TrueType renderer (Liberation Sans and Mono), fonts opened lazily and cached.
std::unique_ptr<TextRenderer> MakeTextRenderer();

}  // namespace vorlan
