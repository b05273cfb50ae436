#pragma once
// One line on standard error while a batch runs, when standard error is a
// terminal: the postings done of all, the rate and the time left. It is
// redrawn at most ten times a second and taken off before any message and at
// the end, so messages and the shell's prompt start on a clean line. The
// terminal's own capabilities (terminfo) move to the line's start and clear
// it; a terminal terminfo does not know gets spaces instead.

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>

namespace render_command {

class ProgressLine {
 public:
  // Off when `err` is no terminal, or `quiet`.
  ProgressLine(std::FILE* err, std::size_t total, bool quiet);
  ~ProgressLine() { Clear(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  bool On() const { return on_; }
  // `done` postings are drawn; the line is redrawn unless it was within the
  // last tenth of a second.
  void Show(std::size_t done);
  // Taken off the screen.
  void Clear();

  // What the line says after `seconds`: "120 of 3000 postings, 812 a
  // second, 4 s left".
  static std::string Text(std::size_t done, std::size_t total, double seconds);

 private:
  std::FILE* err_;
  std::size_t total_;
  bool on_;
  const char* toStart_ = "\r";
  const char* clearToEnd_ = nullptr;  // none: spaces over the last line
  std::size_t shownLength_ = 0;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point shown_{};
};

}  // namespace render_command
