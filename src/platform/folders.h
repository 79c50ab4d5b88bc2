// The folders service: where the game's files live, and the process environment.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vorlan {

class Folders {
 public:
  virtual ~Folders() = default;

  // The program folder (the executable's folder, with Pictures/, Sounds/, OtherFiles/ beside it).
  virtual std::filesystem::path ProgramFolder() = 0;
  // The data folder standing in for "c:\Windows\" (created on demand).
  virtual std::filesystem::path DataFolder() = 0;
  // The value of an environment variable; empty when it is not set.
  virtual std::string GetEnv(std::string_view name) = 0;
};

}  // namespace vorlan
