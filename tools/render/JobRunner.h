#pragma once
// The run: every INPUT drawn into its picture, N postings at once. Each
// thread takes the next posting; the cores left over draw a large picture in
// bands of rows; the messages of a posting wait until those of the postings
// before it are out.

#include <cstdio>

#include "RenderArguments.h"

namespace render_command {

// Reads each posting (a file, or `in` for "-": through its descriptor, never
// more than the capacity and one byte), runs the draw pass over it and writes
// the picture, PNG or SVG, to its file or `out`. Prompts of the pass become
// lines on `err` and the pass goes on. A run whose pictures would replace a
// posting or each other draws nothing. The worst exit status of the postings.
int RunJobs(const Options& options, std::FILE* in, std::FILE* out, std::FILE* err);

}  // namespace render_command
