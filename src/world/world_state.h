// The records and tables of a running game (module Engine, with the soldier table shared with
// the AI). Text-held numbers are doubles holding the value of their decimal text.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vorlan {

constexpr int kSoldierSlots = 51;  // 0 = player, 1..50 enemies
constexpr int kBulletSlots = 201;
constexpr int kSheepSlots = 201;
constexpr int kSheepInPlay = 21;  // the sheep logic uses slots 0..20 only
constexpr int kCrateSlots = 10;
constexpr int kAcidKinds = 4;
// The acid kinds: two good, two bad.
namespace acid {
constexpr int Ammo = 0, Health = 1, Shakes = 2, Jitter = 3;
}  // namespace acid
// AirRaidKind: what the aircraft brings; Delivered once it has dropped it.
namespace raid {
constexpr int16_t Delivered = 0, HealthDrop = 1, AmmoDrop = 2, Bomb = 3, SupplyRun = 4;
}  // namespace raid
constexpr int kBloodSlots = 201;
constexpr int kSnowSlots = 3001;
constexpr int kIntervalTimers = 11;

struct Soldier {
  int16_t Alive = 0;
  float X = 0, Y = 0;                // top-left of the 21 x 21 sprite; centre is (X + 10, Y + 10)
  float WalkLeft = 0;                // distance still to walk on the current walk order
  int16_t WalkDir = 0;               // degrees
  int16_t TargetX = 0, TargetY = 0;  // player's clicked walk target
  int16_t Facing = 0;                // degrees
  int16_t RechargeLeft = 0;          // frames
  std::string Kind;                  // sprite-sheet selector
  std::string Date;                  // player only: "yyyymmdd"
  std::string Name;
  int16_t Ammo = 0;
  double Speed = 0;  // text-held; step per frame is Speed / 10
  float Health = 0;
  int16_t Spread = 0;  // degrees
  int16_t Power = 0;
  double Range = 0;          // text-held; bullet range in steps
  int16_t RechargeTime = 0;  // frames between shots
  int16_t Melee = 0;
  int16_t ProxExp = 0, AimExp = 0, TimeExp = 0, SpareExp = 0, MeleeExp = 0;
};

struct Bullet {
  int16_t BulletRange = 0;          // steps left; 0 or less = free
  double BulletAngle = 0;           // text-held, degrees
  double BulletX = 0, BulletY = 0;  // text-held
  float BulletDX = 0, BulletDY = 0;
  int16_t BulletSpeed = 0;  // moves per frame
  int16_t BulletOwner = 0;  // soldier slot
};

struct SheepRec {
  int16_t SheepAlive = 0;
  float SheepX = 0, SheepY = 0;  // top-left of the 23 x 16 picture
  int16_t SheepDir = 0;
  int16_t SheepSpeed = 0;  // 3..6, step is SheepSpeed / 10
  int16_t SheepHealth = 0;
  int16_t SheepKind = 0;  // 1 or 2
  int16_t SheepBleatEvery = 0;
  int16_t SheepBleatLeft = 0;
};

struct Flake {
  int16_t FlakeOn = 0;
  double FlakeX = 0, FlakeY = 0;  // text-held
  int16_t FlakeDir = 0, FlakeSize = 0, FlakeLand = 0;
};

struct IntervalTimer {
  int16_t Interval = 0;   // ms
  uint32_t LastTick = 0;  // GetTickCount value
};

struct WorldState {
  std::array<Soldier, kSoldierSlots> Soldiers{};
  std::array<Bullet, kBulletSlots> Bullets{};
  std::array<SheepRec, kSheepSlots> Sheep{};

  // Crates (top-left positions, text-held).
  std::array<int16_t, kCrateSlots> HealthCrateOn{};
  std::array<double, kCrateSlots> HealthCrateX{}, HealthCrateY{};
  std::array<int16_t, kCrateSlots> AmmoCrateOn{};
  std::array<double, kCrateSlots> AmmoCrateX{}, AmmoCrateY{};
  std::array<double, kCrateSlots> AmmoCrateLeft{};

  // Acid (drug) pick-ups and their effect timers, one per kind.
  std::array<int16_t, kAcidKinds> AcidOn{};
  std::array<double, kAcidKinds> AcidX{}, AcidY{};
  std::array<int16_t, kAcidKinds> AcidTimer{};
  double AcidIconX = 240;
  int16_t HudIconsVisible = -1;

  // Cleaner.
  int16_t CleanerOn = 0;
  double CleanerX = 0, CleanerY = 0;

  // Explosion.
  int16_t ExplosionOn = 0;
  double ExplosionX = 0, ExplosionY = 0;
  int16_t ExplosionFrame = 0;

  // Air raid.
  int16_t AirRaidOn = 0;
  double PlaneX = 0, PlaneY = 0;
  int16_t AirRaidKind = 0;
  double BombTargetX = 0, BombTargetY = 0;
  int16_t AirRaidWait = 0;

  // Blood drops.
  std::array<float, kBloodSlots> BloodX{}, BloodY{};
  std::array<int16_t, kBloodSlots> BloodDir{};
  std::array<int16_t, kBloodSlots> BloodLife{};
  std::array<double, kBloodSlots> BloodSpeed{};

  // Snow.
  std::array<Flake, kSnowSlots> SnowFlakes{};
  int16_t SnowCount = 0;

  // Results of AngleAndDistance.
  int16_t AngleResult = 0;
  int16_t DistResult = 0;

  // Aiming streak: slots 1..9 hold the player's last nine bullets (1 hit, 0 miss).
  std::array<int16_t, 10> HitHistory{};
  int16_t HitHistoryCount = 0;

  // Game counters and switches.
  int16_t GameKills = 0;
  int16_t Score = 0;
  int16_t FireMode = 1;
  int16_t FireModeToggle = 0;
  int16_t BonusScore = 0;
  int16_t ScoreInfoShow = 0;
  int16_t ScoreInfoFrames = 0;

  std::array<IntervalTimer, kIntervalTimers> IntervalTimers{};

  // On-field status lines and the kills-in-a-row series.
  std::string ScoreInfoText;    // "  N(score)": the high-score place the player aims at
  std::string StatusText;       // scratch for the line being drawn
  int16_t KillsInRowCount = 0;  // kills in the current series
  int16_t KillsInRowTime = 0;   // tenths of a second left in the series, 25 at each kill
  int16_t KillsInRowGoal = 0;   // next bonus threshold shown: 5, 10, 15 or 20

  // Soldier pass (AImod).
  int16_t NearestEnemyDist = 500;  // pixels from the player to the nearest live enemy
  int16_t AliveCount = 0;          // live slots counted by the last pass, player included
  int16_t SeparationOff = 0;       // pairwise separation skipped once the frame rate drops
  std::array<int16_t, kSoldierSlots + 1> FootCount{};  // frames since each slot's last footprint
  std::array<int16_t, kSoldierSlots + 1> FootSig{};    // position signature at that footprint

  // Further module state of the world steps and the AI (added by the Parts that own it).
  int16_t SpawnSlot = 0;  // slot chosen by the last placement
  std::string KeyValue;   // value of the last soldier-file lookup
};

}  // namespace vorlan
