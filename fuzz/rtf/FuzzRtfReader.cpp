// Feeds arbitrary bytes to the RTF reader and checks the document it builds: runs cover each
// paragraph without gaps, every format index exists, and the length adds up.
#include "report/richtext/RtfReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

#define check(condition)                                                                           \
  do {                                                                                             \
    if (!(condition)) {                                                                            \
      std::fprintf(stderr, "broken: %s (line %d)\n", #condition, __LINE__);                        \
      std::abort();                                                                                \
    }                                                                                              \
  } while (false)

void checkDocument(const TDInvoice::Report::TRichTextDocument &document) {
  using namespace TDInvoice::Report;
  check(!document.formats.isEmpty());
  qsizetype length = document.paragraphs.isEmpty() ? 0 : document.paragraphs.size() - 1;
  for (const TRichParagraph &paragraph : document.paragraphs) {
    int next = 0;
    for (const TRichRun &run : paragraph.runs) {
      check(run.start == next && run.length > 0);
      check(run.format >= 0 && run.format < document.formats.size());
      next += run.length;
    }
    check(next == paragraph.text.size());
    check(paragraph.markFormat >= 0 && paragraph.markFormat < document.formats.size());
    for (const TRichTabStop &tab : paragraph.format.tabs)
      check(tab.position >= 0);
    length += paragraph.text.size();
  }
  check(length == document.length());
  check(document.paragraphStarts().size() == document.paragraphs.size());
  check(document.defaultTab > 0);
  (void)document.visibleText();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  using namespace TDInvoice::Report;
  TRichCharFormat defaults;
  defaults.family = QStringLiteral("Arial");
  const QByteArrayView input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
  checkDocument(TRtfReader::read(input, defaults));
  // The same bytes behind a document header reach the body's code paths.
  QByteArray wrapped("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fcharset128 MS Gothic;}}\\f0 ");
  wrapped.append(input);
  checkDocument(TRtfReader::read(wrapped, defaults));
  return 0;
}
