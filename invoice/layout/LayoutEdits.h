// A derived form's layout is its parent's layout plus a list of edits that state only what
// differs: printables added to a band, inherited printables changed, bands changed.
#pragma once

#include "invoice/layout/LayoutTypes.h"

#include "TDInvoice/Exceptions.h"

#include <optional>
#include <span>
#include <string_view>
#include <variant>

namespace TDInvoice::Layout {

// An edit that does not fit the layout it is applied to.
class ELayoutError : public Exception {
public:
  using Exception::Exception;
};

// Font attributes to change; a printable without a font of its own starts from the font it
// inherits and then keeps the result as its own.
struct TFontChange {
  std::optional<std::string_view> family;
  std::optional<int> size;
  std::optional<bool> bold, italic, underline;
  std::optional<TColor> color;
};

struct TPrintableChange {
  std::optional<TLength> left, top, width, height;
  std::optional<std::string_view> caption;
  std::optional<TFontChange> font;
  std::optional<TAlignment> alignment;
  std::optional<bool> autoSize;
  std::optional<bool> enabled;
  std::optional<std::string_view> picture;
};

// Adds a printable to a band: at the end, or at a position of the band's list as it stands
// when the edit is applied (0 = first).
struct TAddPrintable {
  std::string_view band;
  TPrintableDesc printable;
  std::optional<int> position;
};

struct TChangePrintable {
  std::string_view band;
  std::string_view printable;
  TPrintableChange change;
};

struct TChangeBand {
  std::string_view band;
  std::optional<TLength> height;
  std::optional<TFontDesc> font; // the band's own font instead of the report's
};

using TLayoutEdit = std::variant<TAddPrintable, TChangePrintable, TChangeBand>;

// Applies the edits in order. Throws ELayoutError, leaving report partly edited, when an edit
// names a band or printable that is not there (or a printable on another band), adds a name
// the form already has, gives a position outside the band's list, or changes nothing.
void applyEdits(TReportDesc &report, std::span<const TLayoutEdit> edits);

} // namespace TDInvoice::Layout
