// What goes wrong outside the program, and what the program makes of it: no display; a picture
// that is missing, empty, cut short or no picture at all (one line naming the file, status 1);
// pictures in other layouts and sizes (shown); a track that is missing or spoiled and no audio
// device at all (one warning, the show goes on silently); another working folder (the data beside
// the program is used); a screen too small for the full-screen mode (one warning, a window).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <thread>

#include "demo_programs.h"
#include "demo_run.h"
#include "test_pictures.h"
#include "x_client.h"
#include "x_server.h"

namespace {

constexpr char kScreen[] = "1024x768x24";
constexpr char kSmallScreen[] = "800x600x24";  // too small for the 1024 × 768 full-screen mode
constexpr int kModeWidth = 1024;
constexpr int kModeHeight = 768;
constexpr auto kFailTimeout = 30s;   // a failing start ends long before this
constexpr auto kStartTimeout = 60s;  // the sanitized programs load slowly on a loaded machine
constexpr auto kRunOnFor = 2s;       // the show must still be going this long after its start
constexpr int kScreenshots = 8;      // looks at the screen for the picture
constexpr auto kScreenshotGap = 250ms;
constexpr double kWhiteShare = 0.05;  // a white picture lights 15-25 % of the screen in grey
constexpr char kNoAudioDriver[] = "nonexistent";  // an SDL audio driver that does not exist

// A program that should fail at start, run to its end.
struct failed_start {
  int status;
  int signal;
  std::vector<std::string> output;
  std::vector<std::string> errors;
};

failed_start run_failing(launch_options options) {
  options.environment.push_back({"SDL_AUDIODRIVER", "dummy"});
  spawned_process p(options);
  if (!p.wait_for_end(kFailTimeout)) return {-1, 0, {}, {"did not end"}};
  std::vector<std::string> output;
  for (const output_line& line : p.output_lines()) output.push_back(line.text);
  return {p.exit_status(), p.end_signal(), output, lines_of(p.error_text())};
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The programs a case runs with: the plain build, and the sanitized one when there is one.
struct program_variant {
  std::string name;
  std::string program;
  bool sanitized;
};

std::vector<program_variant> window_programs() {
  std::vector<program_variant> variants{{"Plain", kWindowProgram, false}};
  const std::string sanitized = sanitized_program("demo_window");
  if (!sanitized.empty()) variants.push_back({"Sanitized", sanitized, true});
  return variants;
}

void PrintTo(const program_variant& v, std::ostream* out) {
  *out << v.name;
}

// ---- No display ---------------------------------------------------------------------------------

struct display_case {
  std::string name;
  std::string program;
  bool unset;  // DISPLAY not set at all, rather than naming a server that is not there
};

void PrintTo(const display_case& c, std::ostream* out) {
  *out << c.name;
}

class NoDisplay : public ::testing::TestWithParam<display_case> {};

TEST_P(NoDisplay, OneLineOnStandardErrorAndStatusOne) {
  work_folder folder;
  launch_options options;
  options.program = GetParam().program;
  options.working_folder = folder.path();
  if (GetParam().unset) {
    options.unset = {"DISPLAY"};
  } else {
    options.environment = {{"DISPLAY", unused_display()}};
  }
  const failed_start r = run_failing(options);
  EXPECT_EQ(r.signal, 0);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.output.empty()) << "standard output: " << r.output.front();
  ASSERT_EQ(r.errors.size(), 1u) << ::testing::PrintToString(r.errors);
  EXPECT_TRUE(contains(r.errors[0], "display")) << r.errors[0];
}

INSTANTIATE_TEST_SUITE_P(Programs, NoDisplay,
                         ::testing::Values(display_case{"WindowUnset", kWindowProgram, true},
                                           display_case{"WindowNowhere", kWindowProgram, false},
                                           display_case{"FullscreenUnset", kFullscreenProgram,
                                                        true}),
                         [](const auto& info) { return info.param.name; });

// ---- Pictures that cannot be shown --------------------------------------------------------------

struct bad_picture_case {
  std::string name;
  std::function<void(const work_folder&)> spoil;
};

void PrintTo(const bad_picture_case& c, std::ostream* out) {
  *out << c.name;
}

class BadPicture : public ::testing::TestWithParam<bad_picture_case> {};

TEST_P(BadPicture, OneLineNamingTheFileAndStatusOne) {
  x_server server(kScreen);
  work_folder folder;
  GetParam().spoil(folder);
  launch_options options;
  options.program = kWindowProgram;
  options.working_folder = folder.path();
  options.environment = {{"DISPLAY", server.display()}};
  const failed_start r = run_failing(options);
  EXPECT_EQ(r.signal, 0);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.output.empty());
  ASSERT_EQ(r.errors.size(), 1u) << ::testing::PrintToString(r.errors);
  EXPECT_TRUE(contains(r.errors[0], std::string("data/") + kPictureName)) << r.errors[0];
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadPicture,
    ::testing::Values(
        bad_picture_case{"Empty",
                         [](const work_folder& f) { f.write_data_file(kPictureName, ""); }},
        bad_picture_case{"CutShort",
                         [](const work_folder& f) {
                           const auto size = std::filesystem::file_size(f.data_file(kPictureName));
                           f.truncate_data_file(kPictureName, static_cast<long>(size / 2));
                         }},
        bad_picture_case{
            "Text",
            [](const work_folder& f) { f.write_data_file(kPictureName, "this is no picture\n"); }},
        bad_picture_case{"SoundInstead",
                         [](const work_folder& f) {
                           f.write_data_file(kPictureName, read_file(f.data_file(kMusicName)));
                         }}),
    [](const auto& info) { return info.param.name; });

