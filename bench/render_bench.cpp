// Frame-cost budgets: a frame has 8 ms, and these must stay well inside it
// even on Mesa's software renderer. Run with `make bench` (needs a display or
// starts its own Xvfb).
#include <benchmark/benchmark.h>

#include "engine/engine.h"
#include "engine/window_size.h"
#include "game/play_state.h"
#include "gfx/render_queue.h"
#include "gfx/video.h"

namespace {

void openWindow() {
  static bool open = false;
  if (open) return;
  initVideo(kWindowWidth, kWindowHeight, "Quorvane");
  open = true;
}

// A new game's full frame: 51 sprites queued, painted and swapped.
void BM_DrawPlayFrame(benchmark::State& state) {
  openWindow();
  PlayState play;
  RenderQueue queue;
  for (auto _ : state) {
    play.draw(&queue);
    flushRenderQueue(&queue);
  }
}
BENCHMARK(BM_DrawPlayFrame)->Unit(benchmark::kMicrosecond);

// The rules of play for one frame with a wave of nine asteroids and a volley
// of bullets in flight.
void BM_UpdatePlayFrame(benchmark::State& state) {
  openWindow();
  PlayState play;
  while (static_cast<int>(play.asteroids->size()) < 9) {
    play.asteroids->push_back(new Asteroid(100, 100, 32));
  }
  InputMap keys;
  for (auto _ : state) {
    if (play.ship->bullets->size() < 8) play.ship->fire();
    play.update(&keys, 0.008f);
  }
}
BENCHMARK(BM_UpdatePlayFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
