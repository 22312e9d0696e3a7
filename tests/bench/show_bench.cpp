// Frame times of the show on the real OpenGL stack: runs the show at fixed show times through
// every time window, in order so that the canvas, the particles and the GL state carry over as in
// the show, and prints for each window the median and 95th percentile of the frame's work (the
// drawing up to glFinish, without the limiter's sleep and without the swap), the CPU time that
// work took (all threads, and the program's own thread alone), the swap, and where the work goes
// (canvas paint, mipmap upload, panels, particles).
//
//   show_bench [--passes N] [--step MS] [--from MS] [--to MS] [--frames] [--straightforward]
//
// Needs an X display (DISPLAY) and the data folder in the working directory (run it from the
// build folder). --frames prints every frame too; --straightforward turns the show's fast path
// off. Wall-clock times depend on what else runs on the machine; the CPU times much less.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <vector>

#include "shell/shell.h"
#include "show/fast_path.h"
#include "show/frame_steps.h"
#include "show/intro.h"

namespace {

using bench_clock = std::chrono::steady_clock;

constexpr Sint32 kFirstShowTime = 500;   // the show's first frame
constexpr Sint32 kLastShowTime = 59500;  // the show's last frame, drawn empty
constexpr Sint32 kDefaultStepMs = 250;
constexpr int kDefaultPasses = 3;
constexpr float kCameraDistance = 1.0f;  // the frame loop stands the camera one unit back
constexpr double kPercentile = 0.95;
constexpr double kFrameBudgetMs = 40.0;  // 25 frames a second

bool print_frames = false;  // --frames: one line per frame as well

// The time windows, as the timeline picks them, with the dolly splitting the first.
struct time_window {
  const char* name;
  Sint32 last;  // last show time of the window, inclusive
};
constexpr std::array<time_window, 7> kWindows{{
    {"scene 1, before the dolly", 2000},
    {"scene 1, dolly", 12999},
    {"scene 2", 18999},
    {"rotation (scenes 2, 3)", 28499},
    {"particles (scene 3)", 46999},
    {"scene 4", 58999},
    {"empty", kLastShowTime},
}};

size_t window_of(Sint32 show_time) {
  size_t w = 0;
  while (w + 1 < kWindows.size() && show_time > kWindows[w].last) ++w;
  return w;
}

// The first frame of every pass has a row of its own after the windows: it pays the one-time
// costs of a fresh show (the texture's first storage, the renderer's first use of each state).
constexpr size_t kFirstFrameRow = kWindows.size();
constexpr size_t kRows = kWindows.size() + 1;

constexpr std::array<frame_step, 4> kSteps{frame_step::paint, frame_step::upload,
                                           frame_step::panels, frame_step::particles};
constexpr std::array<const char*, 4> kStepNames{"paint", "upload", "panels", "particles"};

double ms_since(bench_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(bench_clock::now() - start).count();
}

// CPU time of the whole process (the program's thread and the renderer's threads), in ms: it
// hardly changes when other programs share the cores, unlike the wall-clock time.
double process_cpu_ms() {
  timespec now;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double thread_cpu_ms() {
  timespec now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The step timer installed in split passes: glFinish after each step, so the GL work a step
// queued is charged to it.
struct step_timer {
  static bench_clock::time_point last;
  static std::array<double, 4> spent;
  static void done(frame_step finished) {
    glFinish();
    const bench_clock::time_point now = bench_clock::now();
    spent[static_cast<size_t>(finished)] +=
        std::chrono::duration<double, std::milli>(now - last).count();
    last = now;
  }
};
bench_clock::time_point step_timer::last;
std::array<double, 4> step_timer::spent;

struct window_figures {
  std::vector<double> work;       // ms per frame, from passes without step marks
  std::vector<double> cpu;        // process CPU ms per frame, same frames
  std::vector<double> main_cpu;   // CPU ms of the program's own thread, same frames
  std::vector<double> swap;       // ms per swap
  std::array<double, 5> split{};  // summed ms per step and "other", from split passes
  int split_frames = 0;
};

double percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t rank = static_cast<size_t>(p * (values.size() - 1) + 0.5);  // nearest rank
  return values[std::min(rank, values.size() - 1)];
}

// One frame as the frame loop draws it, at an exact show time; returns the work in ms.
double timed_frame(intro& show, Sint32 show_time, double* cpu, double* main_cpu) {
  const double cpu_start = process_cpu_ms();
  const double main_start = thread_cpu_ms();
  const bench_clock::time_point start = bench_clock::now();
  step_timer::last = start;
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0, 0, -kCameraDistance);
  glPushMatrix();
  show.run_at(show_time);
  glPopMatrix();
  glFinish();
  const double work = ms_since(start);
  *cpu = process_cpu_ms() - cpu_start;
  *main_cpu = thread_cpu_ms() - main_start;
  return work;
}

// One pass through the whole show with a fresh show object (whose music replaces the last one's).
void run_pass(bool split, Sint32 from, Sint32 to, Sint32 step,
              std::vector<window_figures>* figures) {
  Mix_HaltChannel(-1);
  std::optional<intro> show;
  show.emplace();
  frame_step_done = split ? step_timer::done : nullptr;
  for (Sint32 t = from; t <= to; t += step) {
    step_timer::spent = {};
    double cpu;
    double main_cpu;
    const double work = timed_frame(*show, t, &cpu, &main_cpu);
    const bench_clock::time_point swap_start = bench_clock::now();
    SDL_GL_SwapBuffers();
    const double swap = ms_since(swap_start);
    if (print_frames) {
      std::printf("  %s t=%5d work %7.1f cpu %7.1f main %7.1f swap %5.1f\n",
                  figures == nullptr ? "warm-up"
                  : split            ? "split"
                                     : "pass",
                  t, work, cpu, main_cpu, swap);
    }
    if (figures == nullptr) continue;  // warm-up
    window_figures& f = (*figures)[t == from ? kFirstFrameRow : window_of(t)];
    if (split) {
      double marked = 0;
      for (size_t s = 0; s < kSteps.size(); ++s) {
        f.split[s] += step_timer::spent[s];
        marked += step_timer::spent[s];
      }
      f.split[kSteps.size()] += work - marked;
      ++f.split_frames;
    } else {
      f.work.push_back(work);
      f.cpu.push_back(cpu);
      f.main_cpu.push_back(main_cpu);
      f.swap.push_back(swap);
    }
  }
  frame_step_done = nullptr;
}

void print_table(const std::vector<window_figures>& figures) {
  std::printf("%-26s %6s %8s %8s %8s %8s %8s %8s %8s %8s |", "window", "frames", "work-med",
              "work-p95", "cpu-med", "cpu-p95", "main-med", "swap-med", "swap-p95", "all-p95");
  for (const char* name : kStepNames) std::printf(" %9s", name);
  std::printf(" %9s\n", "other");
  for (size_t w = 0; w < kRows; ++w) {
    const window_figures& f = figures[w];
    std::vector<double> whole(f.work.size());
    for (size_t i = 0; i < whole.size(); ++i) whole[i] = f.work[i] + f.swap[i];
    const double work_p95 = percentile(f.work, kPercentile);
    const char* name = w == kFirstFrameRow ? "first frame of a pass" : kWindows[w].name;
    std::printf("%-26s %6zu %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f |", name, f.work.size(),
                percentile(f.work, 0.5), work_p95, percentile(f.cpu, 0.5),
                percentile(f.cpu, kPercentile), percentile(f.main_cpu, 0.5),
                percentile(f.swap, 0.5), percentile(f.swap, kPercentile),
                percentile(whole, kPercentile));
    for (double spent : f.split) std::printf(" %9.1f", f.split_frames ? spent / f.split_frames : 0);
    std::printf("%s\n", work_p95 < kFrameBudgetMs ? "" : "  (over 40 ms)");
  }
}

}  // namespace