TEST(MissingPicture, TheLineNamesEveryPlaceTried) {
  x_server server(kScreen);
  work_folder program_folder(false);  // a copy of the program with no data beside it
  work_folder working_folder(false);  // and a working folder without data
  const std::string program = program_folder.copy_program(kWindowProgram);
  launch_options options;
  options.program = program;
  options.working_folder = working_folder.path();
  options.environment = {{"DISPLAY", server.display()}};
  const failed_start r = run_failing(options);
  EXPECT_EQ(r.signal, 0);
  EXPECT_EQ(r.status, 1);
  ASSERT_EQ(r.errors.size(), 1u) << ::testing::PrintToString(r.errors);
  // Relative to the working folder, and beside the program (under its real path).
  const std::string beside =
      std::filesystem::canonical(program_folder.path()).string() + "/data/" + kPictureName;
  EXPECT_TRUE(contains(r.errors[0], std::string("data/") + kPictureName)) << r.errors[0];
  EXPECT_TRUE(contains(r.errors[0], beside)) << r.errors[0];
}

// ---- Pictures in other layouts and sizes --------------------------------------------------------

struct picture_case {
  std::string name;
  png_layout layout;
  int width;
  int height;
  bool visible;  // big enough to find on screen (one pixel is not)
};

void PrintTo(const picture_case& c, std::ostream* out) {
  *out << c.name;
}

const picture_case kPictureCases[] = {
    {"Palette", png_layout::palette, 256, 256, true}, {"Grey", png_layout::grey, 256, 256, true},
    {"Rgb", png_layout::rgb, 256, 256, true},         {"OnePixel", png_layout::rgba, 1, 1, false},
    {"Large", png_layout::rgb, 2000, 1500, true},
};

class OtherPicture : public ::testing::TestWithParam<std::tuple<picture_case, program_variant>> {};

TEST_P(OtherPicture, IsShown) {
  const auto& [picture, variant] = GetParam();
  x_server server(kScreen);
  x_client x(server.display());
  work_folder folder;
  write_white_png(folder.data_file(kPictureName), picture.layout, picture.width, picture.height);
  demo_run run(variant.program, server.display(), folder,
               variant.sanitized ? sanitizer_environment()
                                 : std::vector<std::pair<std::string, std::string>>{});
  ASSERT_TRUE(run.wait_until_running(kStartTimeout)) << run.process().error_text();
  double share = 0;
  for (int i = 0; i < kScreenshots && share < kWhiteShare; ++i) {
    share = std::max(share, share_of_light_grey(x.grab_screen()));
    std::this_thread::sleep_for(kScreenshotGap);
  }
  ASSERT_TRUE(run.leave_with_escape());
  EXPECT_EQ(run.process().end_signal(), 0);
  EXPECT_EQ(run.process().exit_status(), 0);
  EXPECT_EQ(run.process().error_text(), "");
  if (picture.visible) {
    EXPECT_GE(share, kWhiteShare) << "the white picture is not on screen";
  }
  std::printf("[figures] %s picture (%s): %.1f %% of the screen light grey\n", picture.name.c_str(),
              variant.name.c_str(), 100 * share);
}

INSTANTIATE_TEST_SUITE_P(Layouts, OtherPicture,
                         ::testing::Combine(::testing::ValuesIn(kPictureCases),
                                            ::testing::ValuesIn(window_programs())),
                         [](const auto& info) {
                           return std::get<0>(info.param).name + std::get<1>(info.param).name;
                         });

// ---- No sound -----------------------------------------------------------------------------------

struct sound_case {
  std::string name;
  std::function<void(const work_folder&)> spoil;  // may be empty
  std::string audio_driver;                       // "" keeps SDL's dummy driver
  bool warns;
  std::string mentions;  // what the warning names
};

