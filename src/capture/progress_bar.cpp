// Drawing the progress line.
#include "capture/progress_bar.h"

#include <algorithm>

namespace {

constexpr int kBarWidth = 30;  // characters between the brackets
constexpr auto kRedrawPeriod = std::chrono::milliseconds(250);
constexpr int kSecondsPerMinute = 60;

// "1:05" for 65 seconds.
std::string minutes_and_seconds(double seconds) {
  const long whole = std::max(0L, static_cast<long>(seconds + 0.5));
  char text[32];
  std::snprintf(text, sizeof text, "%ld:%02ld", whole / kSecondsPerMinute,
                whole % kSecondsPerMinute);
  return text;
}

}  // namespace

progress_bar::progress_bar(int total, std::FILE* out)
    : total_(total), out_(out), start_(clock::now()), last_draw_() {}

std::string progress_bar::line(int done, int total, double seconds) {
  const int filled =
      total > 0 ? static_cast<int>(static_cast<long long>(kBarWidth) * done / total) : kBarWidth;
  std::string text = "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') + "] ";
  char figures[96];
  const double rate = seconds > 0 ? done / seconds : 0;
  std::snprintf(figures, sizeof figures, "%d/%d frames  %.1f fps  ", done, total, rate);
  text += figures;
  if (done >= total) {
    text += minutes_and_seconds(seconds) + " taken";
  } else if (rate > 0) {
    text += minutes_and_seconds((total - done) / rate) + " left";
  } else {
    text += "-:-- left";
  }
  return text;
}

void progress_bar::update(int done) {
  const clock::time_point now = clock::now();
  if (drawn_ && now - last_draw_ < kRedrawPeriod) return;
  last_draw_ = now;
  draw(done);
}

void progress_bar::finish(int done) {
  draw(done);
  break_line();
}

void progress_bar::break_line() {
  if (!drawn_) return;
  std::fputc('\n', out_);
  std::fflush(out_);
  drawn_ = false;
}

void progress_bar::draw(int done) {
  const double seconds = std::chrono::duration<double>(clock::now() - start_).count();
  // Trailing spaces wipe what a longer earlier line left behind.
  std::fprintf(out_, "\r%s   ", line(done, total_, seconds).c_str());
  std::fflush(out_);
  drawn_ = true;
}
