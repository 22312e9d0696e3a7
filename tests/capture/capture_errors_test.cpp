// demo_capture's failures: one line on standard error, the exit status, and nothing left behind.
#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "run_capture.h"

namespace {

struct failure_case {
  const char* name;
  std::string shell_prefix;
  std::vector<std::string> args;  // "@" stands for the scratch folder
  int exit_code;
  std::string message_part;
};

void PrintTo(const failure_case& c, std::ostream* out) {
  *out << c.name;
}

class capture_failure : public ::testing::TestWithParam<failure_case> {};

TEST_P(capture_failure, SaysWhyInOneLineAndLeavesNothing) {
  const failure_case& c = GetParam();
  scratch_folder scratch;
  std::ofstream(scratch.path() + "/file") << "a file where a folder should be\n";
  std::vector<std::string> args;
  for (std::string arg : c.args) {
    if (arg[0] == '@') arg = scratch.path() + arg.substr(1);
    args.push_back(arg);
  }
  const capture_run run = run_capture(args, c.shell_prefix);
  EXPECT_EQ(run.exit_code, c.exit_code) << run.errors;
  const std::vector<std::string> lines = lines_starting_with(run.errors, "demo_capture: ");
  ASSERT_EQ(lines.size(), 1u) << run.errors;
  EXPECT_NE(lines[0].find(c.message_part), std::string::npos) << lines[0];
  const size_t usage_lines = c.exit_code == 2 ? 1 : 0;  // bad arguments also show the usage
  EXPECT_EQ(lines_starting_with(run.errors, "usage: ").size(), usage_lines);
  EXPECT_EQ(folder_entries(scratch.path()), std::vector<std::string>{"file"});
}

// A file-size limit of 64 blocks (32 or 64 KB) makes the first frame's write fail, as a full disk
// would; the video case fails in ffmpeg.
const char kSmallFileLimit[] = "ulimit -f 64; ";

INSTANTIATE_TEST_SUITE_P(
    failures, capture_failure,
    ::testing::Values(
        failure_case{"FolderUnderAFile", "", {"@/file/frames/"}, 1, "cannot write frames"},
        failure_case{"VideoUnderAFile", "", {"@/file/show.mp4"}, 1, "cannot write"},
        failure_case{"NoFfmpeg", "env PATH=/nonexistent ", {"@/show.mp4"}, 1, "ffmpeg"},
        failure_case{
            "FramesTooLarge", kSmallFileLimit, {"--to", "500", "@/frames/"}, 1, "File too large"},
        failure_case{
            "VideoTooLarge", kSmallFileLimit, {"--to", "540", "@/show.mp4"}, 1, "ffmpeg failed"},
        failure_case{"BadRate", "", {"--fps", "0", "@/frames/"}, 2, "--fps"},
        failure_case{
            "NoFrameInWindow", "", {"--from", "501", "--to", "539", "@/frames/"}, 2, "no frame"}),
    [](const ::testing::TestParamInfo<failure_case>& info) { return info.param.name; });

}  // namespace
