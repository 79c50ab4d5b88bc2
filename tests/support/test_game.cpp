// Shared helpers: headless games with content, and sample buffers.
#include "support/test_game.h"

namespace vorlan::testing {

std::filesystem::path BuiltProgramDir() { return VORLAN_PROGRAM_DIR; }

bool CopyContent(const std::filesystem::path& folder) {
  bool any = false;
  for (const char* name : {"Pictures", "Sounds", "OtherFiles", "Upload"}) {
    auto from = BuiltProgramDir() / name;
    std::error_code ec;
    if (!std::filesystem::is_directory(from, ec)) continue;
    std::filesystem::copy(
        from, folder / name,
        std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing, ec);
    any = any || !ec;
  }
  return any;
}

TestGame::TestGame(Content content) : plat(), g(plat) {
  if (content == Content::Copied) contentCopied = CopyContent(plat.ProgramDir());
}

PcmData ConstantPcm(size_t frames, int16_t left, int16_t right) {
  PcmData d;
  d.samples.resize(frames * 2);
  for (size_t i = 0; i < frames; ++i) {
    d.samples[2 * i] = left;
    d.samples[2 * i + 1] = right;
  }
  return d;
}

PcmData RampPcm(size_t frames) {
  PcmData d;
  d.samples.resize(frames * 2);
  for (size_t i = 0; i < frames; ++i) {
    d.samples[2 * i] = static_cast<int16_t>(i);
    d.samples[2 * i + 1] = static_cast<int16_t>(-static_cast<int>(i & 0x7FFF));
  }
  return d;
}

}  // namespace vorlan::testing
