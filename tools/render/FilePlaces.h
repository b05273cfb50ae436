#pragma once
// Where a run's postings and pictures really are. Names are compared as the
// file system sees them, symbolic links followed and folders resolved, so
// that "notes.png", "./notes.png", "/home/me/notes.png" and a link to it are
// one file.

#include <string>
#include <vector>

namespace render_command {

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
