// Short constructors that let the layout tables read like the printed page: one row per
// printable, positions and sizes in millimetres, left, top, width, height.
#pragma once

#include "invoice/layout/LayoutTypes.h"

namespace TDInvoice::Layout::Table {

enum TStyle : unsigned { Regular = 0, Bold = 1, Italic = 2, Underline = 4 };
constexpr TStyle operator|(TStyle a, TStyle b) {
  return static_cast<TStyle>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

enum TOptions : unsigned { None = 0, AutoSize = 1, WordWrap = 2, AutoStretch = 4, Transparent = 8 };
constexpr TOptions operator|(TOptions a, TOptions b) {
  return static_cast<TOptions>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

inline constexpr TAlignment L = TAlignment::taLeftJustify;
inline constexpr TAlignment R = TAlignment::taRightJustify;
inline constexpr TAlignment C = TAlignment::taCenter;

inline constexpr TShapeKind stRectangle = TShapeKind::stRectangle;
inline constexpr TShapeKind stHorLine = TShapeKind::stHorLine;

inline constexpr TBrushDesc kWhiteFill{};
inline constexpr TBrushDesc kSilverFill{TBrushStyle::bsSolid, clSilver};
inline constexpr TBrushDesc kNoFill{TBrushStyle::bsClear, clWhite};

// The caption of a label that its band handler sets before every print.
inline constexpr std::string_view kPrintTime{};
inline const std::optional<TFontDesc> kParentFont{};

constexpr TFontDesc font(std::string_view family, int size, TStyle style = Regular,
                         TColor color = clBlack) {
  return {family, size, (style & Bold) != 0, (style & Italic) != 0, (style & Underline) != 0,
          color};
}

inline TPrintableDesc box(std::string_view name, TPrintableKind kind, double left, double top,
                          double width, double height) {
  TPrintableDesc p;
  p.name = name;
  p.kind = kind;
  p.left = mm(left);
  p.top = mm(top);
  p.width = mm(width);
  p.height = mm(height);
  return p;
}

inline TPrintableDesc text(std::string_view name, TPrintableKind kind, double left, double top,
                           double width, double height, std::optional<TFontDesc> textFont,
                           TAlignment alignment, TOptions options) {
  TPrintableDesc p = box(name, kind, left, top, width, height);
  p.font = textFont;
  p.alignment = alignment;
  p.autoSize = (options & AutoSize) != 0;
  p.wordWrap = (options & WordWrap) != 0;
  p.autoStretch = (options & AutoStretch) != 0;
  p.transparent = (options & Transparent) != 0;
  return p;
}

inline TPrintableDesc label(std::string_view name, double left, double top, double width,
                            double height, std::optional<TFontDesc> textFont, TAlignment alignment,
                            TOptions options, std::string_view caption) {
  TPrintableDesc p =
      text(name, TPrintableKind::Label, left, top, width, height, textFont, alignment, options);
  p.caption = caption;
  return p;
}

inline TPrintableDesc memo(std::string_view name, double left, double top, double width,
                           double height, TFontDesc textFont, TAlignment alignment,
                           TOptions options) {
  return text(name, TPrintableKind::Memo, left, top, width, height, textFont, alignment, options);
}

inline TPrintableDesc richText(std::string_view name, double left, double top, double width,
                               double height, TFontDesc textFont, TAlignment alignment,
                               TOptions options) {
  return text(name, TPrintableKind::RichText, left, top, width, height, textFont, alignment,
              options);
}

inline TPrintableDesc shape(std::string_view name, double left, double top, double width,
                            double height, TShapeKind kind, TBrushDesc brush = kWhiteFill,
                            TPenDesc pen = {}) {
  TPrintableDesc p = box(name, TPrintableKind::Shape, left, top, width, height);
  p.shape = kind;
  p.brush = brush;
  p.pen = pen;
  return p;
}

// Every invoice picture is drawn stretched to its box.
inline TPrintableDesc image(std::string_view name, double left, double top, double width,
                            double height, std::string_view picture) {
  TPrintableDesc p = box(name, TPrintableKind::Image, left, top, width, height);
  p.picture = picture;
  p.stretch = true;
  return p;
}

} // namespace TDInvoice::Layout::Table
