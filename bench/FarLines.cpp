#include "FarLines.h"

#include <algorithm>

#include "format/SketchTokens.h"

namespace sketch_bench {

std::vector<std::string> FarLines(long long far) {
  const std::string f = std::to_string(far), m = std::to_string(-std::min(far, 999999LL));
  std::vector<std::string> lines;
  std::vector<std::string> pens = {"1", "10"};
  for (const sketch::PenToken& broken : sketch::kBrokenPenTokens) pens.emplace_back(broken.token);
  for (const std::string& pen : pens) {
    for (const std::string fill : {"E", "F"}) {
      for (const std::string kind : {"E", "R"}) {
        const std::string head = kind + "(" + pen + ";" + fill + ";";
        lines.push_back(head + m + ";1;" + f + ";200)");
        lines.push_back(head + "100;1:" + f + ":199)");
        lines.push_back(head + "10;" + m + ";11;" + f + ")");
        lines.push_back(head + m + ";" + m + ";" + f + ";" + f + ")");
        lines.push_back(head + m + ";" + m + ";160;100)");
        lines.push_back(head + "-1000;10;200;100)");
      }
    }
    const std::string arc = "A(" + pen + ";0;";
    lines.push_back(arc + m + ";100;" + f + ";104)");
    lines.push_back(arc + "320;1;" + f + ";0)");
    lines.push_back(arc + "160;" + m + ";" + f + ";100)");
    lines.push_back(arc + "160;100:" + m + ":" + f + ")");
    lines.push_back(arc + "0;0;1;" + f + ")");
    const std::string line = "L(" + pen + ";";
    lines.push_back(line + m + ";" + m + ";" + f + ";" + f + ")");
    lines.push_back(line + m + ";100:" + f + ":1:" + m + ":1)");
  }
  return lines;
}

std::vector<std::string> Cycled(const std::vector<std::string>& lines, std::size_t count) {
  std::vector<std::string> posting;
  for (std::size_t i = 0; i < count; ++i) posting.push_back(lines[i % lines.size()]);
  return posting;
}

}  // namespace sketch_bench
