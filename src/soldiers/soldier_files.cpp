#include "soldiers/soldier_files.h"

#include <cmath>
#include <limits>
#include <string>

#include "numbers.h"
#include "text.h"

namespace vorlan {

namespace {

constexpr size_t kMaxSoldierLines = 5001;

// A whole decimal number (sign, digits, fraction, exponent) and nothing else, finite.
bool DecimalValue(std::string_view t, double& out) {
  t = Trimmed(t);
  size_t i = 0, digits = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t ed = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++ed;
    if (ed == 0) return false;
  }
  if (i != t.size()) return false;
  const double v = Num(t);
  if (!std::isfinite(v) || std::fabs(v) >= std::numeric_limits<double>::max()) return false;
  out = v;
  return true;
}

// Numeric fields keep their value when the text is not a number, rather than taking garbage.
void StoreInt16(const std::string& text, int16_t& field) {
  double v;
  if (DecimalValue(text, v)) field = Nearest16(v);
}

void StoreSingle(const std::string& text, float& field) {
  double v;
  if (DecimalValue(text, v) && std::fabs(v) <= std::numeric_limits<float>::max()) {
    field = static_cast<float>(v);
  }
}

// A text-held number: its value is num(text), so unreadable text reads as 0 like anywhere else.
void StoreTextNumber(const std::string& text, double& field) {
  const double v = Num(text);
  field = std::isfinite(v) ? v : 0.0;
}

}  // namespace

// Looks a key up in a soldier file; the last line with the key before "END" wins.
void ReadKey(Game& g, std::string_view folder, std::string_view file, std::string_view key) {
  std::string documented = "\\";
  documented.append(folder).append("\\").append(file).append(".txt");
  const auto path = g.PathOf(documented);
  if (path.empty()) return;  // a name that would leave the game's folders
  const auto lines = ReadLines(path);
  if (!lines) return;
  const std::string_view wanted = Trimmed(key);
  size_t read = 0;
  for (const std::string& line : *lines) {
    if (read++ >= kMaxSoldierLines) break;
    if (line == "END") break;
    if (Trimmed(Columns(line, 1, 20)) == wanted) {
      g.world.KeyValue = std::string(Trimmed(Columns(line, 22, 41)));
    }
  }
}

// Places a soldier from a file into the first free slot (SpawnSlot 51 when the table is full).
void SpawnFromFile(Game& g, std::string_view file) {
  auto& w = g.world;
  int slot = 0;
  while (slot < kSoldierSlots && w.Soldiers[slot].Alive != 0) ++slot;
  w.SpawnSlot = static_cast<int16_t>(slot);
  if (slot >= kSoldierSlots) return;
  Soldier& s = w.Soldiers[slot];
  ReadKey(g, "otherfiles", file, "NA");
  s.Name = w.KeyValue;
  ReadKey(g, "otherfiles", file, "OM");
  StoreInt16(w.KeyValue, s.Ammo);
  ReadKey(g, "otherfiles", file, "DE");
  StoreTextNumber(w.KeyValue, s.Speed);
  ReadKey(g, "otherfiles", file, "HT");
  StoreSingle(w.KeyValue, s.Health);
  ReadKey(g, "otherfiles", file, "EL");
  StoreInt16(w.KeyValue, s.Spread);
  ReadKey(g, "otherfiles", file, "EE");
  StoreInt16(w.KeyValue, s.Melee);
  ReadKey(g, "otherfiles", file, "ED");
  StoreInt16(w.KeyValue, s.Power);
  ReadKey(g, "otherfiles", file, "GN");
  StoreTextNumber(w.KeyValue, s.Range);
  ReadKey(g, "otherfiles", file, "EM");
  StoreInt16(w.KeyValue, s.RechargeTime);
  s.Alive = kTrue;
}

// Places one enemy on the ring of radius 210 around (140, 140), a little slower than its file says.
void SpawnEnemy(Game& g) {
  if (g.form.Paused != 0) return;
  auto& w = g.world;
  g.rng.Randomize(g.plat.Timer());
  const double a = Floor(g.Rnd() * 359) + 1;
  SpawnFromFile(g, "LVL1");
  if (w.SpawnSlot == 0) {
    // The player's slot was free: the enemy took it, and a default soldier joins it.
    SpawnFromFile(g, "DEFAULT");
    return;
  }
  if (w.SpawnSlot >= kSoldierSlots) return;
  Soldier& s = w.Soldiers[w.SpawnSlot];
  s.X = static_cast<float>(std::cos(a * g.form.DegToRad) * 210 + 140);
  s.Y = static_cast<float>(std::sin(a * g.form.DegToRad) * 210 + 140);
  s.Speed = s.Speed - Floor(g.Rnd() * 3);
}

}  // namespace vorlan
