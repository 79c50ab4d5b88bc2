// Shared helpers: headless games with content, the battle's range check, and sample buffers.
#include "support/test_game.h"

#include <cmath>

#include "numbers.h"

// Last: the macros of windows.h (DrawText, PlaySound) would rename the game's names above.
#ifdef _WIN32
// windows.h must come first
// clang-format off
#include <windows.h>
#include <tlhelp32.h>
// clang-format on
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vorlan::testing {

std::filesystem::path BuiltProgramDir() { return VORLAN_PROGRAM_DIR; }

#ifdef _WIN32
long EndedProcessId() {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  wchar_t command[] = L"cmd.exe /c exit 0";
  if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                      &pi))
    return -1;
  WaitForSingleObject(pi.hProcess, INFINITE);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);  // the id is free only once no handle holds the process
  return static_cast<long>(pi.dwProcessId);
}

long ParentProcessId() {
  long parent = -1;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W e{};
  e.dwSize = sizeof e;
  for (BOOL ok = Process32FirstW(snap, &e); ok; ok = Process32NextW(snap, &e))
    if (e.th32ProcessID == GetCurrentProcessId()) parent = static_cast<long>(e.th32ParentProcessID);
  CloseHandle(snap);
  return parent;
}
#else
long EndedProcessId() {
  pid_t ended = fork();
  if (ended == 0) _exit(0);
  if (ended > 0) waitpid(ended, nullptr, 0);
  return static_cast<long>(ended);
}

long ParentProcessId() { return static_cast<long>(getppid()); }
#endif

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

std::string WorldOutOfRange(const Game& g) {
  const auto& w = g.world;
  auto in = [](double v, double lo, double hi) { return std::isfinite(v) && v >= lo && v <= hi; };
  if (!in(w.SpawnSlot, 0, kSoldierSlots) || !in(w.AliveCount, 0, kSoldierSlots) || !in(w.FireMode, 1, 3) ||
      !in(w.HitHistoryCount, 0, 10))
    return "counters";
  for (int i = 0; i < kSoldierSlots; ++i) {
    const Soldier& s = w.Soldiers[i];
    if (s.Alive != kTrue && s.Alive != kFalse) return "soldier " + std::to_string(i) + " Alive";
    if (s.Alive == 0) continue;
    // The shaking drug moves the player's health by up to one a frame without a death check (the
    // next hit's check ends a player below 1), so over its 600 frames it may wander that far down.
    const double leastHealth = i == 0 ? -600 : 1;
    if (!in(s.X, -250, 550) || !in(s.Y, -250, 550) || !in(s.Health, leastHealth, 30000) ||
        !in(s.Facing, 0, 360) || !in(s.WalkDir, -360, 720) || !in(s.Ammo, 0, 32767) || !in(s.Speed, 0, 30) ||
        !in(s.Range, 0, 300) || !in(s.Power, 3, 16) || !in(s.RechargeTime, 4, 20))
      return "soldier " + std::to_string(i);
  }
  const Soldier& p = w.Soldiers[0];
  if (p.Alive != 0 &&
      (!in(p.ProxExp, 0, 100) || !in(p.AimExp, 0, 100) || !in(p.TimeExp, 0, 100) || !in(p.Melee, 0, 11) ||
       (p.Melee < 11 && !in(p.MeleeExp, 0, 99)) || !in(p.Spread, -3, 30) || !in(p.Power, 3, 14)))
    return "player skills";
  for (const auto& b : w.Bullets)
    if (b.BulletRange >= 1 && (!in(b.BulletOwner, 0, kSoldierSlots - 1) || !in(b.BulletRange, 1, 400)))
      return "bullet";
  for (int k = 0; k < kSheepSlots; ++k)
    if (w.Sheep[k].SheepAlive != 0 && (k > 20 || !in(w.Sheep[k].SheepKind, 1, 2))) return "sheep";
  for (int a = 0; a < kAcidKinds; ++a)
    if (!in(w.AcidTimer[a], -1, 600)) return "AcidTimer";
  if (!in(w.SnowCount, 0, kSnowSlots - 1) || !in(g.timing.WaveLeft, 0, 35)) return "snow or wave";
  return {};
}

PcmData ConstantPcm(size_t frames, int16_t left, int16_t right) {
  PcmData d;
  for (size_t i = 0; i < frames; ++i) d.samples.insert(d.samples.end(), {left, right});
  return d;
}

PcmData RampPcm(size_t frames) {
  PcmData d;
  for (size_t i = 0; i < frames; ++i)
    d.samples.insert(d.samples.end(),
                     {static_cast<int16_t>(i), static_cast<int16_t>(-static_cast<int>(i & 0x7FFF))});
  return d;
}

}  // namespace vorlan::testing
