// Basic types of the report engine: lengths are held in native units, tenths of a
// millimetre, as floating point.
#pragma once

#include <QSizeF>
#include <cmath>
#include <cstdint>

namespace TDInvoice::Report {

// Lengths are rounded to whole units (native units, pixels, device dots) half to even.
inline long long roundHalfEven(double value) { return std::llrint(value); }

constexpr double kNativePerInch = 254.0;
constexpr int kScreenPixelsPerInch = 96;

// Native units of one screen pixel at ppi pixels per inch and zoom percent.
inline double nativeFromPixels(double pixels, int ppi = kScreenPixelsPerInch, int zoom = 100) {
  return pixels * kNativePerInch / ppi * 100.0 / zoom;
}
inline double pixelsFromNative(double native, int ppi = kScreenPixelsPerInch, int zoom = 100) {
  return native / (kNativePerInch / ppi) * zoom / 100.0;
}

enum class TReportPaperSize : std::int32_t {
  Default, Letter, LetterSmall, Tabloid, Ledger, Legal, Statement, Executive, A3, A4, A4Small, A5,
  B4, B5, Folio, Quarto, Paper10X14, Paper11X17, Note, Env9, Env10, Env11, Env12, Env14, CSheet,
  DSheet, ESheet, Custom
};

enum class TReportOrientation : std::int32_t { poPortrait, poLandscape };

// Portrait width x length in millimetres of a paper of the engine's table; an empty size for
// Default and Custom, which take their size from the printer or the stored values.
QSizeF paperSizeMM(TReportPaperSize paper);

// The platform paper code a paper selects (its ordinal; Custom selects 256).
inline int paperCode(TReportPaperSize paper) {
  return paper == TReportPaperSize::Custom ? 256 : static_cast<int>(paper);
}

}  // namespace TDInvoice::Report
