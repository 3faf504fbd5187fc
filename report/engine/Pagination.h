// The page-break decisions of the print loop as pure functions of native lengths, so that
// each can be checked against a table of cases.
#pragma once

#include <vector>

namespace TDInvoice::Report::Pagination {

// Native units left between current Y and the bottom limit of the page (paper length less
// bottom margin less page footer size), rounded; 0 before the first page.
long long availableSpace(bool pageBegun, double paperLength, double bottomMargin,
                         double pageFooterSize, double currentY);

// Where a band aligned to the bottom starts: above the bottom margin and the page footer by
// its own length, rounded. A band already further down stays where it is.
double alignToBottom(double currentY, double paperLength, double bottomMargin, double bandLength,
                     double pageFooterSize);

// A linked band counts its length and its height in screen pixels taken as native units.
struct TLinkedBand {
  double length = 0;
  int pixelHeight = 0;
};

// The height a band needs on the page: its length plus, for each band down its link chain,
// that band's length and pixel height.
double stretchHeight(double length, const std::vector<TLinkedBand> &links);

// Whether a band about to print needs a new column (a new page with one column): always
// before the first page; otherwise when it does not fit and could fit on an empty page.
// Page footers never move.
bool needsNewColumn(bool pageBegun, bool pageFooter, long long available, long long needed,
                    double printableLength);

// A stretching printable asks its band for h more native units.
struct TExpansionResult {
  bool granted = false;
  double expansion = 0; // the band's expansion afterwards
};
TExpansionResult requestExpansion(long long available, double length, double expansion, double h,
                                  bool alreadyExpanded);

} // namespace TDInvoice::Report::Pagination
