// Neutral description of an invoice form's report layout: plain data that a builder turns into
// report engine objects. Texts are literals with static storage; every position and size is
// a TLength, which keeps the value as the layout tables print it (tenths of a millimetre)
// beside the whole screen pixel the designer placed it on.
#pragma once

#include "TDInvoice/ReportComponent.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace TDInvoice::Layout {

// 0xAARRGGBB, the layout of QRgb.
using TColor = std::uint32_t;

constexpr TColor rgb(int r, int g, int b) {
  return 0xff000000u | (static_cast<TColor>(r) << 16) | (static_cast<TColor>(g) << 8) |
         static_cast<TColor>(b);
}

inline constexpr TColor clBlack = rgb(0, 0, 0);
inline constexpr TColor clWhite = rgb(255, 255, 255);
inline constexpr TColor clSilver = rgb(192, 192, 192);
inline constexpr TColor clRed = rgb(255, 0, 0);
inline constexpr TColor clDarkBlue = rgb(0, 43, 105);

inline constexpr int kLayoutPixelsPerInch = 96;

// A length of the layout. mm10 is the value in tenths of a millimetre as the layout tables give
// it; px the whole screen pixel at 96 ppi nearest to it. Most table values are whole pixels
// rounded to 0.1 mm; a few were placed off the pixel grid, and for those the printed value is
// the better estimate of the stored length (see native()).
struct TLength {
  int mm10 = 0;
  int px = 0;

  // Whole pixel nearest to a non-negative length in tenths of a millimetre: px = mm x 96 / 25.4
  // (never a tie, as 127 is odd).
  static constexpr int pixelsFromMM10(int mm10) {
    return static_cast<int>((2LL * mm10 * kLayoutPixelsPerInch + 254) / 508);
  }
  static constexpr TLength fromMM10(int mm10) { return {mm10, pixelsFromMM10(mm10)}; }

  // True when px converted back to millimetres rounds to mm10. px x 25.4 / 96 mm is
  // px x 127 / 48 tenths; an exact half of 0.1 mm matches both neighbours, because the tables
  // round those either way.
  constexpr bool onPixelGrid() const {
    const long long whole = 127LL * px / 48;
    const long long twiceRest = 2 * (127LL * px % 48);
    if (twiceRest == 48) {
      return mm10 == whole || mm10 == whole + 1;
    }
    return mm10 == (twiceRest < 48 ? whole : whole + 1);
  }

  // Engine units (tenths of a millimetre): the pixel's exact length when the table value is
  // that pixel rounded, otherwise the table value itself.
  constexpr double native() const {
    return onPixelGrid() ? px * 254.0 / kLayoutPixelsPerInch : static_cast<double>(mm10);
  }
  constexpr double millimetres() const { return mm10 / 10.0; }

  friend constexpr bool operator==(const TLength &, const TLength &) = default;
};

// A non-negative table value in millimetres, e.g. mm(118.5).
constexpr TLength mm(double millimetres) {
  return TLength::fromMM10(static_cast<int>(millimetres * 10.0 + 0.5));
}

struct TFontDesc {
  std::string_view family;
  int size = 10; // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  TColor color = clBlack;

  friend bool operator==(const TFontDesc &, const TFontDesc &) = default;
};

enum class TPrintableKind { Label, Memo, Shape, Image, RichText };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TShapeKind {
  stRectangle,
  stCircle,
  stVertLine,
  stHorLine,
  stTopAndBottom,
  stRightAndLeft
};
enum class TBrushStyle { bsSolid, bsClear };
enum class TPenStyle { psSolid, psDash };

struct TBrushDesc {
  TBrushStyle style = TBrushStyle::bsSolid;
  TColor color = clWhite;
  friend bool operator==(const TBrushDesc &, const TBrushDesc &) = default;
};

struct TPenDesc {
  TColor color = clBlack;
  int width = 1; // device units
  friend bool operator==(const TPenDesc &, const TPenDesc &) = default;
};

struct TFrameDesc {
  bool drawTop = false;
  bool drawBottom = false;
  bool drawLeft = false;
  bool drawRight = false;
  TPenStyle style = TPenStyle::psSolid;
  int width = 1; // points
  TColor color = clBlack;
  friend bool operator==(const TFrameDesc &, const TFrameDesc &) = default;
};

struct TPrintableDesc {
  std::string_view name;
  TPrintableKind kind = TPrintableKind::Label;
  TLength left, top, width, height; // relative to the band's top-left corner

  // Labels, memos, rich text. No font of its own means the band's (or the report's) font;
  // a positive fontSize then replaces that font's point size.
  std::optional<TFontDesc> font;
  int fontSize = 0;
  TAlignment alignment = TAlignment::taLeftJustify;
  bool autoSize = false;
  bool wordWrap = false;
  bool autoStretch = false;
  bool transparent = false;
  TColor color = clWhite;   // background of labels and memos
  std::string_view caption; // design text; empty when the handlers fill it at print time

