#include "report/engine/Pagination.h"

#include "report/ReportTypes.h"

namespace TDInvoice::Report::Pagination {

long long availableSpace(bool pageBegun, double paperLength, double bottomMargin,
                         double pageFooterSize, double currentY) {
  if (!pageBegun)
    return 0;
  return roundHalfEven(paperLength - bottomMargin - pageFooterSize - currentY);
}

double alignToBottom(double currentY, double paperLength, double bottomMargin, double bandLength,
                     double pageFooterSize) {
  const auto bottom =
      static_cast<double>(roundHalfEven(paperLength - bottomMargin - bandLength - pageFooterSize));
  return currentY < bottom ? bottom : currentY;
}

double stretchHeight(double length, const std::vector<TLinkedBand> &links) {
  double height = length;
  for (const TLinkedBand &link : links)
    height += link.length + link.pixelHeight;
  return height;
}

bool needsNewColumn(bool pageBegun, bool pageFooter, long long available, long long needed,
                    double printableLength) {
  if (!pageBegun)
    return true;
  return !pageFooter && available < needed && needed <= printableLength;
}

TExpansionResult requestExpansion(long long available, double length, double expansion, double h,
                                  bool alreadyExpanded) {
  if (available < roundHalfEven(length + expansion + h))
    return {false, expansion};
  // Room another printable already made is shared; a printable that keeps asking grows
  // the band further.
  if (alreadyExpanded || h >= expansion)
    return {true, expansion + h};
  return {true, expansion};
}

} // namespace TDInvoice::Report::Pagination
