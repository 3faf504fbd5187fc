// tdinvoice run as a child process, with its peak resident set taken from the kernel's
// accounting of that child alone.
#pragma once

#include <string>
#include <vector>

namespace TDInvoice::Bench {

struct TChildRun {
  int exitCode = -1;
  long peakRssKiB = 0;
  double seconds = 0;
  std::string output; // standard output and error
};

TChildRun runChild(const std::vector<std::string> &arguments);

} // namespace TDInvoice::Bench