  bool enabled = true;

  // Shapes.
  TShapeKind shape = TShapeKind::stRectangle;
  TBrushDesc brush;
  TPenDesc pen;

  // Images: the picture by resource name, drawn stretched to the box.
  std::string_view picture;
  bool stretch = false;

  friend bool operator==(const TPrintableDesc &, const TPrintableDesc &) = default;
};

enum class TBandClass { TReportBand, TReportGroup, TReportSubDetail, TReportChildBand };

enum class TReportBandType {
  rbTitle,
  rbPageHeader,
  rbDetail,
  rbPageFooter,
  rbSummary,
  rbGroupHeader,
  rbGroupFooter,
  rbSubDetail,
  rbColumnHeader,
  rbOverlay,
  rbChild
};

struct TBandDesc {
  std::string_view name;
  TBandClass bandClass = TBandClass::TReportBand;
  TReportBandType bandType = TReportBandType::rbDetail;
  TLength height;

  // Links by band name; empty when absent.
  std::string_view master;     // groups and sub-details: "Report1" or a sub-detail band
  std::string_view headerBand; // sub-details
  std::string_view footerBand; // groups and sub-details
  std::string_view linkBand;
  std::string_view parentBand; // child bands

  std::string_view expression; // groups
  std::string_view dataSet;    // sub-details; empty: driven by OnNeedData alone
  bool forceNewPage = false;
  bool reprintOnNewPage = false;
  bool alignToBottom = false;
  bool printIfEmpty = false;
  bool printBefore = false;

  TFrameDesc frame;
  std::optional<TFontDesc> font; // own font; none follows the report font
  TColor color = clWhite;

  // Event handlers, bound by name.
  std::string_view beforePrint;
  std::string_view onNeedData;

  std::vector<TPrintableDesc> printables; // in print order: later ones cover earlier ones

  friend bool operator==(const TBandDesc &, const TBandDesc &) = default;
};

struct TPageDesc {
  // Engine units, tenths of a millimetre.
  double bottomMargin = 0;
  double length = 0;
  double topMargin = 0;
  double width = 0;
  double leftMargin = 0;
  double rightMargin = 0;
  double columnSpace = 0;
  std::string_view paperSize;   // name in the engine's paper table, e.g. "A4"
  std::string_view orientation; // "poPortrait" or "poLandscape"
  int columns = 1;

  friend bool operator==(const TPageDesc &, const TPageDesc &) = default;
};

struct TReportDesc {
  std::string_view formClassName;
  std::string_view name;    // the report component
  std::string_view dataSet; // the dataset component the detail band walks
  std::string_view units;   // unit of the designer's property values, e.g. "MM"
  int zoom = 100;
  TPageDesc page;
  TFontDesc font;
  bool firstPageHeader = false;
  bool lastPageFooter = false;
  bool compression = false;
  bool printIfEmpty = false;
  std::string_view reportTitle;
  TReportPrinterSettingsValues printerSettings;
  std::vector<std::pair<std::string_view, std::string_view>> functions; // name, data
  std::string_view beforePrint;
  std::string_view formOnDestroy;

  std::vector<TPrintableDesc> printables; // on the page itself, outside every band
  std::vector<TBandDesc> bands;           // in the order they print for one invoice

  friend bool operator==(const TReportDesc &a, const TReportDesc &b);
};

// Page.Values in the engine's stored order: bottom margin, length, top margin, width, left
// margin, right margin, column space.
std::vector<double> pageValues(const TPageDesc &page);

// Width of a one-column band in engine units: between the side margins.
double bandWidthNative(const TReportDesc &report);

// Look-ups by name; nullptr when absent.
const TBandDesc *findBand(const TReportDesc &report, std::string_view name);
TBandDesc *findBand(TReportDesc &report, std::string_view name);
const TPrintableDesc *findPrintable(const TBandDesc &band, std::string_view name);
// A printable anywhere in the report (bands or page); band receives its band, or nullptr
// for a page printable.
const TPrintableDesc *findPrintable(const TReportDesc &report, std::string_view name,
                                    const TBandDesc **band = nullptr);
// The results point into the layout, which must outlive them.
const TBandDesc *findBand(const TReportDesc &&, std::string_view) = delete;
const TPrintableDesc *findPrintable(const TBandDesc &&, std::string_view) = delete;
const TPrintableDesc *findPrintable(const TReportDesc &&, std::string_view,
                                    const TBandDesc ** = nullptr) = delete;
// Index of a printable in its band's list, or -1.
int printableIndex(const TBandDesc &band, std::string_view name);

// The font a printable prints with: its own, else its band's, else the report's, with a
// positive fontSize applied.
TFontDesc effectiveFont(const TReportDesc &report, const TBandDesc &band,
                        const TPrintableDesc &printable);

} // namespace TDInvoice::Layout
