// The drawing operations that run every frame: the terrain copy and half-transparent fade of the
// 300 x 300 field, masked sprite copies, and a status line of text.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/media/media.h"
#include "platform/surface.h"

namespace {

using namespace vorlan;

Surface Pattern(int w, int h) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.Row(y)[x] = Rgb(x * 7, y * 3, x ^ y);
  return s;
}

void BM_BitBltCopyField(benchmark::State& state) {
  Surface terrain = Pattern(300, 300), field(300, 300);
  for (auto _ : state) {
    BitBlt(field, 0, 0, 300, 300, terrain, 0, 0, Rop::SrcCopy);
    benchmark::DoNotOptimize(field.Row(0));
  }
}
BENCHMARK(BM_BitBltCopyField);

void BM_AlphaBlendField50(benchmark::State& state) {
  Surface terrain = Pattern(300, 300), field(300, 300, Rgb(9, 9, 9));
  for (auto _ : state) {
    AlphaBlendCopy(terrain, -1, 0, 300, 300, field, 0, 0, 300, 300, 50);
    benchmark::DoNotOptimize(field.Row(0));
  }
}
BENCHMARK(BM_AlphaBlendField50);

// 51 soldiers drawn from a 72-frame sheet: mask with AND, image with OR.
void BM_MaskedSprites(benchmark::State& state) {
  Surface sheet = Pattern(72 * 21, 42), field = Pattern(300, 300);
  for (auto _ : state) {
    for (int i = 0; i < 51; ++i) {
      int x = (i * 37) % 290 - 5, y = (i * 53) % 290 - 5, f = i % 72;
      BitBlt(field, x, y, 21, 21, sheet, 21 * f, 21, Rop::SrcAnd);
      BitBlt(field, x, y, 21, 21, sheet, 21 * f, 0, Rop::SrcPaint);
    }
    benchmark::DoNotOptimize(field.Row(0));
  }
}
BENCHMARK(BM_MaskedSprites);

void BM_TextLine(benchmark::State& state) {
  auto fonts = MakeTextRenderer();
  Surface field = Pattern(300, 300);
  field.foreColor = Rgb(255, 255, 255);
  for (auto _ : state) {
    TextOutA(field, *fonts, 2, 63, "Score=1234           Killed=56");
    benchmark::DoNotOptimize(field.Row(0));
  }
}
BENCHMARK(BM_TextLine);

}  // namespace
