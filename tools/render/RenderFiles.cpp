#include "RenderFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>

#include "format/Limits.h"

namespace render_command {

namespace {

std::string SystemReason(int error) { return std::strerror(error); }

std::string CapacityMessage() {
  return "larger than the " + std::to_string(sketch::kDocumentCapacity / (1024 * 1024)) + " MiB a posting may hold";
}

// A pipe, device or socket is not a posting: opening a named pipe waits for
// a writer, for ever when there is none, and a device may act on being
// opened. Standard input is where a pipe's posting comes in.
std::optional<std::string> NotAFile(const struct stat& status) {
  if (S_ISDIR(status.st_mode)) return SystemReason(EISDIR);
  if (!S_ISREG(status.st_mode)) return std::string("not a regular file");
  return std::nullopt;
}

// As many links as the system follows in one name; a longer chain is left
// for opening the file to report.
constexpr int kMostLinks = 40;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string IdentityOf(const struct stat& status) {
  return "file " + std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
}

// Real paths of folders, each resolved once: an archive's pictures go into
// few folders. Empty for a folder that cannot be resolved.
class RealFolders {
 public:
  const std::string& Of(const std::string& folder) {
    const auto [at, added] = known_.emplace(folder, std::string());
    if (added) {
      if (char* real = ::realpath(folder.empty() ? "." : folder.c_str(), nullptr)) {
        at->second = real;
        std::free(real);
      }
    }
    return at->second;
  }

 private:
  std::map<std::string, std::string> known_;
};

// Where `output` meets every other name of the same file: the file itself
// when it exists, else the real path of its folder and its name.
std::string PlaceOf(const std::string& output, RealFolders& folders) {
  struct stat status;
  if (::stat(output.c_str(), &status) == 0) return IdentityOf(status);
  const std::string target = FollowLinks(output);  // a link to a file not there yet
  const std::string folder = FolderOf(target);
  const std::string& real = folders.Of(folder);
  if (real.empty()) return "name " + target;  // writing it will fail and say why
  return "path " + real + "/" + target.substr(folder.size());
}

std::string Quoted(const std::string& name) { return "'" + (name == "-" ? std::string("<stdin>") : name) + "'"; }

std::optional<std::string> WriteAll(int fd, const std::string& bytes) {
  const char* next = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, next, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return SystemReason(errno);
    }
    next += written;
    left -= static_cast<std::size_t>(written);
  }
  return std::nullopt;
}

