#include "FilePlaces.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <map>

namespace render_command {

namespace {

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

}  // namespace

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
