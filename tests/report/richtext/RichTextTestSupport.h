// Helpers shared by the rich-text tests.
#pragma once

#include "report/richtext/RichTextDocument.h"
#include "report/richtext/RtfReader.h"

#include <QByteArray>
#include <QFile>
#include <QFont>
#include <QFontInfo>
#include <QString>
#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os) {
  *os << '"' << text.toStdString() << '"';
}

namespace TDInvoice::Report::Testing {

inline TRichCharFormat readerDefaults() {
  TRichCharFormat defaults;
  defaults.family = QStringLiteral("Arial");
  return defaults;
}

// Fonts of the tests' header: one per code-page mechanism the reader must tell apart.
inline constexpr char kHeader[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
    "{\\f1\\fcharset238 Arial CE;}{\\f2\\fcharset204 Arial CYR;}{\\f3\\fcharset128 MS Gothic;}"
    "{\\f4\\fcharset2 Symbol;}{\\f5\\cpg1253 Greek Face;}}"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}";

inline TRichTextDocument readRtf(const QByteArray &rtf) {
  return TRtfReader::read(rtf, readerDefaults());
}
inline TRichTextDocument readBody(const QByteArray &body) {
  return readRtf(QByteArray(kHeader) + body + "}");
}

inline QString sharedPath(const QString &relative) {
  return QStringLiteral(TDI_SHARED_DIR "/") + relative;
}
inline QByteArray readSharedFile(const QString &relative) {
  QFile file(sharedPath(relative));
  if (!file.open(QIODevice::ReadOnly))
    ADD_FAILURE() << "cannot read " << relative.toStdString();
  return file.readAll();
}

// Layout tests need metric-compatible fonts; say so plainly instead of measuring a fallback.
inline void requireLiberationArial() {
  const QString family = QFontInfo(QFont(QStringLiteral("Arial"))).family();
  ASSERT_TRUE(family.contains(QStringLiteral("Liberation Sans")) ||
              family == QStringLiteral("Arial"))
      << "Arial resolves to " << family.toStdString() << "; install fonts-liberation";
}

} // namespace TDInvoice::Report::Testing

#include "report/output/RecordingCanvas.h"

#include <QFontMetrics>

namespace TDInvoice::Report::Testing {

// An A4 page at dpi.
inline TRecordingCanvas pageCanvas(int dpi = 96) {
  return TRecordingCanvas(QSize(qRound(210 / 25.4 * dpi), qRound(297 / 25.4 * dpi)), dpi, dpi);
}

inline QList<TMetaText> textsOf(const TRecordingCanvas &canvas) {
  QList<TMetaText> texts;
  for (const TMetaElement &element : canvas.page().elements())
    if (const auto *text = std::get_if<TMetaText>(&element))
      texts.append(*text);
  return texts;
}

inline QFontMetrics metricsFor(TCanvas &canvas, const TFontSpec &spec) {
  return QFontMetrics(canvas.qfont(spec), canvas.measureDevice());
}

} // namespace TDInvoice::Report::Testing
