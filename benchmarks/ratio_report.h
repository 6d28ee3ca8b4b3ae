// A main for the benchmark programs: the usual table, then one line per pair of a program's
// measurement and its plain baseline, `ratio NAME = X.XX`, the ratio of their medians. A further
// pair for the same measurement prints `ratio NAME / BASELINE = X.XX`. A run that reported an
// error (a wrong reply, a broken claim) is left out of the medians, and the program exits with 1.
#pragma once

#include <span>

namespace velmora {

struct RatioPair {
  const char* program;  // the benchmark's name, with its arguments (`findTextCommand/foldCase:0`)
  const char* baseline;
  const char* label = nullptr;  // printed as `ratio LABEL = X.XX` instead of the program's name
};

int runWithRatios(int argc, char** argv, std::span<const RatioPair> pairs);

}  // namespace velmora