int main(int argc, char** argv) {
  int passes = kDefaultPasses;
  Sint32 step = kDefaultStepMs;
  Sint32 from = kFirstShowTime;
  Sint32 to = kLastShowTime;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--passes") == 0 && i + 1 < argc) {
      passes = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--step") == 0 && i + 1 < argc) {
      step = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--from") == 0 && i + 1 < argc) {
      from = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--to") == 0 && i + 1 < argc) {
      to = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--frames") == 0) {
      print_frames = true;
    } else if (std::strcmp(argv[i], "--straightforward") == 0) {
      show_fast_path = false;
    } else {
      std::fprintf(stderr,
                   "usage: %s [--passes N] [--step MS] [--from MS] [--to MS] [--frames] "
                   "[--straightforward]\n",
                   argv[0]);
      return 2;
    }
  }
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (!InitStuff(SDL_OPENGL)) return 1;

  std::printf(
      "show_bench: %s path, %d passes (after one warm-up) of show time %d to %d every %d "
      "ms, plus one split pass\n",
      show_fast_path ? "fast" : "straightforward", passes, from, to, step);
  std::printf(
      "work = clear + show frame + glFinish; swap = SDL_GL_SwapBuffers alone; all = both;"
      " steps: mean ms per frame in the split pass (glFinish after each step); the first frame of"
      " each pass is counted apart\n");
  std::vector<window_figures> figures(kRows);
  run_pass(false, from, to, step, nullptr);
  for (int p = 0; p < passes; ++p) run_pass(false, from, to, step, &figures);
  run_pass(true, from, to, step, &figures);
  print_table(figures);
  SDL_Quit();
  return 0;
}
