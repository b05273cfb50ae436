#pragma once
// The legends of a set of postings: every T line of the sample postings,
// the fuzz corpora and the sketch lines the tests quote, as the comparison
// of the two legend painters reads them.

#include <string>
#include <vector>

namespace legendcompare {

struct Legend {
  std::string text;  // bytes of the sketch's character set
  int points = 10;
  bool up = false;
};

// The legends of `paths`: a folder stands for the files in it; a C++ source
// for the sketch lines quoted in it; any other file is a posting.
std::vector<Legend> ReadLegends(const std::vector<std::string>& paths);

}  // namespace legendcompare
