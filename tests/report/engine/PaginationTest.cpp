// The pure page-break decisions, case by case.
#include "report/engine/Pagination.h"
#include "report/engine/ReportFrame.h"

#include <gtest/gtest.h>

namespace TDInvoice::Report::Pagination {
namespace {

// A4 portrait: 2970 long with a 15 mm bottom margin, so the bottom limit is 2820.
constexpr double kLength = 2970;
constexpr double kBottom = 150;

struct TSpaceCase {
  bool pageBegun;
  double footer;
  double currentY;
  long long expected;
};

TEST(AvailableSpace, IsTheRoundedRestAboveTheBottomLimit) {
  const TSpaceCase cases[] = {
      {false, 0, -1, 0},         // before the first page
      {true, 0, 100, 2720},      // an empty page below the top margin
      {true, 100, 2000, 720},    // a page footer reserves its length
      {true, 0, 2319.9375, 500}, // 500.0625 rounds down
      {true, 0, 2319.5, 500},    // a half rounds to the even neighbour...
      {true, 0, 2318.5, 502},    // ...either way
      {true, 0, 2900, -80},      // already past the limit
  };
  for (const TSpaceCase &c : cases)
    EXPECT_EQ(availableSpace(c.pageBegun, kLength, kBottom, c.footer, c.currentY), c.expected)
        << "y " << c.currentY << " footer " << c.footer;
}

struct TAlignCase {
  double currentY;
  double bandLength;
  double footer;
  double expected;
};

TEST(AlignToBottom, MovesDownToTheLastPlaceTheBandFits) {
  const TAlignCase cases[] = {
      {500, 500.0625, 0, 2320},   // the payment slip: 2319.9375 rounds to 2320
      {-1, 500.0625, 0, 2320},    // before the first page too
      {2320, 500.0625, 0, 2320},  // exactly there
      {2400, 500.0625, 0, 2400},  // already further down: stays
      {500, 500.0625, 100, 2220}, // above a page footer
      {500, 800, 0, 2020},
  };
  for (const TAlignCase &c : cases)
    EXPECT_DOUBLE_EQ(alignToBottom(c.currentY, kLength, kBottom, c.bandLength, c.footer),
                     c.expected)
        << "y " << c.currentY << " length " << c.bandLength;
}

TEST(StretchHeight, LinkedBandsAddTheirLengthAndTheirPixelHeight) {
  // The invoice message band (43 px) linked to the 189 px payment slip needs 803, not 614.
  const double message = 43 * 254.0 / 96.0;
  const double slip = 189 * 254.0 / 96.0;
  EXPECT_NEAR(stretchHeight(message, {{slip, 189}}), 802.8333, 1e-4);
  EXPECT_EQ(std::llrint(stretchHeight(message, {{slip, 189}})), 803);
  EXPECT_DOUBLE_EQ(stretchHeight(message, {}), message);
  // Down a chain every link counts.
  EXPECT_DOUBLE_EQ(stretchHeight(100, {{200, 10}, {300, 20}}), 630);
}

struct TNewColumnCase {
  const char *what;
  bool pageBegun;
  bool pageFooter;
  long long available;
  long long needed;
  bool expected;
};

TEST(NeedsNewColumn, BreaksOnlyForBandsThatWouldFitOnAnEmptyPage) {
  const double printable = 2970 - 100 - 150;
  const TNewColumnCase cases[] = {
      {"first band", false, false, 0, 100, true},
      {"first band, page footer", false, true, 0, 100, true},
      {"fits exactly", true, false, 500, 500, false},
      {"one unit short", true, false, 499, 500, true},
      {"page footers never move", true, true, 10, 500, false},
      {"taller than a page prints where it is", true, false, 100, 2721, false},
      {"as tall as a page", true, false, 100, 2720, true},
  };
  for (const TNewColumnCase &c : cases)
    EXPECT_EQ(needsNewColumn(c.pageBegun, c.pageFooter, c.available, c.needed, printable),
              c.expected)
        << c.what;
}

struct TExpansionCase {
  const char *what;
  long long available;
  double length;
  double expansion;
  double h;
  bool alreadyExpanded;
  bool granted;
  double after;
};

TEST(RequestExpansion, GrowsTheBandWhileThePageHasRoom) {
  const TExpansionCase cases[] = {
      {"first request", 500, 400, 0, 40, false, true, 40},
      {"no room", 430, 400, 0, 40, false, false, 0},
      {"room after rounding", 440, 400, 0, 39.6875, false, true, 39.6875},
      {"same printable asks again", 500, 400, 40, 40, true, true, 80},
      {"room made by another printable", 600, 400, 80, 40, false, true, 80},
      {"another printable, as much as made", 500, 400, 40, 40, false, true, 80},
      {"refused keeps the expansion", 470, 400, 40, 40, true, false, 40},
  };
  for (const TExpansionCase &c : cases) {
    const TExpansionResult result =
        requestExpansion(c.available, c.length, c.expansion, c.h, c.alreadyExpanded);
    EXPECT_EQ(result.granted, c.granted) << c.what;
    EXPECT_DOUBLE_EQ(result.expansion, c.after) << c.what;
  }
}

struct TFrameCase {
  int points;
  double factor;
  int expected;
};

TEST(FrameThickness, ConvertsPointsToDeviceUnitsAtLeastOne) {
  const double screen = 96.0 / 254.0;
  const TFrameCase cases[] = {
      {1, screen, 1},         // 1.33 dots
      {2, screen, 3},         // 2.67
      {1, 300.0 / 254.0, 4},  // 4.17 at 300 dpi
      {1, 0.01, 1},           // never thinner than a dot
      {-1, 300.0 / 254.0, 1}, // the hairline width
      {0, screen, 0},
  };
  for (const TFrameCase &c : cases)
    EXPECT_EQ(frameThickness(c.points, c.factor), c.expected) << c.points << " pt";
  EXPECT_EQ(frameOffsetNative(1), 4);
  EXPECT_EQ(frameOffsetNative(2), 7);
}

} // namespace
} // namespace TDInvoice::Report::Pagination
