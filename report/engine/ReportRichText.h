// Formatted text laid out by the rich-text formatter; with AutoStretch it grows its band in
// steps of 5 mm and continues on the next page from the first character not printed.
#pragma once

#include "report/RichTextFormatter.h"
#include "report/engine/ReportCustomLabel.h"

#include <QByteArray>
#include <memory>

namespace TDInvoice::Report {

class TReportRichText : public TReportPrintable {
public:
  // The band grows by this many native units per request.
  static constexpr double kExpansionStep = 50;

  explicit TReportRichText(QObject *owner = nullptr);
  ~TReportRichText() override;

  // Rich text (starting with "{\rtf") or plain text with CR LF line breaks.
  QByteArray Lines() const { return m_lines; }
  void setLines(const QByteArray &lines);
  void setPlainText(const QString &text);

  TAlignment Alignment() const { return m_alignment; }
  void setAlignment(TAlignment alignment) { m_alignment = alignment; }
  bool AutoStretch() const { return m_autoStretch; }
  void setAutoStretch(bool on) { m_autoStretch = on; }
  // Kept for the layouts; the background is not painted.
  QRgb Color() const { return m_color; }
  void setColor(QRgb color) { m_color = color; }

  void prepare() override;
  void unprepare() override;
  void print(double offsetX, double offsetY) override;

private:
  TRichTextFormatter &formatter();
  void finish();

  QByteArray m_lines;
  TAlignment m_alignment = TAlignment::taLeftJustify;
  bool m_autoStretch = false;
  QRgb m_color = qRgb(255, 255, 255);
  int m_nextChar = 0;
  std::unique_ptr<TRichTextFormatter> m_formatter;
};

} // namespace TDInvoice::Report
