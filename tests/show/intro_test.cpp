// Building the show: the particle pools, the panel display list, the lights, clear colour and
// texture it leaves, the blank canvas, and the moment show time starts.
#include <SDL/SDL_image.h>
#include <SDL/SDL_mixer.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "shell/clock.h"
#include "show/intro.h"
#include "support/gl_feedback.h"
#include "support/test_display.h"
#include "support/test_pictures.h"

namespace {

constexpr size_t kPanelVertices = 200;  // a 10 × 10 grid, two vertices per cell
constexpr float kPanelTolerance = 1e-5f;

// A clock that counts its readings and notes whether the music was playing at each.
struct counting_clock {
  static Uint32 readings;
  static std::vector<bool> music_playing;
  static Uint32 Ticks() {
    music_playing.push_back(Mix_Playing(-1) > 0);
    return ++readings;
  }
  static void Delay(Uint32) {}
};
Uint32 counting_clock::readings = 0;
std::vector<bool> counting_clock::music_playing;

// One show per test program, built on the counting clock right after the display opened, so the
// GL state it left is still there to read.
class IntroBuildTest : public display_test {
 protected:
  static void SetUpTestSuite() {
    display_test::SetUpTestSuite();
    if (!display_open()) return;
    const Clock saved = demo_clock;
    demo_clock = {counting_clock::Ticks, counting_clock::Delay};
    try {
      show_ = new intro();
    } catch (const show_error& e) {
      ADD_FAILURE() << "the show could not be built: " << e.what();
    }
    readings_after_ = counting_clock::Ticks();
    demo_clock = saved;
  }
  static void TearDownTestSuite() {
    delete show_;
    show_ = nullptr;
  }
  void SetUp() override {
    display_test::SetUp();
    if (show_ == nullptr) GTEST_SKIP() << "no show";
  }
  static intro* show_;
  static Uint32 readings_after_;
};
intro* IntroBuildTest::show_ = nullptr;
Uint32 IntroBuildTest::readings_after_ = 0;

TEST_F(IntroBuildTest, FillsFourPoolsWithSpentCopiesOfOnePrototype) {
  const intro& s = *show_;
  const GravityParticle& prototype = s.particles1[0];
  for (const auto* pool : {&s.particles1, &s.particles2, &s.particles3, &s.particles4}) {
    ASSERT_EQ(pool->size(), static_cast<size_t>(kPoolSize));
    for (const GravityParticle& p : *pool) {
      ASSERT_EQ(std::memcmp(&p, &prototype, sizeof p), 0);
    }
  }
  EXPECT_EQ(prototype.Life, 0.0f);
  EXPECT_TRUE(glIsList(prototype.List));
  EXPECT_TRUE(glIsList(s.grid_list));
  EXPECT_NE(prototype.List, s.grid_list);
}

TEST_F(IntroBuildTest, PanelIsOneStripOf200VerticesOverTheRightNineTenths) {
  glLoadIdentity();
  const std::vector<feedback_polygon> triangles =
      capture_polygons([&] { glCallList(show_->grid_list); });
  ASSERT_EQ(triangles.size(), kPanelVertices - 2);
  const std::vector<feedback_vertex> strip = strip_vertices(triangles, kPanelTolerance);
  ASSERT_EQ(strip.size(), kPanelVertices);

  struct expected_vertex {
    size_t number;  // counted from 1
    float x, y, s, t;
  };
  const expected_vertex checkpoints[] = {
      {1, -0.8f, -1.0f, 0.1f, 0.0f},  {2, -0.8f, -0.8f, 0.1f, 0.1f}, {20, 1.0f, -0.8f, 1.0f, 0.1f},
      {21, -0.8f, -0.8f, 0.1f, 0.1f}, {200, 1.0f, 1.0f, 1.0f, 1.0f},
  };
  for (const expected_vertex& e : checkpoints) {
    const feedback_vertex& v = strip[e.number - 1];
    EXPECT_NEAR(v.position[0], e.x, kPanelTolerance) << "vertex " << e.number;
    EXPECT_NEAR(v.position[1], e.y, kPanelTolerance) << "vertex " << e.number;
    EXPECT_NEAR(v.tex[0], e.s, kPanelTolerance) << "vertex " << e.number;
    EXPECT_NEAR(v.tex[1], e.t, kPanelTolerance) << "vertex " << e.number;
  }
  for (size_t n = 0; n < strip.size(); ++n) {
    const feedback_vertex& v = strip[n];
    EXPECT_GT(v.position[0], -0.8f - kPanelTolerance) << "vertex " << n + 1;  // never x = −1
    EXPECT_NEAR(v.position[2], 0.0f, kPanelTolerance) << "vertex " << n + 1;
    // The texture maps the square −1 … 1 onto 0 … 1.
    EXPECT_NEAR(v.tex[0], (v.position[0] + 1) / 2, kPanelTolerance) << "vertex " << n + 1;
    EXPECT_NEAR(v.tex[1], (v.position[1] + 1) / 2, kPanelTolerance) << "vertex " << n + 1;
  }
}

TEST_F(IntroBuildTest, LightsOneAndTwoAreOnWithLightingLeftToTheScenes) {
  using v4 = std::array<GLfloat, 4>;
  EXPECT_EQ(light_vector(GL_LIGHT1, GL_POSITION), (v4{5, 2, -10, 1}));
  EXPECT_EQ(light_vector(GL_LIGHT1, GL_AMBIENT), (v4{0.3f, 0.3f, 0.3f, 1}));
  EXPECT_EQ(light_vector(GL_LIGHT1, GL_DIFFUSE), (v4{1, 1, 1, 1}));
  EXPECT_EQ(light_vector(GL_LIGHT2, GL_AMBIENT), (v4{0.3f, 0.3f, 0.3f, 1}));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT2));
  EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

