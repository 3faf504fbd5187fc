#include "report/ReportTypes.h"

#include <array>

namespace TDInvoice::Report {

QSizeF paperSizeMM(TReportPaperSize paper) {
  static constexpr std::array<std::array<double, 2>, 28> kTable{{
      {0, 0},         {215.9, 279.4}, {215.9, 279.4}, {279.4, 431.8}, {431.8, 279.4},
      {215.9, 355.6}, {139.7, 215.9}, {190.5, 254.0}, {297.0, 420.0}, {210.0, 297.0},
      {210.0, 297.0}, {148.0, 210.0}, {250.0, 354.0}, {182.0, 257.0}, {215.9, 330.2},
      {215.0, 275.0}, {254.0, 355.6}, {279.4, 431.8}, {215.9, 279.0}, {98.43, 225.4},
      {104.8, 241.3}, {114.3, 263.5}, {101.6, 279.4}, {127.0, 292.1}, {100.0, 100.0},
      {100.0, 100.0}, {100.0, 100.0}, {0, 0},
  }};
  const auto index = static_cast<std::size_t>(paper);
  if (index >= kTable.size())
    return {};
  return {kTable[index][0], kTable[index][1]};
}

}  // namespace TDInvoice::Report
