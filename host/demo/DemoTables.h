// Rows for the test host's tables, held as SQL literals, in the order they are inserted.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace TDInvoice::Demo {

struct TDemoTable {
  QString name; // as SQL names it, e.g. "[User Details]"
  QStringList columns;
  std::vector<QStringList> rows; // each value an SQL literal

  void add(QStringList values) { rows.push_back(std::move(values)); }
};

class TDemoTables {
public:
  // The table of that name, created empty with these columns on first use.
  TDemoTable &table(const QString &name, const QStringList &columns);
  const std::vector<TDemoTable> &tables() const { return FTables; }
  const TDemoTable *find(const QString &name) const;

private:
  std::vector<TDemoTable> FTables;
};

// Amounts in whole cents: every demo amount is one, so sums stay exact.
using TCents = std::int64_t;

// SQL literals.
QString sqlNull();
QString sqlText(const QString &text);
QString sqlOptionalText(const std::optional<QString> &text);
QString sqlInteger(std::int64_t value);
QString sqlMoney(TCents cents);
QString sqlNumber(double value, int decimals);
QString sqlBoolean(bool value);
QString sqlDate(const QDate &date);
QString sqlDateTime(const QDateTime &dateTime);

// Day numbers count days since 30 December 1899; time stamps seconds since 1 January 2000.
std::int32_t dayNumber(const QDate &date);
std::int32_t stampOf(const QDateTime &dateTime);

// "$1,234.50", "-$15.00": for the texts the demo writes itself (notes, free-text entries).
QString moneyText(TCents cents);

} // namespace TDInvoice::Demo
