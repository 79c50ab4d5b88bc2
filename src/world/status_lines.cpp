#include "world/status_lines.h"

#include <charconv>
#include <string_view>

#include "graphics/picture_catalogue.h"
#include "menus/name_entry.h"
#include "numbers.h"
#include "sound/sound_bank.h"
#include "text.h"

namespace vorlan {

namespace {

// Texts of the status lines are built in place: no allocation once their capacity is reached.
void Reserve(std::string& s) {
  if (s.capacity() < 96) s.reserve(96);
}

void AppendInt(std::string& s, long long v) {
  char buf[24];
  auto res = std::to_chars(buf, buf + sizeof buf, v);
  s.append(buf, static_cast<size_t>(res.ptr - buf));
}

// The text a place opens with, for places 1 to 10.
constexpr std::string_view kPlaceOpening[11] = {"",     "  1(", "  2(", "  3(", "  4(", "  5(",
                                                "  6(", "  7(", "  8(", "  9(", "  10("};

// Pays a finished series: score, ammunition and health by how long it was.
void PayOut(Game& g, int16_t count) {
  WorldState& w = g.world;
  Soldier& p = w.Soldiers[0];
  if (count >= 20) {
    PlaySound(g, snd::InRow4, 500);
    w.Score = Sat16(w.Score + 1000);
    p.Ammo = Sat16(p.Ammo * 4);
    p.Health = p.Health * 4;
  } else if (count >= 15) {
    PlaySound(g, snd::InRow3, 500);
    w.Score = Sat16(w.Score + 800);
    p.Ammo = Sat16(p.Ammo * 2);
    p.Health = p.Health * 2;
  } else if (count >= 10) {
    PlaySound(g, snd::InRow2, 500);
    w.Score = Sat16(w.Score + 400);
    p.Ammo = Sat16(p.Ammo + 30);
    p.Health = p.Health + 100;
  } else if (count >= 5) {
    PlaySound(g, snd::InRow1, 500);
    w.Score = Sat16(w.Score + 150);
    p.Ammo = Sat16(p.Ammo + 15);
    p.Health = p.Health + 50;
  }
}

}  // namespace

// True when at least interval milliseconds have passed since this timer last fired.
int16_t IntervalElapsed(Game& g, int timer, int16_t interval) {
  if (timer < 0 || timer >= kIntervalTimers) return kFalse;
  IntervalTimer& t = g.world.IntervalTimers[timer];
  if (t.Interval != interval) t.Interval = interval;
  // Unsigned difference: the tick count may wrap around.
  const uint32_t elapsed = g.plat.GetTickCount() - t.LastTick;
  if (static_cast<long long>(elapsed) < interval) return kFalse;
  if (t.Interval < 1) return kFalse;
  t.LastTick = g.plat.GetTickCount();
  return kTrue;
}

// The score line after a death and the information line, drawn over the game view.
void StatusLines(Game& g) {
  WorldState& w = g.world;
  Surface& f = g.form.Field;
  const Soldier& p = w.Soldiers[0];
  const int total = Sat16(w.Score + w.BonusScore);

  if (p.Y < 260 && w.ScoreInfoShow != 0 && g.options.OptScoreInfo == kOptOn) {
    w.ScoreInfoFrames = Sat16(w.ScoreInfoFrames + 1);
    if (w.ScoreInfoFrames > 240) {
      w.ScoreInfoShow = kFalse;
      w.ScoreInfoFrames = 0;
    }
    f.fontSize = 12;
    if (g.hs.HsScore[0].empty()) HighScoreCheck(g, 0);

    std::string& t = w.ScoreInfoText;
    Reserve(t);
    t.assign(kPlaceOpening[10]);
    t.append(Trimmed(g.hs.HsScore[9]));
    t.push_back(')');
    for (int n = 9; n >= 1; --n) {
      if (Num(g.hs.HsScore[n]) < total) {
        t.assign(kPlaceOpening[n]);
        t.append(g.hs.HsScore[n - 1]);
        t.push_back(')');
      }
    }

    if (g.options.OptAlphaBlend == kOptOn) {
      AlphaBlendCopy(g.pics.PicLayerScore, 3, 282, 85, 15, f, 0, 0, 85, 15, 30);
    } else {
      DrawMasked(f, 3, 282, 85, 15, g.pics.PicLayerScore, 0, 0, 0, 15);
    }
    f.foreColor = Rgb(192, 255, 192);
    std::string& s = w.StatusText;
    Reserve(s);
    s.clear();
    AppendInt(s, total);
    DrawText(g, f, 5, 280, s);
    f.fontSize = 8;
    DrawText(g, f, 35, 283, t);
  }

  if (p.Y > 20 && g.options.OptDebugInfo == kOptOn) {
    f.fontSize = 8;
    std::string& s = w.StatusText;
    Reserve(s);
    s.assign("Snow:");
    AppendInt(s, w.SnowCount);
    s.append(" Fps:");
    AppendInt(s, g.timing.FramesLastSecond);
    s.push_back('[');
    AppendInt(s, g.timing.MaxIdleSpins / 300);
    s.push_back(']');
    if (g.options.OptAlphaBlend == kOptOn) {
      AlphaBlendCopy(g.pics.PicLayer, 1, 3, 300, 13, f, 0, 0, 300, 13, 30);
    } else {
      BitBlt(f, 1, 3, 298, 13, g.pics.PicLayer, 0, 0, Rop::SrcCopy);
    }
    DrawText(g, f, 3, 2, s);
  }
}

// Counts quick series of kills and pays them out once a series runs out; draws the counter.
void KillsInRow(Game& g, int16_t kill) {
  WorldState& w = g.world;
  if (kill != 0) {
    w.KillsInRowCount = Sat16(w.KillsInRowCount + 1);
    w.KillsInRowTime = 25;
  }
  if (IntervalElapsed(g, 1, 100) != 0) w.KillsInRowTime = Sat16(w.KillsInRowTime - 1);
  if (w.KillsInRowTime < 1) {
    PayOut(g, w.KillsInRowCount);
    w.KillsInRowCount = 0;
    w.KillsInRowTime = 25;
  }

  const int16_t c = w.KillsInRowCount;
  if (c < 5) {
    w.KillsInRowGoal = 5;
  } else if (c < 10) {
    w.KillsInRowGoal = 10;
  } else if (c < 15) {
    w.KillsInRowGoal = 15;
  } else if (c < 20) {
    w.KillsInRowGoal = 20;
  }

  if (g.options.OptKillsInRow != kOptOn) return;
  Surface& f = g.form.Field;
  if (c > 0) {
    const int width = Sat32(Nearest(300.0 / 25 * w.KillsInRowTime));
    BitBlt(f, 0, 0, width, 3, g.pics.PicInRowBar, 0, 0, Rop::SrcCopy);
  }
  std::string& s = w.StatusText;
  Reserve(s);
  s.assign("Kills:");
  AppendInt(s, c);
  s.push_back('/');
  AppendInt(s, w.KillsInRowGoal);
  DrawText(g, f, 240, 2, s);
}

}  // namespace vorlan
