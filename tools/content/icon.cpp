// The game's icon: a gun sight over a patch of meadow on an iron ring, drawn at every size of
// the desktop's hicolor theme (small sizes drawn afresh, not scaled down, so they stay sharp).
#include <cstdio>
#include <string>
#include <system_error>

#include "content.h"

namespace content {

namespace {

namespace fs = std::filesystem;

// The icon in a unit square (0..1), so every size is the same drawing.
Rgba IconAt(Vec p, float pixel) {
  const Vec c{0.5f, 0.5f};
  Rgba acc;
  float soft = pixel;  // one output pixel of edge, whatever the size
  // Iron ring with the meadow inside, darker toward the rim.
  float ring = SdCircle(p, c, 0.47f);
  Layer(acc, RgbOf(58, 62, 66), Cover(ring, soft));
  float meadow = SdCircle(p, c, 0.40f);
  float shade = std::clamp(std::hypot(p.x - 0.42f, p.y - 0.4f) / 0.45f, 0.f, 1.f);
  Layer(acc, Mix(RgbOf(120, 170, 70), RgbOf(52, 96, 34), shade), Cover(meadow, soft));
  // The sight: a thin circle and four ticks, thick enough to survive 16 pixels.
  float line = std::max(0.035f, 0.9f * pixel);
  Rgb sight = RgbOf(20, 22, 20);
  Layer(acc, sight, Cover(std::fabs(SdCircle(p, c, 0.24f)) - line * 0.5f, soft));
  for (int k = 0; k < 4; ++k) {
    Vec a = Rot({0.12f, 0}, k * 90.f), b = Rot({0.36f, 0}, k * 90.f);
    Layer(acc, sight, Cover(SdSegment(p, {c.x + a.x, c.y + a.y}, {c.x + b.x, c.y + b.y}, line * 0.5f), soft));
  }
  // The target dot.
  Layer(acc, RgbOf(210, 40, 30), Cover(SdCircle(p, c, std::max(0.05f, 1.2f * pixel)), soft));
  return acc;
}

}  // namespace

int WriteIcons(const fs::path& programDir, std::vector<std::string>* written) {
  int failures = 0;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    std::string dim = std::to_string(size) + "x" + std::to_string(size);
    fs::path dir = programDir / "Icons" / "hicolor" / dim / "apps";
    std::error_code ec;
    fs::create_directories(dir, ec);
    float pixel = 1.f / static_cast<float>(size);
    Canvas icon = Render(size, size, [&](Vec p) { return IconAt({p.x * pixel, p.y * pixel}, pixel); });
    if (!WritePng(icon, dir / "vorlan.png", true)) {
      std::fprintf(stderr, "vorlan_content: cannot write the %s icon\n", dim.c_str());
      ++failures;
    }
    if (written) written->push_back("Icons/hicolor/" + dim + "/apps/vorlan.png");
  }
  return failures;
}

}  // namespace content
