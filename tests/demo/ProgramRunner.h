// tdinvoice run as a separate process, the way a user runs it, against the built library and a
// private demo folder.
#pragma once

#include <string>
#include <vector>

namespace TDInvoice::Testing {

struct TProgramRun {
  int exitCode = -1;
  std::string out; // standard output
  std::string err; // standard error
  std::string all() const { return out + err; }
};

// Runs tdinvoice --library <built library> ARGUMENTS... with TDINVOICE_DEMO_DIR set to
// demoDir (so the default database lives there) and progress off the terminal.
TProgramRun runTdinvoice(const std::vector<std::string> &arguments, const std::string &demoDir);

// Runs a tool (pdfinfo, pdftotext) and returns its standard output; empty on failure.
std::string runTool(const std::vector<std::string> &arguments);

} // namespace TDInvoice::Testing
