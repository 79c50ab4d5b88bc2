// The clock service: game time, pacing waits and the local date.
#pragma once

#include <cstdint>
#include <string>

namespace vorlan {

class Clock {
 public:
  virtual ~Clock() = default;

  // Milliseconds, monotonic.
  virtual uint32_t GetTickCount() = 0;
  // Microseconds, monotonic (same origin as GetTickCount x 1000).
  virtual uint64_t GetMicros() = 0;
  // Blocks until GetTickCount() > tick (the first millisecond after it), without spinning a core.
  virtual void WaitPastTick(uint32_t tick) = 0;
  // Seconds since midnight, local time (the seed of Randomize).
  virtual double Timer() = 0;
  // Today's local date as "yyyymmdd".
  virtual std::string TodayText() = 0;
};

}  // namespace vorlan
