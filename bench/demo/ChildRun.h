// tdinvoice run as a child process, with its peak resident set taken from the kernel's
// accounting of that child alone.
#pragma once

#include <string>
#include <vector>

namespace TDInvoice::Bench {

struct TChildRun {
  int exitCode = -1;
  long peakRssKiB = 0;   // as the kernel accounts the child: includes what it inherited
  double seconds = 0;    // wall clock
  double cpuSeconds = 0; // user and system time of the child
  std::string output;    // standard output and error
};

TChildRun runChild(const std::vector<std::string> &arguments);

} // namespace TDInvoice::Bench
