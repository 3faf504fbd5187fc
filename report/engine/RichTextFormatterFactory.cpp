#include "report/RichTextFormatter.h"
#include "report/engine/PlainTextFormatter.h"

#include <atomic>

namespace TDInvoice::Report {

namespace {
std::atomic<TRichTextFormatterFactory> registeredFactory{nullptr};
}

void setRichTextFormatterFactory(TRichTextFormatterFactory factory) {
  registeredFactory.store(factory);
}

std::unique_ptr<TRichTextFormatter> createRichTextFormatter() {
  if (TRichTextFormatterFactory factory = registeredFactory.load())
    return factory();
  return std::make_unique<TPlainTextFormatter>();
}

} // namespace TDInvoice::Report
