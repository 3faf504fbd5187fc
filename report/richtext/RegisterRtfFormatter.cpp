// Kept apart from the formatter so that programs that only lay text out need not link the
// engine's factory.
#include "report/richtext/RtfFormatter.h"

namespace TDInvoice::Report {

void registerRtfFormatter() {
  setRichTextFormatterFactory(
      []() -> std::unique_ptr<TRichTextFormatter> { return std::make_unique<TRtfFormatter>(); });
}

} // namespace TDInvoice::Report
