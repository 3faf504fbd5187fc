#include "LayoutWalk.h"

#include "invoice/layout/InvoiceLayouts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

namespace TDInvoice::Layout {
namespace {

using Testing::forEachLength;
using Testing::where;

struct LengthCase {
  double millimetres;
  int px;
  double native;
  bool onGrid;
};

TEST(LengthTest, ConvertsTableMillimetresToPixelsAndNative) {
  const LengthCase cases[] = {
      {50.0, 189, 500.0625, true},           // the payment slip's height
      {11.4, 43, 113.77083333333333, true},  // the message band
      {28.3, 107, 283.10416666666667, true}, // the address block
      {38.1, 144, 381.0, true},              // a whole number of native units
      {6.3, 24, 63.5, true},                 // 6.35 mm exactly: a half that rounds either way
      {0.0, 0, 0.0, true},
      {36.9, 139, 369.0, false}, // off the pixel grid: the table value stands
      {10.0, 38, 100.0, false},
  };
  for (const LengthCase &c : cases) {
    SCOPED_TRACE(c.millimetres);
    const TLength length = mm(c.millimetres);
    EXPECT_EQ(length.px, c.px);
    EXPECT_EQ(length.onPixelGrid(), c.onGrid);
    EXPECT_NEAR(length.native(), c.native, 1e-9);
  }
}

TEST(LengthTest, HalfTenthMatchesBothNeighboursOnly) {
  // 24 px is exactly 6.35 mm.
  EXPECT_TRUE((TLength{63, 24}.onPixelGrid()));
  EXPECT_TRUE((TLength{64, 24}.onPixelGrid()));
  EXPECT_FALSE((TLength{62, 24}.onPixelGrid()));
  EXPECT_FALSE((TLength{65, 24}.onPixelGrid()));
  // 25 px is 6.6146 mm: one neighbour only.
  EXPECT_TRUE((TLength{66, 25}.onPixelGrid()));
  EXPECT_FALSE((TLength{67, 25}.onPixelGrid()));
}

// Table values that lie off the 96 ppi pixel grid: no whole pixel rounds back to them.
using OffGridKey = std::tuple<std::string, std::string, int>; // printable, field, mm10

const std::set<OffGridKey> &knownOffGrid() {
  static const std::set<OffGridKey> entries = {
      {"lblAbbrev", "width", 100},
      {"lblChgDesc", "width", 305},
      {"lblBPAYCustRef", "top", 83},
      {"lblPaymtSlipServiceName", "width", 1084},
      {"shpAmountPaidRuler", "left", 369},
      {"shpAmountPaidRuler", "top", 218},
      {"shpAmountPaidRuler", "height", 20},
      {"lblCash", "left", 343},
      {"lblCash", "top", 272},
      {"lblCash", "width", 131},
      {"lblEFT", "left", 758},
      {"chkEFT", "left", 853},
      {"Shape8", "left", 369}, // the date-paid ruler of the Standard slip
      {"Shape8", "top", 408},
      {"Shape8", "height", 20},
  };
  return entries;
}

// Every position and size, converted to whole pixels and back, must give the table's value to
// 0.1 mm: a mistyped value rarely lands on the pixel grid.
TEST(LengthTest, EveryLayoutValueRoundTripsThroughPixels) {
  std::set<OffGridKey> offGridSeen;
  for (TFormClass form : kAllFormClasses) {
    const TReportDesc layout = layoutFor(form);
    forEachLength(layout, [&](std::string_view owner, std::string_view field, TLength length) {
      const double back = length.px * 25.4 / 96.0;
      const OffGridKey key{std::string(owner), std::string(field), length.mm10};
      if (knownOffGrid().count(key) != 0) {
        EXPECT_FALSE(length.onPixelGrid()) << where(layout, owner, field);
        EXPECT_NEAR(length.native(), length.mm10, 1e-9) << where(layout, owner, field);
        offGridSeen.insert(key);
        return;
      }
      EXPECT_TRUE(length.onPixelGrid())
          << where(layout, owner, field) << ": " << length.mm10 / 10.0 << " mm is " << length.px
          << " px, which is " << back << " mm";
      EXPECT_NEAR(back, length.mm10 / 10.0, 0.05 + 1e-9) << where(layout, owner, field);
    });
  }
  EXPECT_EQ(offGridSeen, knownOffGrid()) << "an off-grid entry is listed but no longer used";
}

} // namespace
} // namespace TDInvoice::Layout