void PrintTo(const sound_case& c, std::ostream* out) {
  *out << c.name;
}

long music_size(const work_folder& f) {
  return static_cast<long>(std::filesystem::file_size(f.data_file(kMusicName)));
}

class NoSound : public ::testing::TestWithParam<sound_case> {};

TEST_P(NoSound, TheShowGoesOnWithAtMostOneWarning) {
  const sound_case& c = GetParam();
  x_server server(kScreen);
  work_folder folder;
  if (c.spoil) c.spoil(folder);
  std::vector<std::pair<std::string, std::string>> environment;
  if (!c.audio_driver.empty()) environment.push_back({"SDL_AUDIODRIVER", c.audio_driver});
  demo_run run(kWindowProgram, server.display(), folder, environment);
  ASSERT_TRUE(run.wait_until_running(kStartTimeout)) << run.process().error_text();
  std::this_thread::sleep_for(kRunOnFor);
  EXPECT_FALSE(run.process().ended()) << "the show stopped without sound";
  ASSERT_TRUE(run.leave_with_escape());
  EXPECT_EQ(run.process().end_signal(), 0);
  EXPECT_EQ(run.process().exit_status(), 0);
  const std::vector<std::string> errors = lines_of(run.process().error_text());
  ASSERT_EQ(errors.size(), c.warns ? 1u : 0u) << ::testing::PrintToString(errors);
  if (c.warns) {
    EXPECT_TRUE(contains(errors[0], c.mentions)) << errors[0];
  }
}

const std::string kMusicPath = std::string("data/") + kMusicName;

// A track cut inside its headers cannot be decoded at all. One cut inside the sound decodes up to
// the cut, but its last page does not end the stream: it is not played either.
INSTANTIATE_TEST_SUITE_P(
    Causes, NoSound,
    ::testing::Values(
        sound_case{"Missing", [](const work_folder& f) { f.remove_data_file(kMusicName); }, "",
                   true, kMusicPath},
        sound_case{"Empty", [](const work_folder& f) { f.write_data_file(kMusicName, ""); }, "",
                   true, kMusicPath},
        sound_case{"CutInTheHeaders",
                   [](const work_folder& f) { f.truncate_data_file(kMusicName, 2000); }, "", true,
                   kMusicPath},
        sound_case{
            "CutInTheSound",
            [](const work_folder& f) { f.truncate_data_file(kMusicName, music_size(f) / 2); }, "",
            true, kMusicPath},
        sound_case{
            "Text",
            [](const work_folder& f) { f.write_data_file(kMusicName, "this is no music\n"); }, "",
            true, kMusicPath},
        sound_case{"PictureInstead",
                   [](const work_folder& f) {
                     f.write_data_file(kMusicName, read_file(f.data_file(kPictureName)));
                   },
                   "", true, kMusicPath},
        sound_case{"NoAudioDevice", nullptr, kNoAudioDriver, true, "audio device"}),
    [](const auto& info) { return info.param.name; });

// ---- Where the data lies, and the screen size ---------------------------------------------------

TEST(AnotherFolder, TheDataBesideTheProgramIsUsed) {
  x_server server(kScreen);
  work_folder elsewhere(false);
  demo_run run(kWindowProgram, server.display(), elsewhere);
  ASSERT_TRUE(run.wait_until_running(kStartTimeout)) << run.process().error_text();
  ASSERT_TRUE(run.leave_with_escape());
  EXPECT_EQ(run.process().exit_status(), 0);
  EXPECT_EQ(run.process().error_text(), "");
}

TEST(SmallScreen, FullscreenFallsBackToAWindowWithOneWarning) {
  x_server server(kSmallScreen);
  x_client x(server.display());
  work_folder folder;
  demo_run run(kFullscreenProgram, server.display(), folder);
  const std::optional<window_box> window =
      x.wait_for_window(kStartTimeout, kModeWidth, kModeHeight);
  ASSERT_TRUE(window.has_value()) << run.process().error_text();
  EXPECT_EQ(window->width, kModeWidth);
  EXPECT_EQ(window->height, kModeHeight);
  EXPECT_FALSE(window->override_redirect) << "a window, not the full-screen one";
  ASSERT_TRUE(run.wait_until_running(kStartTimeout)) << run.process().error_text();
  ASSERT_TRUE(run.leave_with_escape());
  EXPECT_EQ(run.process().end_signal(), 0);
  EXPECT_EQ(run.process().exit_status(), 0);
  const std::vector<std::string> errors = lines_of(run.process().error_text());
  ASSERT_EQ(errors.size(), 1u) << ::testing::PrintToString(errors);
  EXPECT_TRUE(contains(errors[0], "full-screen")) << errors[0];
}

}  // namespace
