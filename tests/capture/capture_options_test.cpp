// The capture program's command line.
#include "capture/capture_options.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

struct accepted_case {
  std::vector<const char*> args;
  capture_options expected;
};

capture_options options(int fps, unsigned seed, Sint32 from, Sint32 to, const char* output,
                        output_kind kind) {
  capture_options o;
  o.fps = fps;
  o.seed = seed;
  o.from = from;
  o.to = to;
  o.output = output;
  o.kind = kind;
  return o;
}

void PrintTo(const accepted_case& c, std::ostream* out) {
  for (const char* arg : c.args) *out << arg << " ";
}

class accepted : public ::testing::TestWithParam<accepted_case> {};

TEST_P(accepted, ParsesEveryValue) {
  const accepted_case& c = GetParam();
  capture_options parsed;
  std::string error;
  ASSERT_TRUE(
      parse_capture_options(static_cast<int>(c.args.size()), c.args.data(), &parsed, &error))
      << error;
  EXPECT_EQ(parsed.fps, c.expected.fps);
  EXPECT_EQ(parsed.seed, c.expected.seed);
  EXPECT_EQ(parsed.from, c.expected.from);
  EXPECT_EQ(parsed.to, c.expected.to);
  EXPECT_EQ(parsed.output, c.expected.output);
  EXPECT_EQ(parsed.kind, c.expected.kind);
}

INSTANTIATE_TEST_SUITE_P(
    lines, accepted,
    ::testing::Values(
        accepted_case{
            {"frames/"},
            options(25, 1, kEarliestTime, kLatestTime, "frames/", output_kind::png_folder)},
        accepted_case{
            {"--fps", "30", "--seed", "4294967295", "--from", "-5", "--to", "900", "out/show.mkv"},
            options(30, 4294967295u, -5, 900, "out/show.mkv", output_kind::mkv)},
        accepted_case{{"show.mp4", "--to", "1000"},
                      options(25, 1, kEarliestTime, 1000, "show.mp4", output_kind::mp4)}));

struct refused_case {
  const char* why;
  std::vector<const char*> args;
};

void PrintTo(const refused_case& c, std::ostream* out) {
  *out << c.why;
}

class refused : public ::testing::TestWithParam<refused_case> {};

TEST_P(refused, GivesAReason) {
  const refused_case& c = GetParam();
  capture_options parsed;
  std::string error;
  EXPECT_FALSE(
      parse_capture_options(static_cast<int>(c.args.size()), c.args.data(), &parsed, &error));
  EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    lines, refused,
    ::testing::Values(refused_case{"no output", {}}, refused_case{"other file type", {"show.avi"}},
                      refused_case{"folder without slash", {"frames"}},
                      refused_case{"root folder", {"/"}}, refused_case{"working folder", {"./"}},
                      refused_case{"two outputs", {"a/", "b/"}},
                      refused_case{"zero rate", {"--fps", "0", "a/"}},
                      refused_case{"rate above 1000", {"--fps", "1001", "a/"}},
                      refused_case{"rate with letters", {"--fps", "25x", "a/"}},
                      refused_case{"negative seed", {"--seed", "-1", "a/"}},
                      refused_case{"from after to", {"--from", "2000", "--to", "1000", "a/"}},
                      refused_case{"value missing", {"a/", "--to"}},
                      refused_case{"unknown option", {"--quality", "9", "a/"}}));

}  // namespace
