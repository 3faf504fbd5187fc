#include "report/engine/ReportLayout.h"

namespace TDInvoice::Report {

namespace {

QObject *formOf(const TCustomReport &report) {
  return report.parent() ? report.parent() : const_cast<TCustomReport *>(&report);
}

QObject *formOf(const TReportControl &parent) {
  const TCustomReport *report = parent.report();
  return report ? formOf(*report) : parent.parent();
}

void place(TReportControl &control, const QString &name, TReportControl &parent, int position) {
  control.setName(name);
  if (const TCustomReport *report = parent.report())
    if (TReportSizeBase *size = control.sizeObject())
      size->setUnits(report->Units());
  control.setParentControl(&parent, position);
}

template <class Band> Band *makeBand(TCustomReport &report, const TBandSpec &spec, Band *band) {
  place(*band, spec.name, report, spec.position);
  band->Size().setNativeValue(TReportBandSize::LengthIndex, spec.height);
  band->setAlignToBottom(spec.options.testFlag(TBandOption::AlignToBottom));
  band->setForceNewPage(spec.options.testFlag(TBandOption::ForceNewPage));
  band->setForceNewColumn(spec.options.testFlag(TBandOption::ForceNewColumn));
  band->setFrame(spec.frame);
  if (spec.font)
    band->setFont(*spec.font);
  band->setColor(spec.color);
  band->setEnabled(spec.enabled);
  return band;
}

void placePrintable(TReportPrintable &printable, const QString &name, TReportControl &parent,
                    int position, const TNativeBox &box, bool enabled) {
  place(printable, name, parent, position);
  printable.setNativeBox(box.left, box.top, box.width, box.height);
  printable.setEnabled(enabled);
}

// Labels are loaded: they size themselves once, from the finished layout, in endLoading.
template <class Label> Label *makeLabel(TReportControl &parent, const TLabelSpec &spec) {
  auto *label = new Label(formOf(parent));
  label->beginLoading();
  placePrintable(*label, spec.name, parent, spec.position, spec.box, spec.enabled);
  label->setFrame(spec.frame);
  if (spec.font)
    label->setFont(*spec.font);
  label->setAlignment(spec.alignment);
  label->setColor(spec.color);
  label->setTransparent(spec.options.testFlag(TLabelOption::Transparent));
  label->setAutoStretch(spec.options.testFlag(TLabelOption::AutoStretch));
  label->setWordWrap(spec.options.testFlag(TLabelOption::WordWrap));
  label->setAutoSize(spec.options.testFlag(TLabelOption::AutoSize));
  return label;
}

} // namespace

TFontSpec makeFont(const QString &family, double points, TFontStyles styles, QRgb color) {
  TFontSpec font;
  font.family = family;
  font.pointSize = points;
  font.bold = styles.testFlag(TFontStyle::Bold);
  font.italic = styles.testFlag(TFontStyle::Italic);
  font.underline = styles.testFlag(TFontStyle::Underline);
  font.strikeOut = styles.testFlag(TFontStyle::StrikeOut);
  font.color = color;
  return font;
}

TReportFrame makeFrame(TFrameSides sides, int widthPoints, Qt::PenStyle style, QRgb color) {
  TReportFrame frame;
  frame.Color = color;
  frame.DrawTop = sides.testFlag(TFrameSide::Top);
  frame.DrawBottom = sides.testFlag(TFrameSide::Bottom);
  frame.DrawLeft = sides.testFlag(TFrameSide::Left);
  frame.DrawRight = sides.testFlag(TFrameSide::Right);
  frame.Style = style;
  frame.Width = widthPoints;
  return frame;
}

TReportBand *addBand(TCustomReport &report, const TBandSpec &spec) {
  return makeBand(report, spec, new TReportBand(formOf(report), spec.type));
}

TReportGroup *addGroup(TCustomReport &report, const TGroupSpec &spec) {
  auto *group = makeBand(report, spec.band, new TReportGroup(formOf(report)));
  group->setExpression(spec.expression);
  group->setMaster(spec.master ? spec.master : &report);
  group->setFooterBand(spec.footer);
  group->setReprintOnNewPage(spec.reprintOnNewPage);
  return group;
}

TReportSubDetail *addSubDetail(TCustomReport &report, const TSubDetailSpec &spec) {
  auto *sub = makeBand(report, spec.band, new TReportSubDetail(formOf(report)));
  sub->setMaster(spec.master ? spec.master : &report);
  sub->setDataSet(spec.dataSet);
  sub->setHeaderBand(spec.header);
  sub->setFooterBand(spec.footer);
  sub->setPrintBefore(spec.printBefore);
  sub->setPrintIfEmpty(spec.printIfEmpty);
  return sub;
}

TReportChildBand *addChildBand(TCustomReport &report, TReportCustomBand &parentBand,
                               const TBandSpec &spec) {
  auto *child = new TReportChildBand(formOf(report));
  child->setParentBand(&parentBand);
  return makeBand(report, spec, child);
}

TReportLabel *addLabel(TReportControl &parent, const TLabelSpec &spec) {
  auto *label = makeLabel<TReportLabel>(parent, spec);
  label->setCaption(spec.caption);
  label->endLoading();
  return label;
}

TReportMemo *addMemo(TReportControl &parent, const TLabelSpec &spec) {
  auto *memo = makeLabel<TReportMemo>(parent, spec);
  memo->setLines(spec.lines);
  memo->endLoading();
  return memo;
}

TReportShape *addShape(TReportControl &parent, const TShapeSpec &spec) {
  auto *shape = new TReportShape(formOf(parent));
  placePrintable(*shape, spec.name, parent, spec.position, spec.box, spec.enabled);
  shape->setShape(spec.shape);
  shape->setPen(spec.pen);
  shape->setBrush(spec.brush);
  return shape;
}

TReportImage *addImage(TReportControl &parent, const TImageSpec &spec) {
  auto *image = new TReportImage(formOf(parent));
  placePrintable(*image, spec.name, parent, spec.position, spec.box, spec.enabled);
  image->setFrame(spec.frame);
  image->setStretch(spec.options.testFlag(TImageOption::Stretch));
  image->setCenter(spec.options.testFlag(TImageOption::Center));
  if (!spec.bitmap.isNull())
    image->setBitmap(spec.bitmap);
  else if (!spec.svg.isEmpty())
    image->setSvg(spec.svg);
  image->setAutoSize(spec.options.testFlag(TImageOption::AutoSize));
  return image;
}

TReportRichText *addRichText(TReportControl &parent, const TRichTextSpec &spec) {
  auto *rich = new TReportRichText(formOf(parent));
  placePrintable(*rich, spec.name, parent, spec.position, spec.box, spec.enabled);
  rich->setFrame(spec.frame);
  if (spec.font)
    rich->setFont(*spec.font);
  rich->setAlignment(spec.alignment);
  rich->setAutoStretch(spec.autoStretch);
  rich->setLines(spec.lines);
  return rich;
}

QObject *findComponentObject(const TCustomReport &report, const QString &name) {
  QObject *form = formOf(report);
  if (form->objectName() == name)
    return form;
  return form->findChild<QObject *>(name);
}

} // namespace TDInvoice::Report
