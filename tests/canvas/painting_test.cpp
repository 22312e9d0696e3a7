// The show's painting members on a real intro object: the picture it loaded and the laser paint
// the golden canvas, razer leaves the centre colour in line_color, and a missing picture paints
// nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "golden_canvas.h"
#include "show/intro.h"
#include "support/test_display.h"

// The show keeps its surfaces and music until the process ends, and the X11 and GL libraries keep
// allocations of their own: in a sanitizer build the leak check would report those, not anything
// painted here. Addressing and undefined-behaviour checks stay on.
extern "C" const char* __lsan_default_options() {
  return "detect_leaks=0";
}

namespace {

constexpr Uint32 kCentre = 0x1F1FFF;  // the laser's centre colour, the last one razer sets

class painting_test : public display_test {
 protected:
  static void TearDownTestSuite() { show.reset(); }
  void SetUp() override {
    display_test::SetUp();
    if (IsSkipped()) return;
    if (!show) show = std::make_unique<intro>();
    clear_canvas();
  }
  static void clear_canvas() {
    std::memset(show->canvas->pixels, 0, size_t(show->canvas->pitch) * show->canvas->h);
  }
  static bool canvas_is_black() { return canvas_hash(show->canvas) == black_hash(); }
  static Uint64 black_hash() {
    SDL_Surface* black = SDL_CreateRGBSurface(0, 512, 512, 32, 0, 0, 0, 0);
    const Uint64 hash = canvas_hash(black);
    SDL_FreeSurface(black);
    return hash;
  }

  static std::unique_ptr<intro> show;
};
std::unique_ptr<intro> painting_test::show;

TEST_F(painting_test, rotator_and_razer_paint_the_golden_canvas) {
  show->rotator(show->picture, kGoldenAngle);
  show->phase = kGoldenPhase;
  show->razer();
  EXPECT_EQ(canvas_hash(show->canvas), kGoldenHash);
}

TEST_F(painting_test, razer_leaves_the_centre_colour_and_the_phase) {
  const struct {
    int phase;
    bool paints;
  } cases[] = {{0, false}, {5, false}, {1204, false}, {1000, true}, {1999, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "phase " << c.phase);
    clear_canvas();
    show->phase = c.phase;
    show->line_color = 0;
    show->razer();
    EXPECT_EQ(show->line_color, kCentre);
    EXPECT_EQ(show->phase, c.phase);
    EXPECT_EQ(canvas_is_black(), !c.paints);
  }
}

TEST_F(painting_test, a_missing_picture_paints_nothing) {
  show->rotator(nullptr, kGoldenAngle);
  EXPECT_TRUE(canvas_is_black());
}

}  // namespace
