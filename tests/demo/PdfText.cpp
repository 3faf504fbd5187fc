#include "PdfText.h"

#include "ProgramRunner.h"

#include <QRegularExpression>

#include <cmath>

namespace TDInvoice::Testing {
namespace {

constexpr double kMillimetresPerPoint = 25.4 / 72.0;

QString unescaped(QString text) {
  text.replace(QLatin1String("&lt;"), QLatin1String("<"));
  text.replace(QLatin1String("&gt;"), QLatin1String(">"));
  text.replace(QLatin1String("&quot;"), QLatin1String("\""));
  text.replace(QLatin1String("&apos;"), QLatin1String("'"));
  text.replace(QLatin1String("&amp;"), QLatin1String("&"));
  return text;
}

} // namespace

QString TPdfPage::text() const {
  QStringList all;
  for (const TPdfWord &word : words)
    all.append(word.text);
  return all.join(u' ');
}

const TPdfWord *TPdfPage::find(const QString &phrase, double minTop) const {
  const QStringList parts = phrase.split(u' ', Qt::SkipEmptyParts);
  for (std::size_t i = 0; i + static_cast<std::size_t>(parts.size()) <= words.size(); ++i) {
    if (words[i].top < minTop)
      continue;
    bool all = true;
    for (qsizetype k = 0; k < parts.size() && all; ++k)
      all = words[i + static_cast<std::size_t>(k)].text == parts[k];
    if (all)
      return &words[i];
  }
  return nullptr;
}

int TPdfPage::count(const QString &text) const {
  int n = 0;
  for (const TPdfWord &word : words)
    n += word.text == text ? 1 : 0;
  return n;
}

const TPdfWord *TPdfPage::rightOf(const TPdfWord &label, const QString &phrase) const {
  const std::size_t first = static_cast<std::size_t>(&label - words.data());
  const std::size_t last = first + static_cast<std::size_t>(phrase.count(u' '));
  const TPdfWord &end = words[std::min(last, words.size() - 1)];
  const TPdfWord *nearest = nullptr;
  for (const TPdfWord &word : words) {
    const bool sameLine = std::abs(word.top - end.top) < 1.5;
    if (sameLine && word.left > end.right && (!nearest || word.left < nearest->left))
      nearest = &word;
  }
  return nearest;
}

std::vector<TPdfPage> readPdfWords(const QString &pdf) {
  const QString html =
      QString::fromStdString(runTool({"pdftotext", "-bbox", pdf.toStdString(), "-"}));
  static const QRegularExpression tag(QStringLiteral(
      R"re(<page [^>]*>|<word xMin="([^"]+)" yMin="([^"]+)" xMax="([^"]+)" yMax="([^"]+)">([^<]*)</word>)re"));
  std::vector<TPdfPage> pages;
  for (auto it = tag.globalMatch(html); it.hasNext();) {
    const QRegularExpressionMatch match = it.next();
    if (match.captured(0).startsWith(QLatin1String("<page"))) {
      pages.emplace_back();
      continue;
    }
    if (pages.empty())
      continue;
    pages.back().words.push_back({unescaped(match.captured(5)),
                                  match.captured(1).toDouble() * kMillimetresPerPoint,
                                  match.captured(2).toDouble() * kMillimetresPerPoint,
                                  match.captured(3).toDouble() * kMillimetresPerPoint,
                                  match.captured(4).toDouble() * kMillimetresPerPoint});
  }
  return pages;
}

std::optional<std::int64_t> parseMoney(const QString &text) {
  static const QRegularExpression money(
      QStringLiteral(R"(^(-)?(\()?\$([0-9]{1,3}(?:,[0-9]{3})*)\.([0-9]{2})(\))?$)"));
  const QRegularExpressionMatch match = money.match(text);
  if (!match.hasMatch() || match.captured(2).isEmpty() != match.captured(5).isEmpty())
    return std::nullopt;
  const bool negative = !match.captured(1).isEmpty() || !match.captured(2).isEmpty();
  const std::int64_t cents =
      match.captured(3).remove(u',').toLongLong() * 100 + match.captured(4).toLongLong();
  return negative ? -cents : cents;
}

} // namespace TDInvoice::Testing
