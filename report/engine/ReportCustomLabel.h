// Text printables: a label prints its Caption, a memo its Lines. Both break their text into
// lines at their width (unless auto-sized), may size themselves to the text, and may stretch
// their band, line by line and across pages.
#pragma once

#include "report/engine/LabelFormatter.h"
#include "report/engine/ReportPrintable.h"

#include <QStringList>
#include <functional>
#include <optional>

namespace TDInvoice::Report {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TReportCustomLabel : public TReportPrintable {
public:
  // May replace the text just before it prints.
  using TPrintEvent = std::function<void(TReportCustomLabel *Sender, QString &Value)>;

  explicit TReportCustomLabel(QObject *owner = nullptr);

  TPrintEvent OnPrint;

  TAlignment Alignment() const { return m_alignment; }
  void setAlignment(TAlignment alignment);
  // Places the control itself at the band's left edge, right edge or centre.
  bool AlignToBand() const { return m_alignToBand; }
  void setAlignToBand(bool on) { m_alignToBand = on; }
  bool AutoSize() const { return m_autoSize; }
  void setAutoSize(bool on);
  bool AutoStretch() const { return m_autoStretch; }
  void setAutoStretch(bool on) { m_autoStretch = on; }
  bool WordWrap() const { return m_wordWrap; }
  void setWordWrap(bool on);
  bool Transparent() const { return m_transparent; }
  void setTransparent(bool on) { m_transparent = on; }
  QRgb Color() const { return m_color; }
  void setColor(QRgb color) { m_color = color; }
  // A positive point size replaces the font's.
  int FontSize() const { return m_fontSize; }
  void setFontSize(int points);

  // The text broken into printable lines.
  const QStringList &formattedLines() const { return m_lines; }

  void prepare() override;
  void print(double offsetX, double offsetY) override;
  void sizeChanged(int index) override;

protected:
  // The text to print: a label's Caption, a memo's Lines joined by carriage returns.
  virtual QString text() const = 0;
  virtual QStringList formatText(const QString &text, const TLabelFormat &format,
                                 const TTextWidthFunction &width) const = 0;
  // A label on a report keeps at least one line of height whatever its AutoSize says; a
  // memo only when auto-sized.
  virtual bool formatsCaption() const = 0;
  void reformat();
  void fontChanged() override { reformat(); }
  void loaded() override { reformat(); }

private:
  void reformatText(const QString &text);
  void raiseToOneLine(int textHeight);
  void sizeToWidest(const TTextWidthFunction &width);
  double anchorX(double left, double textLeft, double width) const;

  // What the lines were last formatted from; the same again needs no new formatting.
  struct TFormatted {
    QString text;
    TFontSpec font;
    int width = 0;
    int height = 0;
    int zoom = 0;
    bool autoSize = false;
    bool wordWrap = false;
    bool onReport = false;
    TReportFrame frame;
    bool operator==(const TFormatted &) const = default;
  };
  TFormatted formattedFrom(const QString &text) const;

  QStringList m_lines;
  std::optional<TFormatted> m_formatted;
  int m_nextLine = 0;
  TAlignment m_alignment = TAlignment::taLeftJustify;
  bool m_alignToBand = false;
  bool m_autoSize = true;
  bool m_autoStretch = false;
  bool m_wordWrap = true;
  bool m_transparent = false;
  bool m_formatting = false;
  QRgb m_color = qRgb(255, 255, 255);
  int m_fontSize = 0;
};

class TReportLabel : public TReportCustomLabel {
public:
  explicit TReportLabel(QObject *owner = nullptr);
  QString Caption() const { return m_caption; }
  // Reformats at once; an auto-sized label takes its new width immediately.
  void setCaption(const QString &caption);

protected:
  QString text() const override { return m_caption; }
  QStringList formatText(const QString &text, const TLabelFormat &format,
                         const TTextWidthFunction &width) const override;
  bool formatsCaption() const override { return true; }

private:
  QString m_caption;
};

class TReportMemo : public TReportCustomLabel {
public:
  explicit TReportMemo(QObject *owner = nullptr);
  QStringList Lines() const { return m_memoLines; }
  void setLines(const QStringList &lines);

protected:
  QString text() const override;
  QStringList formatText(const QString &text, const TLabelFormat &format,
                         const TTextWidthFunction &width) const override;
  bool formatsCaption() const override { return false; }

private:
  QStringList m_memoLines;
};

} // namespace TDInvoice::Report
