#include "invoice/FormLayoutBuilder.h"

#include "invoice/PictureRegistry.h"
#include "invoice/layout/LayoutEdits.h"
#include "report/engine/ReportLayout.h"

#include <array>
#include <map>
#include <string>

namespace TDInvoice {

namespace R = Report;
namespace L = Layout;

namespace {

QString text(std::string_view value) {
  return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

[[noreturn]] void layoutError(const std::string &message) { throw L::ELayoutError(message); }

R::TFontSpec fontOf(const L::TFontDesc &font) {
  R::TFontStyles styles;
  styles.setFlag(R::TFontStyle::Bold, font.bold);
  styles.setFlag(R::TFontStyle::Italic, font.italic);
  styles.setFlag(R::TFontStyle::Underline, font.underline);
  return R::makeFont(text(font.family), font.size, styles, font.color);
}

std::optional<R::TFontSpec> fontOf(const std::optional<L::TFontDesc> &font) {
  if (!font)
    return std::nullopt;
  return fontOf(*font);
}

R::TReportFrame frameOf(const L::TFrameDesc &frame) {
  R::TFrameSides sides;
  sides.setFlag(R::TFrameSide::Top, frame.drawTop);
  sides.setFlag(R::TFrameSide::Bottom, frame.drawBottom);
  sides.setFlag(R::TFrameSide::Left, frame.drawLeft);
  sides.setFlag(R::TFrameSide::Right, frame.drawRight);
  return R::makeFrame(sides, frame.width,
                      frame.style == L::TPenStyle::psDash ? Qt::DashLine : Qt::SolidLine,
                      frame.color);
}

R::TNativeBox boxOf(const L::TPrintableDesc &p) {
  return {p.left.native(), p.top.native(), p.width.native(), p.height.native()};
}

R::TAlignment alignmentOf(L::TAlignment alignment) {
  switch (alignment) {
  case L::TAlignment::taRightJustify:
    return R::TAlignment::taRightJustify;
  case L::TAlignment::taCenter:
    return R::TAlignment::taCenter;
  case L::TAlignment::taLeftJustify:
    break;
  }
  return R::TAlignment::taLeftJustify;
}

R::TReportShapeType shapeOf(L::TShapeKind kind) {
  // Both enumerations list the shapes in the engine's order.
  return static_cast<R::TReportShapeType>(static_cast<int>(kind));
}

R::TReportBandType bandTypeOf(L::TReportBandType type) {
  return static_cast<R::TReportBandType>(static_cast<int>(type));
}

R::TReportUnit unitOf(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, R::TReportUnit>, 5> units{{
      {"MM", R::TReportUnit::MM},
      {"Inches", R::TReportUnit::Inches},
      {"Pixels", R::TReportUnit::Pixels},
      {"Characters", R::TReportUnit::Characters},
      {"Native", R::TReportUnit::Native},
  }};
  for (const auto &[unitName, unit] : units)
    if (unitName == name)
      return unit;
  layoutError("Unknown unit \"" + std::string(name) + "\"");
}

R::TReportPaperSize paperOf(std::string_view name) {
  // The engine's paper table, in ordinal order.
  static constexpr std::array<std::string_view, 28> papers{
      "Default",   "Letter", "LetterSmall", "Tabloid",    "Ledger", "Legal",  "Statement",
      "Executive", "A3",     "A4",          "A4Small",    "A5",     "B4",     "B5",
      "Folio",     "Quarto", "Paper10X14",  "Paper11X17", "Note",   "Env9",   "Env10",
      "Env11",     "Env12",  "Env14",       "CSheet",     "DSheet", "ESheet", "Custom"};
  for (std::size_t i = 0; i < papers.size(); ++i)
    if (papers[i] == name)
      return static_cast<R::TReportPaperSize>(i);
  layoutError("Unknown paper size \"" + std::string(name) + "\"");
}

class TBuilder {
public:
  TBuilder(QObject &form, TLayoutHandlers &handlers, R::TReportDataSet &dataSet)
      : m_form(form), m_handlers(handlers), m_dataSet(dataSet) {}

  TBuiltLayout build(const L::TReportDesc &layout);

private:
  void setUpReport(const L::TReportDesc &layout);
  void setUpPage(const L::TPageDesc &page);
  R::TReportCustomBand *makeBand(const L::TBandDesc &band);
  void linkBand(const L::TBandDesc &band);
  void bindBandEvents(const L::TBandDesc &band, R::TReportCustomBand &target);
  void addPrintable(R::TReportControl &parent, const L::TPrintableDesc &printable);
  void addText(R::TReportControl &parent, const L::TPrintableDesc &printable);
  R::TReportCustomBand &band(std::string_view name, std::string_view linkedFrom) const;
  R::TReportControl *master(std::string_view name, std::string_view linkedFrom) const;
  void made(QObject *component) { m_built.components.push_back(component); }

  QObject &m_form;
  TLayoutHandlers &m_handlers;
  R::TReportDataSet &m_dataSet;
  TBuiltLayout m_built;
  std::map<std::string, R::TReportCustomBand *, std::less<>> m_bands;
};

TBuiltLayout TBuilder::build(const L::TReportDesc &layout) {
  m_built.report = new R::TReport(&m_form);
  made(m_built.report);
  setUpReport(layout);
  for (const L::TBandDesc &desc : layout.bands) {
    R::TReportCustomBand *made = makeBand(desc);
    m_bands.emplace(std::string(desc.name), made);
    for (const L::TPrintableDesc &printable : desc.printables)
      addPrintable(*made, printable);
  }
  for (const L::TBandDesc &desc : layout.bands)
    linkBand(desc);
  for (const L::TPrintableDesc &printable : layout.printables)
    addPrintable(*m_built.report, printable);
  return std::move(m_built);
}

void TBuilder::setUpReport(const L::TReportDesc &layout) {
  R::TReport &report = *m_built.report;
  report.setName(text(layout.name));
  report.setUnits(unitOf(layout.units));
  report.setZoom(layout.zoom);
  setUpPage(layout.page);
  report.setFont(fontOf(layout.font));
  R::TReportOptions options;
  options.setFlag(R::TReportOption::FirstPageHeader, layout.firstPageHeader);
  options.setFlag(R::TReportOption::LastPageFooter, layout.lastPageFooter);
  options.setFlag(R::TReportOption::Compression, layout.compression);
  report.setOptions(options);
  report.setPrintIfEmpty(layout.printIfEmpty);
  report.setReportTitle(text(layout.reportTitle));
  static_cast<TReportPrinterSettingsValues &>(report.PrinterSettings()) = layout.printerSettings;
  for (const auto &[name, data] : layout.functions)
    report.Functions().defineData(text(name), text(data));
  if (text(layout.dataSet) != m_dataSet.dataSetName())
    layoutError("The report's dataset \"" + std::string(layout.dataSet) + "\" is not on the form");
  report.setDataSet(&m_dataSet);
  if (!layout.beforePrint.empty()) {
    report.BeforePrint = m_handlers.reportBeforePrint(layout.beforePrint);
    if (!report.BeforePrint)
      layoutError("The form has no handler " + std::string(layout.beforePrint));
  }
}

void TBuilder::setUpPage(const L::TPageDesc &page) {
  R::TReportPage &target = m_built.report->Page();
  target.setPaperSize(paperOf(page.paperSize));
  target.setOrientation(page.orientation == "poLandscape" ? R::TReportOrientation::poLandscape
                                                          : R::TReportOrientation::poPortrait);
  target.setColumns(page.columns);
  // The stored values govern, whatever the paper table says.
  target.setValues(L::pageValues(page));
}

R::TReportCustomBand *TBuilder::makeBand(const L::TBandDesc &desc) {
  R::TBandSpec settings{.name = text(desc.name),
                        .type = bandTypeOf(desc.bandType),
                        .height = desc.height.native(),
                        .frame = frameOf(desc.frame),
                        .font = fontOf(desc.font),
                        .color = desc.color};
  settings.options.setFlag(R::TBandOption::AlignToBottom, desc.alignToBottom);
  settings.options.setFlag(R::TBandOption::ForceNewPage, desc.forceNewPage);
  R::TReport &report = *m_built.report;
  R::TReportCustomBand *made = nullptr;
  switch (desc.bandClass) {
  case L::TBandClass::TReportBand:
    made = R::addBand(report, settings);
    break;
  case L::TBandClass::TReportGroup:
    made = R::addGroup(report, {.band = settings,
                                .expression = text(desc.expression),
                                .reprintOnNewPage = desc.reprintOnNewPage});
    break;
  case L::TBandClass::TReportSubDetail: {
    if (!desc.dataSet.empty())
      layoutError("Sub-detail " + std::string(desc.name) + " names a dataset the form lacks");
    made = R::addSubDetail(
        report,
        {.band = settings, .printBefore = desc.printBefore, .printIfEmpty = desc.printIfEmpty});
    break;
  }
  case L::TBandClass::TReportChildBand:
    made = R::addChildBand(report, band(desc.parentBand, desc.name), settings);
    break;
  }
  this->made(made);
  bindBandEvents(desc, *made);
  return made;
}

void TBuilder::bindBandEvents(const L::TBandDesc &desc, R::TReportCustomBand &target) {
  if (!desc.beforePrint.empty()) {
    target.BeforePrint = m_handlers.bandBeforePrint(desc.beforePrint);
    if (!target.BeforePrint)
      layoutError("The form has no handler " + std::string(desc.beforePrint));
  }
  if (desc.onNeedData.empty())
    return;
  auto *sub = dynamic_cast<R::TReportSubDetail *>(&target);
  if (!sub)
    layoutError("Band " + std::string(desc.name) + " is not a sub-detail and has no data event");
  sub->OnNeedData = m_handlers.needData(desc.onNeedData);
  if (!sub->OnNeedData)
    layoutError("The form has no handler " + std::string(desc.onNeedData));
}

void TBuilder::linkBand(const L::TBandDesc &desc) {
  R::TReportCustomBand &target = band(desc.name, desc.name);
  if (!desc.linkBand.empty())
    target.setLinkBand(&band(desc.linkBand, desc.name));
  auto footer = [&]() -> R::TReportBand * {
    if (desc.footerBand.empty())
      return nullptr;
    auto *footerBand = dynamic_cast<R::TReportBand *>(&band(desc.footerBand, desc.name));
    if (!footerBand)
      layoutError("The footer of " + std::string(desc.name) + " is not a plain band");
    return footerBand;
  };
  if (auto *group = dynamic_cast<R::TReportGroup *>(&target)) {
    group->setMaster(master(desc.master, desc.name));
    group->setFooterBand(footer());
  } else if (auto *sub = dynamic_cast<R::TReportSubDetail *>(&target)) {
    sub->setMaster(master(desc.master, desc.name));
    sub->setFooterBand(footer());
    if (!desc.headerBand.empty()) {
      auto *header = dynamic_cast<R::TReportBand *>(&band(desc.headerBand, desc.name));
      if (!header)
        layoutError("The header of " + std::string(desc.name) + " is not a plain band");
      sub->setHeaderBand(header);
    }
  }
}

R::TReportCustomBand &TBuilder::band(std::string_view name, std::string_view linkedFrom) const {
  const auto found = m_bands.find(name);
  if (found == m_bands.end())
    layoutError("Band " + std::string(linkedFrom) + " links to " + std::string(name) +
                ", which the layout lacks");
  return *found->second;
}

R::TReportControl *TBuilder::master(std::string_view name, std::string_view linkedFrom) const {
  if (name.empty() || text(name) == m_built.report->Name())
    return m_built.report;
  return &band(name, linkedFrom);
}

void TBuilder::addPrintable(R::TReportControl &parent, const L::TPrintableDesc &p) {
  const QString name = text(p.name);
  switch (p.kind) {
  case L::TPrintableKind::Label:
  case L::TPrintableKind::Memo:
  case L::TPrintableKind::RichText:
    addText(parent, p);
    return;
  case L::TPrintableKind::Shape:
    made(R::addShape(parent, {.name = name,
                              .box = boxOf(p),
                              .shape = shapeOf(p.shape),
                              .pen = {p.pen.color, p.pen.width, Qt::SolidLine},
                              .brush = {p.brush.color, p.brush.style == L::TBrushStyle::bsSolid},
                              .enabled = p.enabled}));
    return;
  case L::TPrintableKind::Image: {
    R::TImageSpec settings{.name = name, .box = boxOf(p), .enabled = p.enabled};
    settings.options.setFlag(R::TImageOption::Stretch, p.stretch);
    // A picture nobody registered leaves the box empty rather than failing the form.
    if (const auto picture = findInvoicePicture(p.picture)) {
      settings.bitmap = picture->bitmap;
      settings.svg = picture->svg;
    }
    made(R::addImage(parent, settings));
    return;
  }
  }
}

void TBuilder::addText(R::TReportControl &parent, const L::TPrintableDesc &p) {
  if (p.kind == L::TPrintableKind::RichText) {
    auto *rich = R::addRichText(
        parent, {.name = text(p.name),
                 .box = boxOf(p),
                 .font = fontOf(p.font),
                 .alignment = alignmentOf(p.alignment),
                 .autoStretch = p.autoStretch,
                 .lines = QByteArray(p.caption.data(), static_cast<qsizetype>(p.caption.size())),
                 .enabled = p.enabled});
    rich->setColor(p.color);
    made(rich);
    return;
  }
  R::TLabelSpec settings{.name = text(p.name),
                         .box = boxOf(p),
                         .font = fontOf(p.font),
                         .alignment = alignmentOf(p.alignment),
                         .color = p.color,
                         .enabled = p.enabled};
  settings.options.setFlag(R::TLabelOption::AutoSize, p.autoSize);
  settings.options.setFlag(R::TLabelOption::WordWrap, p.wordWrap);
  settings.options.setFlag(R::TLabelOption::AutoStretch, p.autoStretch);
  settings.options.setFlag(R::TLabelOption::Transparent, p.transparent);
  R::TReportCustomLabel *label = nullptr;
  if (p.kind == L::TPrintableKind::Memo) {
    if (!p.caption.empty())
      settings.lines = text(p.caption).split(QStringLiteral("\r\n"));
    label = R::addMemo(parent, settings);
  } else {
    settings.caption = text(p.caption);
    label = R::addLabel(parent, settings);
  }
  if (p.fontSize > 0)
    label->setFontSize(p.fontSize);
  made(label);
}

} // namespace

TBuiltLayout buildFormLayout(QObject &form, const L::TReportDesc &layout, TLayoutHandlers &handlers,
                             R::TReportDataSet &dataSet) {
  return TBuilder(form, handlers, dataSet).build(layout);
}

} // namespace TDInvoice
