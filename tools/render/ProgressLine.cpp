#include "ProgressLine.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cmath>
#include <string_view>

// Last: terminfo's header names its capabilities as macros.
#include <term.h>

namespace render_command {

namespace {

constexpr auto kRedrawEvery = std::chrono::milliseconds(100);

// A terminfo string capability, or nullptr when the terminal lacks it.
const char* Capability(const char* name) {
  const char* value = ::tigetstr(name);
  return value == nullptr || value == reinterpret_cast<const char*>(-1) ? nullptr : value;
}

std::string Duration(double seconds) {
  const long whole = std::lround(std::ceil(seconds));
  if (whole < 60) return std::to_string(whole) + " s";
  if (whole < 3600) return std::to_string(whole / 60) + " min " + std::to_string(whole % 60) + " s";
  return std::to_string(whole / 3600) + " h " + std::to_string(whole / 60 % 60) + " min";
}

}  // namespace

ProgressLine::ProgressLine(std::FILE* err, std::size_t total, bool quiet)
    : err_(err), total_(total), on_(!quiet && total > 1 && ::isatty(fileno(err))) {
  if (!on_) return;
  int error = 0;
  if (::setupterm(nullptr, fileno(err), &error) == 0) {  // OK
    if (const char* start = Capability("cr")) toStart_ = start;
    clearToEnd_ = Capability("el");
  }
}

std::string ProgressLine::Text(std::size_t done, std::size_t total, double seconds) {
  std::string text = std::to_string(done) + " of " + std::to_string(total) + " postings";
  if (done == 0 || seconds <= 0) return text;
  const double rate = static_cast<double>(done) / seconds;
  text += ", " + std::to_string(std::lround(rate)) + " a second";
  if (done < total) text += ", " + Duration(static_cast<double>(total - done) / rate) + " left";
  return text;
}

void ProgressLine::Show(std::size_t done) {
  if (!on_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - shown_ < kRedrawEvery) return;  // also just after a message took it off
  shown_ = now;
  std::string text = "sketchpost-render: " + Text(done, total_, std::chrono::duration<double>(now - start_).count());
  // Never wider than the terminal: a wrapped line could not be taken back.
  winsize size{};
  if (::ioctl(fileno(err_), TIOCGWINSZ, &size) == 0 && size.ws_col > 1 && text.size() >= size.ws_col)
    text.resize(size.ws_col - 1);
  const std::size_t length = text.size();
  if (clearToEnd_ != nullptr) {
    text = toStart_ + text + clearToEnd_;
  } else {
    text = toStart_ + text + std::string(shownLength_ > length ? shownLength_ - length : 0, ' ');
  }
  std::fputs(text.c_str(), err_);
  std::fflush(err_);
  shownLength_ = length;
}

void ProgressLine::Clear() {
  if (!on_ || shownLength_ == 0) return;
  std::fputs(toStart_, err_);
  if (clearToEnd_ != nullptr) {
    std::fputs(clearToEnd_, err_);
  } else {
    std::fputs((std::string(shownLength_, ' ') + toStart_).c_str(), err_);
  }
  std::fflush(err_);
  shownLength_ = 0;
}

}  // namespace render_command
