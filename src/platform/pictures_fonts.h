// The pictures-and-fonts service: picture files, the text renderer, and the memory figures that
// decide how many pictures are kept.
#pragma once

#include <cstdint>
#include <filesystem>

#include "platform/surface.h"

namespace vorlan {

class PicturesAndFonts {
 public:
  virtual ~PicturesAndFonts() = default;

  // Loads a JPEG or BMP file into the surface (resized to the picture). False on failure.
  virtual bool LoadPicture(const std::filesystem::path& file, Surface& into) = 0;
  // The size a JPEG or BMP file declares, from its header alone. False for other files.
  virtual bool PictureSize(const std::filesystem::path& file, int& w, int& h) = 0;
  // Saves a 24-bit BMP, replacing the file only when complete.
  virtual bool SaveBmp(const Surface& s, const std::filesystem::path& file) = 0;
  // Saves a JPEG at quality 1..100, replacing the file only when complete.
  virtual bool SaveJpeg(const Surface& s, const std::filesystem::path& file, int quality) = 0;
  // The text renderer (lives as long as the platform).
  virtual const TextRenderer& Fonts() = 0;
  // Physical memory in bytes: total and available.
  virtual void MemoryStatus(uint64_t& total, uint64_t& avail) = 0;
};

}  // namespace vorlan
