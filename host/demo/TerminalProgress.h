// A progress bar on the terminal for a report run, fed by the report's progress callback.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>

namespace TDInvoice::Demo {

class TTerminalProgress {
public:
  // Draws nothing unless enabled (the commands enable it when stderr is a terminal).
  TTerminalProgress(std::ostream &out, int invoices, bool enabled);
  ~TTerminalProgress() { finish(); }

  // The report component's progress callback; context is the TTerminalProgress.
  static void callback(void *context, std::int32_t percent);
  void update(int percent);
  // Ends the bar's line.
  void finish();
  double elapsedSeconds() const;

private:
  std::ostream &FOut;
  int FInvoices;
  bool FEnabled;
  bool FDrawn = false;
  int FLastPercent = -1;
  std::chrono::steady_clock::time_point FStart;
};

} // namespace TDInvoice::Demo
