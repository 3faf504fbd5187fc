// Building a layout from data: one call per band or printable, with the sizes in native
// units as a layout table lists them. Everything a spec leaves out keeps the component's
// default, except the option flags: an option that is not listed is off.
//
//   addLabel(*band, {.name = "lblInvoiceNo", .box = {1685, 159, 111, 45},
//                    .font = makeFont("Arial", 10, TFontStyle::Bold),
//                    .alignment = TAlignment::taRightJustify});
#pragma once

#include "report/engine/CustomReport.h"
#include "report/engine/ReportBand.h"
#include "report/engine/ReportChildBand.h"
#include "report/engine/ReportCustomLabel.h"
#include "report/engine/ReportGroup.h"
#include "report/engine/ReportImage.h"
#include "report/engine/ReportRichText.h"
#include "report/engine/ReportShape.h"
#include "report/engine/ReportSubDetail.h"

#include <QFlags>
#include <optional>

namespace TDInvoice::Report {

// A printable's box relative to its band (or to the paper), native units.
struct TNativeBox {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};

enum class TFontStyle { Bold = 0x1, Italic = 0x2, Underline = 0x4, StrikeOut = 0x8 };
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFontStyles)

TFontSpec makeFont(const QString &family, double points, TFontStyles styles = {},
                   QRgb color = qRgb(0, 0, 0));

// Frame lines on the given sides.
enum class TFrameSide { Top = 0x1, Bottom = 0x2, Left = 0x4, Right = 0x8 };
Q_DECLARE_FLAGS(TFrameSides, TFrameSide)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFrameSides)

TReportFrame makeFrame(TFrameSides sides, int widthPoints = 1, Qt::PenStyle style = Qt::SolidLine,
                       QRgb color = qRgb(0, 0, 0));

enum class TLabelOption { AutoSize = 0x1, WordWrap = 0x2, AutoStretch = 0x4, Transparent = 0x8 };
Q_DECLARE_FLAGS(TLabelOptions, TLabelOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TLabelOptions)

// A label or memo. font empty: the parent's font. position: index in the parent's list
// (-1 appends).
struct TLabelSpec {
  QString name;
  TNativeBox box;
  std::optional<TFontSpec> font;
  TAlignment alignment = TAlignment::taLeftJustify;
  TLabelOptions options;
  QString caption;   // labels
  QStringList lines; // memos
  QRgb color = qRgb(255, 255, 255);
  TReportFrame frame;
  bool enabled = true;
  int position = -1;
};

struct TShapeSpec {
  QString name;
  TNativeBox box;
  TReportShapeType shape = TReportShapeType::stRectangle;
  TPenSpec pen;
  TBrushSpec brush;
  bool enabled = true;
  int position = -1;
};

enum class TImageOption { Stretch = 0x1, Center = 0x2, AutoSize = 0x4 };
Q_DECLARE_FLAGS(TImageOptions, TImageOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TImageOptions)

struct TImageSpec {
  QString name;
  TNativeBox box;
  TImageOptions options;
  QImage bitmap;
  QByteArray svg;
  TReportFrame frame;
  bool enabled = true;
  int position = -1;
};

struct TRichTextSpec {
  QString name;
  TNativeBox box;
  std::optional<TFontSpec> font;
  TAlignment alignment = TAlignment::taLeftJustify;
  bool autoStretch = false;
  QByteArray lines;
  TReportFrame frame;
  bool enabled = true;
  int position = -1;
};

enum class TBandOption { AlignToBottom = 0x1, ForceNewPage = 0x2, ForceNewColumn = 0x4 };
Q_DECLARE_FLAGS(TBandOptions, TBandOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TBandOptions)

// A band; height is its length in native units. For plain bands, type is the band type.
struct TBandSpec {
  QString name;
  TReportBandType type = TReportBandType::rbDetail;
  double height = 0;
  TBandOptions options;
  TReportFrame frame;
  std::optional<TFontSpec> font;
  QRgb color = qRgb(255, 255, 255);
  bool enabled = true;
  int position = -1;
};

// A group header: expression such as "ADODataSet1.InvoiceNo"; master empty: the report.
struct TGroupSpec {
  TBandSpec band;
  QString expression;
  TReportControl *master = nullptr;
  TReportBand *footer = nullptr;
  bool reprintOnNewPage = false;
};

// A sub-detail: master empty: the report. Without dataSet it runs on OnNeedData.
struct TSubDetailSpec {
  TBandSpec band;
  TReportControl *master = nullptr;
  TReportDataSet *dataSet = nullptr;
  TReportBand *header = nullptr;
  TReportBand *footer = nullptr;
  bool printBefore = false;
  bool printIfEmpty = true;
};

// Bands are owned by the report's owner (the form) and placed on the report.
TReportBand *addBand(TCustomReport &report, const TBandSpec &spec);
TReportGroup *addGroup(TCustomReport &report, const TGroupSpec &spec);
TReportSubDetail *addSubDetail(TCustomReport &report, const TSubDetailSpec &spec);
TReportChildBand *addChildBand(TCustomReport &report, TReportCustomBand &parentBand,
                               const TBandSpec &spec);

// Printables are owned by the form that owns parent's report and placed on parent (a band,
// or the report itself for marks measured from the paper's corner).
TReportLabel *addLabel(TReportControl &parent, const TLabelSpec &spec);
TReportMemo *addMemo(TReportControl &parent, const TLabelSpec &spec);
TReportShape *addShape(TReportControl &parent, const TShapeSpec &spec);
TReportImage *addImage(TReportControl &parent, const TImageSpec &spec);
TReportRichText *addRichText(TReportControl &parent, const TRichTextSpec &spec);

// Finds a component of the report's form by name (nullptr when there is none or it is of
// another class).
template <class T> T *findComponent(const TCustomReport &report, const QString &name);

QObject *findComponentObject(const TCustomReport &report, const QString &name);

template <class T> T *findComponent(const TCustomReport &report, const QString &name) {
  return dynamic_cast<T *>(findComponentObject(report, name));
}

} // namespace TDInvoice::Report
