// A short show under valgrind's memcheck: every memory error valgrind finds is sorted into ours and
// the libraries', and ours must be none. An error is ours when the innermost stack frame outside
// valgrind's own replacements and the C and C++ runtime libraries lies in the program itself (our
// code is linked into it statically; SDL, Mesa and X are shared libraries). Leaks are not looked
// at: the show keeps its surfaces, music and GL objects until the process ends, on purpose.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <thread>

#include "demo_programs.h"
#include "demo_run.h"
#include "x_server.h"

namespace {

constexpr char kScreen[] = "1024x768x24";
constexpr auto kValgrindStartTimeout = 240s;  // loading under valgrind takes half a minute
constexpr auto kShowFor = 3s;                 // of show (a few frames under valgrind)
constexpr auto kValgrindEndTimeout = 120s;    // a frame under valgrind takes seconds

// Libraries that only do what their caller asked: an error inside them belongs to the caller.
const char* const kPassThroughObjects[] = {"vgpreload", "/libc.so", "/libstdc++.so", "/libm.so"};

struct valgrind_error {
  std::string kind;
  std::string what;
  std::string place;  // the deciding frame: function and object
  bool ours;
};

std::string tag(const std::string& text, const std::string& name) {
  const size_t open = text.find("<" + name + ">");
  if (open == std::string::npos) return "";
  const size_t start = open + name.size() + 2;
  return text.substr(start, text.find("</" + name + ">", start) - start);
}

std::vector<valgrind_error> errors_in(const std::string& xml, const std::string& program) {
  std::vector<valgrind_error> errors;
  for (size_t at = 0; (at = xml.find("<error>", at)) != std::string::npos;) {
    const size_t end = xml.find("</error>", at);
    const std::string block = xml.substr(at, end - at);
    at = end;
    valgrind_error e{tag(block, "kind"), tag(block, "what"), "", false};
    if (e.kind.rfind("Leak_", 0) == 0) continue;
    for (size_t f = 0; (f = block.find("<frame>", f)) != std::string::npos;) {
      const size_t f_end = block.find("</frame>", f);
      const std::string frame = block.substr(f, f_end - f);
      f = f_end;
      const std::string object = tag(frame, "obj");
      bool pass_through = false;
      for (const char* lib : kPassThroughObjects)
        pass_through = pass_through || object.find(lib) != std::string::npos;
      if (pass_through) continue;
      e.place = tag(frame, "fn") + " in " + object;
      e.ours = object == program;
      break;
    }
    errors.push_back(e);
  }
  return errors;
}

TEST(Memory, AShortShowUnderValgrindHasNoMemoryErrorsInOurCode) {
  x_server server(kScreen);
  work_folder folder;
  const std::string report = folder.path() + "/memcheck.xml";
  launch_options options;
  options.program = "valgrind";
  options.arguments = {"--tool=memcheck",
                       "--leak-check=no",
                       "--xml=yes",
                       "--xml-file=" + report,
                       "--log-file=" + folder.path() + "/memcheck.log",
                       kWindowProgram};
  options.working_folder = folder.path();
  // llvmpipe renders on the program's own thread: under valgrind, which runs one thread at a time,
  // its worker threads only add waiting.
  options.environment = {
      {"DISPLAY", server.display()}, {"SDL_AUDIODRIVER", "dummy"}, {"LP_NUM_THREADS", "0"}};
  spawned_process p(options);
  const auto running =
      p.wait_for_line([](const std::string& line) { return line.rfind("Seconds: ", 0) == 0; },
                      kValgrindStartTimeout);
  ASSERT_TRUE(running.has_value()) << p.error_text();
  std::this_thread::sleep_for(kShowFor);
  launch_options escape{"xdotool", {"keydown", "Escape"}, "", {{"DISPLAY", server.display()}}, {}};
  ASSERT_EQ(run_to_end(escape, 10s), 0);
  const bool ended = p.wait_for_end(kValgrindEndTimeout);
  escape.arguments[0] = "keyup";
  run_to_end(escape, 10s);
  ASSERT_TRUE(ended) << "the run did not end under valgrind";
  EXPECT_EQ(p.exit_status(), 0);

  const std::string xml = read_file(report);
  ASSERT_NE(xml.find("<state>FINISHED</state>"), std::string::npos) << "valgrind did not finish";
  // valgrind names objects by their real paths.
  const std::vector<valgrind_error> errors =
      errors_in(xml, std::filesystem::canonical(kWindowProgram).string());
  int ours = 0;
  std::map<std::string, int> theirs;  // by kind
  for (const valgrind_error& e : errors) {
    EXPECT_FALSE(e.ours) << e.kind << ": " << e.what << " at " << e.place;
    if (e.ours) {
      ++ours;
    } else {
      ++theirs[e.kind];
    }
  }
  std::printf(
      "[figures] valgrind memcheck (%zu progress pairs): %d errors in our code, %zu in "
      "libraries",
      p.output_lines().size() / 2, ours, errors.size() - ours);
  for (const auto& [kind, count] : theirs) std::printf(", %s %d", kind.c_str(), count);
  std::printf("\n");
}

}  // namespace