TEST_F(IntroBuildTest, ClearsToTransparentBlackAndBindsALinearTexture) {
  std::array<GLfloat, 4> clear{};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear.data());
  EXPECT_EQ(clear, (std::array<GLfloat, 4>{0, 0, 0, 0}));

  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), show_->texture);
  EXPECT_TRUE(glIsTexture(show_->texture));
  GLint min_filter = 0;
  GLint mag_filter = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min_filter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag_filter);
  EXPECT_EQ(min_filter, GL_LINEAR);
  EXPECT_EQ(mag_filter, GL_LINEAR);
}

TEST_F(IntroBuildTest, CanvasIsBlackInTheDefault32BitLayout) {
  const SDL_Surface* canvas = show_->canvas;
  ASSERT_NE(canvas, nullptr);
  EXPECT_EQ(canvas->w, kCanvasSize);
  EXPECT_EQ(canvas->h, kCanvasSize);
  EXPECT_EQ(canvas->pitch, kCanvasSize * 4);
  EXPECT_EQ(canvas->format->BitsPerPixel, 32);
  EXPECT_EQ(canvas->format->Rmask, 0x00FF0000u);
  EXPECT_EQ(canvas->format->Gmask, 0x0000FF00u);
  EXPECT_EQ(canvas->format->Bmask, 0x000000FFu);
  EXPECT_EQ(canvas->format->Amask, 0u);
  const Uint32* words = static_cast<const Uint32*>(canvas->pixels);
  size_t lit = 0;
  for (size_t i = 0; i < static_cast<size_t>(kCanvasSize) * kCanvasSize; ++i) lit += words[i] != 0;
  EXPECT_EQ(lit, 0u);
  EXPECT_EQ(show_->last_clear, 0);

  // Whatever format the picture file has, the show paints from 4-byte pixels.
  ASSERT_NE(show_->picture, nullptr);
  EXPECT_EQ(show_->picture->format->BytesPerPixel, 4);
}

TEST_F(IntroBuildTest, ShowTimeStartsLastWithTheMusicPlaying) {
  // start_ticks is the constructor's last clock reading: the next one is the test's own.
  EXPECT_EQ(show_->start_ticks + 1, readings_after_);
  ASSERT_GE(counting_clock::music_playing.size(), 2u);
  EXPECT_TRUE(counting_clock::music_playing[show_->start_ticks - 1]);
  ASSERT_NE(show_->music, nullptr);
}

using IntroPictureTest = display_test;

// Builds a show in a scratch working directory whose data/ holds only a test picture of `kind`;
// `file_bytes_per_pixel` tells how the image library delivers that file.
std::unique_ptr<intro> show_with_picture(picture_kind kind, int* file_bytes_per_pixel) {
  namespace fs = std::filesystem;
  std::string folder = (fs::temp_directory_path() / "intro-picture-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) return nullptr;
  fs::create_directory(folder + "/data");
  std::unique_ptr<intro> show;
  const fs::path previous = fs::current_path();
  const std::string path = folder + "/data/Devil-goat.png";
  *file_bytes_per_pixel = 0;
  if (write_test_picture(path, kind)) {
    if (SDL_Surface* file = IMG_Load(path.c_str())) {
      *file_bytes_per_pixel = file->format->BytesPerPixel;
      SDL_FreeSurface(file);
    }
    fs::current_path(folder);
    try {
      show = std::make_unique<intro>();  // warns once about the missing music
    } catch (const show_error& e) {
      ADD_FAILURE() << e.what();
    }
    fs::current_path(previous);
  }
  fs::remove_all(folder);
  return show;
}

TEST_F(IntroPictureTest, PicturesOfOtherPixelFormatsBecome32BitColourForColour) {
  for (picture_kind kind : {picture_kind::palette, picture_kind::grey, picture_kind::rgb24}) {
    SCOPED_TRACE(static_cast<int>(kind));
    int file_bytes_per_pixel = 0;
    const std::unique_ptr<intro> show = show_with_picture(kind, &file_bytes_per_pixel);
    ASSERT_NE(show, nullptr);
    EXPECT_EQ(file_bytes_per_pixel, kind == picture_kind::rgb24 ? 3 : 1);
    const SDL_Surface* picture = show->picture;
    ASSERT_EQ(picture->format->BytesPerPixel, 4);
    EXPECT_EQ(picture->format->palette, nullptr);
    ASSERT_EQ(picture->w, kTestPictureWidth);
    ASSERT_EQ(picture->h, kTestPictureHeight);
    size_t wrong = 0;
    for (int y = 0; y < picture->h; ++y) {
      const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(picture->pixels) +
                                                        y * picture->pitch);
      for (int x = 0; x < picture->w; ++x) {
        Uint8 r, g, b;
        SDL_GetRGB(row[x], picture->format, &r, &g, &b);
        wrong += (Uint32{r} << 16 | Uint32{g} << 8 | b) != test_picture_color(kind, x, y);
      }
    }
    EXPECT_EQ(wrong, 0u);
  }
}

}  // namespace
