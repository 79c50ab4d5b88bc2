// What a game controller needs to hear from the game: where the player stands (the aiming stick
// places the cursor around it) and the knocks the player takes (rumble). Keyboard and mouse
// platforms may ignore both.
#pragma once

namespace vorlan {

class PlayerFeedback {
 public:
  virtual ~PlayerFeedback() = default;

  enum class Jolt { Hit, Blast };  // a bullet struck the player; a blast went off near the player

  // The player's centre in Field pixels, told before every cursor read.
  virtual void SetPlayerCentre(double x, double y) = 0;
  // A short rumble on every controller that has one, stronger for a blast than for a hit.
  virtual void Rumble(Jolt jolt) = 0;
};

}  // namespace vorlan
