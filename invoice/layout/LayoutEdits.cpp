#include "invoice/layout/LayoutEdits.h"

#include <algorithm>
#include <string>

namespace TDInvoice::Layout {

namespace {

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

TBandDesc &bandOf(TReportDesc &report, std::string_view name) {
  TBandDesc *band = findBand(report, name);
  if (band == nullptr) {
    throw ELayoutError("Layout " + quoted(report.formClassName) + " has no band " + quoted(name));
  }
  return *band;
}

// Names are unique over the whole form: handlers address bands and printables by name alone.
bool nameInUse(const TReportDesc &report, std::string_view name) {
  return name == report.name || name == report.dataSet || findBand(report, name) != nullptr ||
         findPrintable(report, name) != nullptr;
}

void addPrintable(TReportDesc &report, const TAddPrintable &edit) {
  if (edit.printable.name.empty() || nameInUse(report, edit.printable.name)) {
    throw ELayoutError("Layout " + quoted(report.formClassName) + " already has a component " +
                       quoted(edit.printable.name));
  }
  TBandDesc &band = bandOf(report, edit.band);
  auto &list = band.printables;
  if (!edit.position) {
    list.push_back(edit.printable);
    return;
  }
  const int position = *edit.position;
  if (position < 0 || position > static_cast<int>(list.size())) {
    throw ELayoutError("Position " + std::to_string(position) + " of " +
                       quoted(edit.printable.name) + " is outside the list of band " +
                       quoted(band.name) + " (" + std::to_string(list.size()) + " printables)");
  }
  list.insert(list.begin() + position, edit.printable);
}

bool isEmpty(const TPrintableChange &c) {
  return !c.left && !c.top && !c.width && !c.height && !c.caption && !c.font && !c.alignment &&
         !c.autoSize && !c.enabled && !c.picture;
}

TFontDesc changedFont(TFontDesc font, const TFontChange &c) {
  font.family = c.family.value_or(font.family);
  font.size = c.size.value_or(font.size);
  font.bold = c.bold.value_or(font.bold);
  font.italic = c.italic.value_or(font.italic);
  font.underline = c.underline.value_or(font.underline);
  font.color = c.color.value_or(font.color);
  return font;
}

template <class T> void assignIfSet(T &target, const std::optional<T> &value) {
  if (value) {
    target = *value;
  }
}

void changePrintable(TReportDesc &report, const TChangePrintable &edit) {
  TBandDesc &band = bandOf(report, edit.band);
  const int index = printableIndex(band, edit.printable);
  if (index < 0) {
    throw ELayoutError("Band " + quoted(edit.band) + " of layout " + quoted(report.formClassName) +
                       " has no printable " + quoted(edit.printable));
  }
  const TPrintableChange &c = edit.change;
  if (isEmpty(c)) {
    throw ELayoutError("The change of " + quoted(edit.printable) + " changes nothing");
  }
  TPrintableDesc &p = band.printables[static_cast<std::size_t>(index)];
  if (c.font) {
    // The inherited font becomes the printable's own, with the changes applied.
    p.font = changedFont(effectiveFont(report, band, p), *c.font);
    p.fontSize = 0;
  }
  assignIfSet(p.left, c.left);
  assignIfSet(p.top, c.top);
  assignIfSet(p.width, c.width);
  assignIfSet(p.height, c.height);
  assignIfSet(p.caption, c.caption);
  assignIfSet(p.alignment, c.alignment);
  assignIfSet(p.autoSize, c.autoSize);
  assignIfSet(p.enabled, c.enabled);
  assignIfSet(p.picture, c.picture);
}

void changeBand(TReportDesc &report, const TChangeBand &edit) {
  TBandDesc &band = bandOf(report, edit.band);
  if (!edit.height && !edit.font) {
    throw ELayoutError("The change of band " + quoted(edit.band) + " changes nothing");
  }
  assignIfSet(band.height, edit.height);
  if (edit.font) {
    band.font = edit.font;
  }
}

} // namespace

void applyEdits(TReportDesc &report, std::span<const TLayoutEdit> edits) {
  for (const TLayoutEdit &edit : edits) {
    std::visit(
        [&report](const auto &e) {
          using E = std::decay_t<decltype(e)>;
          if constexpr (std::is_same_v<E, TAddPrintable>) {
            addPrintable(report, e);
          } else if constexpr (std::is_same_v<E, TChangePrintable>) {
            changePrintable(report, e);
          } else {
            changeBand(report, e);
          }
        },
        edit);
  }
}

} // namespace TDInvoice::Layout
