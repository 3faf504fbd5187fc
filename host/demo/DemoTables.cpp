#include "host/demo/DemoTables.h"

#include <cstdlib>

namespace TDInvoice::Demo {

TDemoTable &TDemoTables::table(const QString &name, const QStringList &columns) {
  for (TDemoTable &existing : FTables)
    if (existing.name == name)
      return existing;
  FTables.push_back({name, columns, {}});
  return FTables.back();
}

const TDemoTable *TDemoTables::find(const QString &name) const {
  for (const TDemoTable &existing : FTables)
    if (existing.name == name)
      return &existing;
  return nullptr;
}

QString sqlNull() { return QStringLiteral("NULL"); }

QString sqlText(const QString &text) {
  QString quoted = text;
  quoted.replace(u'\'', QLatin1String("''"));
  // Line breaks stay out of the SQL text's own lines, so the file reads one row a line.
  quoted.replace(QLatin1String("\r\n"), QLatin1String("' || char(13, 10) || '"));
  return u'\'' + quoted + u'\'';
}

QString sqlOptionalText(const std::optional<QString> &text) {
  return text ? sqlText(*text) : sqlNull();
}

QString sqlInteger(std::int64_t value) { return QString::number(value); }

QString sqlMoney(TCents cents) {
  const TCents whole = std::llabs(cents) / 100;
  const TCents part = std::llabs(cents) % 100;
  return QStringLiteral("%1%2.%3")
      .arg(cents < 0 ? QStringLiteral("-") : QString())
      .arg(whole)
      .arg(part, 2, 10, QLatin1Char('0'));
}

QString sqlNumber(double value, int decimals) { return QString::number(value, 'f', decimals); }

QString sqlBoolean(bool value) { return value ? QStringLiteral("1") : QStringLiteral("0"); }

QString sqlDate(const QDate &date) { return u'\'' + date.toString(Qt::ISODate) + u'\''; }

QString sqlDateTime(const QDateTime &dateTime) {
  return u'\'' + dateTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + u'\'';
}

std::int32_t dayNumber(const QDate &date) {
  return static_cast<std::int32_t>(QDate(1899, 12, 30).daysTo(date));
}

std::int32_t stampOf(const QDateTime &dateTime) {
  // Both sides as wall-clock times, so the stamp does not depend on the machine's zone.
  const QDateTime epoch(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);
  const QDateTime asUtc(dateTime.date(), dateTime.time(), Qt::UTC);
  return static_cast<std::int32_t>(epoch.secsTo(asUtc));
}

QString moneyText(TCents cents) {
  const TCents whole = std::llabs(cents) / 100;
  QString digits = QString::number(whole);
  for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
    digits.insert(at, u',');
  return QStringLiteral("%1$%2.%3")
      .arg(cents < 0 ? QStringLiteral("-") : QString(), digits)
      .arg(std::llabs(cents) % 100, 2, 10, QLatin1Char('0'));
}

} // namespace TDInvoice::Demo
