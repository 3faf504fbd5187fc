// The words of a PDF with their boxes, as poppler's pdftotext -bbox reports them, in
// millimetres from the page's top-left corner.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace TDInvoice::Testing {

struct TPdfWord {
  QString text;
  double left = 0, top = 0, right = 0, bottom = 0;
};

struct TPdfPage {
  std::vector<TPdfWord> words; // in pdftotext's reading order

  // The words joined with single blanks.
  QString text() const;
  // The first word of the first run of consecutive words equal to phrase (words split at
  // blanks) whose top is at least minTop.
  const TPdfWord *find(const QString &phrase, double minTop = -1) const;
  // How many words equal text exactly.
  int count(const QString &text) const;
  // The nearest word to the right of a label's last word, on the label's line.
  const TPdfWord *rightOf(const TPdfWord &label, const QString &phrase) const;
};

// Runs pdftotext -bbox; an empty list when it fails.
std::vector<TPdfPage> readPdfWords(const QString &pdf);

// "$1,043.80", "-$15.00", "($15.00)" in cents; nullopt for anything else.
std::optional<std::int64_t> parseMoney(const QString &text);

} // namespace TDInvoice::Testing
