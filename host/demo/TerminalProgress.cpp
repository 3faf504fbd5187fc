#include "host/demo/TerminalProgress.h"

#include <algorithm>
#include <iomanip>
#include <string>

namespace TDInvoice::Demo {

TTerminalProgress::TTerminalProgress(std::ostream &out, int invoices, bool enabled)
    : FOut(out), FInvoices(invoices), FEnabled(enabled), FStart(std::chrono::steady_clock::now()) {}

void TTerminalProgress::callback(void *context, std::int32_t percent) {
  static_cast<TTerminalProgress *>(context)->update(percent);
}

void TTerminalProgress::update(int percent) {
  percent = std::clamp(percent, 0, 100);
  if (!FEnabled || percent == FLastPercent)
    return;
  FLastPercent = percent;
  constexpr int width = 30;
  const int filled = percent * width / 100;
  const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                          std::string(static_cast<std::size_t>(width - filled), '.');
  FOut << "\r  [" << bar << "] " << std::setw(3) << percent << "%  about "
       << FInvoices * percent / 100 << " of " << FInvoices << " invoices  " << std::fixed
       << std::setprecision(1) << elapsedSeconds() << " s " << std::flush;
  FDrawn = true;
}

void TTerminalProgress::finish() {
  if (FDrawn)
    FOut << '\n' << std::flush;
  FDrawn = false;
}

double TTerminalProgress::elapsedSeconds() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - FStart).count();
}

} // namespace TDInvoice::Demo
