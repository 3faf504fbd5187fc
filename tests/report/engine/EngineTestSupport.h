// Small synthetic reports for the engine tests: a form with a report on A4 (15 mm side and
// bottom margins, 10 mm top margin), a dataset in memory, marker labels on bands and
// queries on the recorded pages.
#pragma once

#include "report/engine/MemoryDataSet.h"
#include "report/engine/Report.h"
#include "report/engine/ReportLayout.h"
#include "report/output/MetaPage.h"
#include "report/output/ReportPrinter.h"

#include <gtest/gtest.h>

#include <QObject>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace TDInvoice::Testing {

using namespace TDInvoice::Report;

// Device units at the recording resolution (96 dpi) of a native position.
int dev(double native);

// The text cell height of family at pixelSize on a 96-ppi device, measured here.
int cellHeight(const char *family, int pixelSize, bool bold = false);
// The advance of text in family at pixelSize on a 96-ppi device, measured here.
int advance(const char *family, int pixelSize, const QString &text, bool bold = false);

// A text element found on a recorded page.
struct TFoundText {
  int page = 0; // 1-based
  TMetaText text;
};

class EngineTest : public ::testing::Test {
protected:
  EngineTest();

  // A band of the report with a marker label (its own name as caption) at its top-left.
  TReportBand *band(const QString &name, TReportBandType type, double height,
                    TBandOptions options = {});
  TReportLabel *marker(TReportCustomBand &band, double top = 0);
  // Logs "name" after each print of band and "-name" after each suppressed print.
  void logPrints(TReportCustomBand &band);
  // Rows of InvoiceNo values.
  void fillInvoices(const std::vector<int> &invoiceNumbers);

  std::unique_ptr<TReportPrinter> record();
  std::vector<TMetaPage> pages(const TReportPrinter &printer) const;
  std::vector<TFoundText> find(const TReportPrinter &printer, const QString &text) const;
  // The only occurrence of text; fails the test when there is none or several.
  std::optional<TFoundText> findOne(const TReportPrinter &printer, const QString &text) const;

  QObject form;
  TReport *report;
  TMemoryDataSet *data;
  QStringList log;
};

// Elements of one kind on a page.
template <class T> std::vector<T> elementsOf(const TMetaPage &page) {
  std::vector<T> result;
  for (const TMetaElement &element : page.elements())
    if (const T *e = std::get_if<T>(&element))
      result.push_back(*e);
  return result;
}

// Runs call, which must throw E; returns its message.
template <class E, class F> std::string thrownMessage(F &&call) {
  try {
    call();
  } catch (const E &error) {
    return error.what();
  } catch (const std::exception &other) {
    ADD_FAILURE() << "unexpected exception type: " << other.what();
    return {};
  }
  ADD_FAILURE() << "nothing was thrown";
  return {};
}

} // namespace TDInvoice::Testing
