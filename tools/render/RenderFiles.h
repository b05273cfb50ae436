#pragma once
// Postings read and pictures written, regular files only (a pipe or device
// is refused, never opened); failures as the system's reason. Names are
// compared as the file system sees them, links followed and folders
// resolved: "notes.png", "./notes.png" and a link to it are one file.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace render_command {

// The posting on `fd` (standard input), or in the file `name`, into `text`:
// never more than the capacity and one byte, whatever size a file claims.
std::optional<std::string> ReadPosting(int fd, std::string& text);
std::optional<std::string> ReadPosting(const std::string& name, std::string& text);

// Why a picture cannot go to `name` (links followed by the system, so that
// /dev/stdout and /proc/self/fd/N are seen for what they are), found before
// it is drawn; nothing when it is a regular file or does not exist yet.
std::optional<std::string> UnfitOutput(const std::string& name);

// The picture into the file `name`, whole or not at all, or onto `out`.
std::optional<std::string> WritePicture(const std::string& name, const std::string& bytes);
std::optional<std::string> WritePicture(std::FILE* out, const std::string& bytes);

// The file a picture named `name` is written to: symbolic links are
// followed, also one whose target does not exist yet (the picture then
// creates the target). `name` itself when it is no link.
std::string FollowLinks(const std::string& name);

// One line for every picture that would replace a posting of the run and
// for every two pictures that would be one file; empty when there is none.
// `outputs[i]` is the picture of `inputs[i]`; "-" is standard input or
// output; standard input is read from `standardInput`.
std::vector<std::string> Collisions(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs,
                                    int standardInput);

}  // namespace render_command