// Creates a file of a new, short name in the folder of `target` and opens it
// for writing; its permissions follow the umask. The name does not grow with
// the target's, which may already be as long as a name can be. -1 with errno
// set when none can be made.
int CreateAside(const std::string& target, std::string& aside) {
  const std::string folder = FolderOf(target);
  for (int attempt = 0; attempt < 100; ++attempt) {
    aside = folder + ".sketchpost-" + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
    const int fd = ::open(aside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

// Read to the end, but never more than the capacity and one byte: that
// byte tells a posting that is too large, whatever size its file claims, and
// a pipe or device that never ends is left there. The descriptor is read
// directly, as stdio would read ahead of the bound.
std::optional<std::string> ReadPosting(int fd, std::string& text) {
  char buffer[1 << 16];
  for (;;) {
    const std::size_t wanted = std::min(sizeof buffer, sketch::kDocumentCapacity + 1 - text.size());
    const ssize_t got = ::read(fd, buffer, wanted);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return SystemReason(errno);
    if (got == 0) return std::nullopt;
    text.append(buffer, static_cast<std::size_t>(got));
    if (text.size() > sketch::kDocumentCapacity) return CapacityMessage();
  }
}

// The name is looked at before it is opened, and opened without waiting in
// case a pipe took its place in between.
std::optional<std::string> ReadPosting(const std::string& name, std::string& text) {
  struct stat status;
  if (::stat(name.c_str(), &status) != 0) return SystemReason(errno);
  if (auto wrong = NotAFile(status)) return wrong;
  const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return SystemReason(errno);
  std::optional<std::string> failure;
  if (::fstat(fd, &status) != 0) {
    failure = SystemReason(errno);
  } else if (auto wrong = NotAFile(status)) {
    failure = std::move(wrong);
  } else if (static_cast<std::uint64_t>(status.st_size) > sketch::kDocumentCapacity) {
    failure = CapacityMessage();
  } else {
    failure = ReadPosting(fd, text);
  }
  ::close(fd);
  return failure;
}

std::optional<std::string> UnfitOutput(const std::string& name) {
  struct stat status;
  if (::stat(name.c_str(), &status) != 0) return std::nullopt;
  return NotAFile(status);
}

// A file is written aside in its folder and renamed over OUT when complete:
// a failure leaves no partial file and an older picture stays whole. A
// symbolic link is followed, its target replaced or created; an existing
// file keeps its permissions.
//
// The picture is not synced to the disk before the rename: it is derived
// from the posting, and drawn again in milliseconds, while waiting for the
// disk took 4 to 12 ms a picture on a busy machine, more than drawing it.
// A crash of the program still leaves no partial picture; a crash of the
// system soon after the run may leave the picture empty or old, and drawing
// it again mends it.
std::optional<std::string> WritePicture(const std::string& name, const std::string& bytes) {
  if (auto wrong = UnfitOutput(name)) return wrong;
  const std::string target = FollowLinks(name);
  struct stat status;
  const bool exists = ::stat(target.c_str(), &status) == 0;
  if (exists) {
    if (auto wrong = NotAFile(status)) return wrong;
  }
  std::string aside;
  const int fd = CreateAside(target, aside);
  if (fd < 0) return SystemReason(errno);
  std::optional<std::string> failure = WriteAll(fd, bytes);
  if (!failure && exists && ::fchmod(fd, status.st_mode & 07777) != 0) failure = SystemReason(errno);
  if (::close(fd) != 0 && !failure) failure = SystemReason(errno);
  if (!failure && ::rename(aside.c_str(), target.c_str()) != 0) failure = SystemReason(errno);
  if (failure) ::unlink(aside.c_str());
  return failure;
}

std::optional<std::string> WritePicture(std::FILE* out, const std::string& bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fflush(out) != 0) {
    return SystemReason(errno);
  }
  return std::nullopt;
}

std::string FollowLinks(const std::string& name) {
  std::string path = name;
  for (int link = 0; link < kMostLinks; ++link) {
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) break;
    std::string target(static_cast<std::size_t>(status.st_size) + 1, '\0');
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length < 0 || static_cast<std::size_t>(length) >= target.size()) break;
    target.resize(static_cast<std::size_t>(length));
    path = target.starts_with('/') ? target : FolderOf(path) + target;
  }
  return path;
}

std::vector<std::string> Collisions(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs,
                                    int standardInput) {
  std::map<std::string, std::size_t> postings;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    struct stat status;
    const bool found = inputs[i] == "-" ? ::fstat(standardInput, &status) == 0 && S_ISREG(status.st_mode)
                                        : ::stat(inputs[i].c_str(), &status) == 0;
    if (found) postings.emplace(IdentityOf(status), i);
  }
  std::vector<std::string> lines;
  std::map<std::string, std::size_t> pictures;
  RealFolders folders;
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    if (outputs[i] == "-") continue;
    const std::string place = PlaceOf(outputs[i], folders);
    if (const auto posting = postings.find(place); posting != postings.end()) {
      lines.push_back(posting->second == i ? outputs[i] + ": the picture would replace its posting"
                                           : outputs[i] + ": the picture of " + Quoted(inputs[i]) +
                                                 " would replace the posting " + Quoted(inputs[posting->second]));
    }
    const auto [first, added] = pictures.emplace(place, i);
    if (added) continue;
    const std::size_t j = first->second;
    lines.push_back(Quoted(inputs[j]) + " and " + Quoted(inputs[i]) + " would both be drawn to " +
                    (outputs[i] == outputs[j] ? Quoted(outputs[i])
                                              : "one file, " + Quoted(outputs[j]) + " and " + Quoted(outputs[i])));
  }
  return lines;
}

}  // namespace render_command
