// The window program started as a real process in a scratch installation, in the situations a
// user can get it into: no display, no picture, a file that is no picture, a picture in another
// pixel format, no usable music. Runs that get going are ended by an Escape press in their window.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "demo_process.h"
#include "support/test_pictures.h"
#include "window_keys.h"

namespace {

constexpr double kFailureLimitSeconds = 20;  // a failing start ends at once; this is generous
constexpr double kRunLimitSeconds = 30;      // start-up plus one frame, ended by Escape
constexpr char kUnusedDisplay[] = ":99";     // normally no X server listens there
constexpr char kPicture[] = "data/Devil-goat.png";
constexpr char kMusic[] = "data/organ.ogg";

const std::map<std::string, std::string> kQuietAudio = {{"SDL_AUDIODRIVER", "dummy"}};

size_t lines_in(const std::string& text) {
  return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

// Checks that `text` is exactly one line that names everything in `named`.
void expect_one_line_naming(const std::string& text, const std::vector<std::string>& named) {
  EXPECT_EQ(lines_in(text), 1u) << text;
  EXPECT_TRUE(!text.empty() && text.back() == '\n') << text;
  for (const std::string& n : named) EXPECT_NE(text.find(n), std::string::npos) << text;
}

bool have_display() {
  const char* display = std::getenv("DISPLAY");
  return display != nullptr && *display != '\0';
}

// Runs the program until it has opened its window, then holds Escape in that window (pressed
// again every poll: the press only has to be there when a frame looks).
demo_result run_until_escape(const scratch_install& install) {
  return run_demo(install, kQuietAudio, kRunLimitSeconds,
                  [](pid_t pid) { press_escape_in_window_of(pid); });
}

struct display_case {
  const char* what;
  std::string display;  // "" leaves DISPLAY unset
};

TEST(StartUp, WithoutADisplayExitsWithOneLine) {
  std::vector<display_case> cases = {{"DISPLAY unset", ""}};
  struct stat st;
  // Tried only while no server has taken that number.
  if (stat("/tmp/.X11-unix/X99", &st) != 0) cases.push_back({"no server at :99", kUnusedDisplay});
  for (const display_case& c : cases) {
    SCOPED_TRACE(c.what);
    scratch_install install;
    install.copy_data("Devil-goat.png");
    install.copy_data("organ.ogg");
    const demo_result r = run_demo(install, {{"SDL_AUDIODRIVER", "dummy"}, {"DISPLAY", c.display}},
                                   kFailureLimitSeconds);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exit_status, 1);
    expect_one_line_naming(r.err, {"display"});
    EXPECT_EQ(r.out, "");  // nothing takes over the terminal
  }
}

struct bad_picture_case {
  const char* what;
  std::function<void(const scratch_install&)> prepare;
  std::function<std::vector<std::string>(const scratch_install&)> named;
};

TEST(StartUp, WithoutAPictureExitsWithOneLineNamingIt) {
  if (!have_display()) GTEST_SKIP() << "no display";
  const bad_picture_case cases[] = {
      {"no picture anywhere", [](const scratch_install& i) { i.copy_data("organ.ogg"); },
       [](const scratch_install& i) {
         // Every place tried: the working directory's data/, then the one beside the program.
         return std::vector<std::string>{kPicture, i.root() + "/bin/" + kPicture};
       }},
      {"a file that is no picture",
       [](const scratch_install& i) {
         i.copy_data("organ.ogg");
         i.write(kPicture, "this is no picture\n");
       },
       [](const scratch_install&) { return std::vector<std::string>{kPicture}; }},
  };
  for (const bad_picture_case& c : cases) {
    SCOPED_TRACE(c.what);
    scratch_install install;
    c.prepare(install);
    const demo_result r = run_demo(install, kQuietAudio, kFailureLimitSeconds);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exit_status, 1);
    expect_one_line_naming(r.err, c.named(install));
  }
}

TEST(StartUp, PicturesInOtherPixelFormatsAreShown) {
  if (!have_display()) GTEST_SKIP() << "no display";
  for (picture_kind kind : {picture_kind::palette, picture_kind::grey, picture_kind::rgb24}) {
    SCOPED_TRACE(static_cast<int>(kind));
    scratch_install install;
    install.copy_data("organ.ogg");
    install.write(kPicture, "");
    ASSERT_TRUE(write_test_picture(install.working_dir() + "/" + kPicture, kind));
    const demo_result r = run_until_escape(install);
    ASSERT_TRUE(r.finished) << "still running after " << kRunLimitSeconds << " s";
    EXPECT_EQ(r.signal, 0);
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.err, "");
  }
}

struct music_case {
  const char* what;
  const char* music;  // the contents of organ.ogg, or null for no file
  const char* complaint;
};

TEST(StartUp, WithoutUsableMusicWarnsOnceAndShowsSilently) {
  if (!have_display()) GTEST_SKIP() << "no display";
  const music_case cases[] = {
      {"no music file", nullptr, "cannot open"},
      {"a music file that is no Ogg Vorbis", "this is no music\n", "cannot decode"},
  };
  for (const music_case& c : cases) {
    SCOPED_TRACE(c.what);
    scratch_install install;
    install.copy_data("Devil-goat.png");
    if (c.music != nullptr) install.write(kMusic, c.music);
    const demo_result r = run_until_escape(install);
    ASSERT_TRUE(r.finished) << "still running after " << kRunLimitSeconds << " s";
    EXPECT_EQ(r.exit_status, 0);
    expect_one_line_naming(r.err, {"no sound", c.complaint, kMusic});
  }
}

}  // namespace
