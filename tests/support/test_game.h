// A whole game on the headless platform for tests: fresh temporary program and data folders,
// optionally filled with the generated content (pictures, sounds, data files) of the build.
#pragma once

#include <filesystem>
#include <string>

#include "game.h"
#include "platform/headless/headless_platform.h"

namespace vorlan::testing {

// The built program folder with the generated content beside the executable.
std::filesystem::path BuiltProgramDir();

// Copies the generated content folders (Pictures, Sounds, OtherFiles, Upload) into folder.
// False when the build has no content yet.
bool CopyContent(const std::filesystem::path& folder);

struct TestGame {
  enum class Content { None, Copied };
  explicit TestGame(Content content = Content::None);
  TestGame(const TestGame&) = delete;
  TestGame& operator=(const TestGame&) = delete;

  HeadlessPlatform plat;
  Game g;
  bool contentCopied = false;
};

// The first record of the battle outside its documented range, or "" when all are in range.
std::string WorldOutOfRange(const Game& g);

// The id of a process that has ended (started and waited for here), and of one that still runs
// and is not this one (the parent).
long EndedProcessId();
long ParentProcessId();

// A stereo 22050 Hz buffer: frames of a constant left and right sample, for mixer tests.
PcmData ConstantPcm(size_t frames, int16_t left, int16_t right);
// A stereo 22050 Hz buffer whose frame i holds (i, -i) (wrapping in 16 bits): every frame can
// be told apart, which shows where a voice is playing from.
PcmData RampPcm(size_t frames);

}  // namespace vorlan::testing
