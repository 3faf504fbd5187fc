// The number and date texts the invoice prints, in the process locale's separators, month
// names and currency style (English (Australia) under the C/POSIX locale).
#pragma once

#include "TDInvoice/InvHistList.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace TDInvoice::InvoiceFormats {

// The locale every invoice text is formatted in.
QLocale invoiceLocale();

// A currency amount (x 10000) through a picture such as "$#,##0.00;-$#,##0.00": the first
// section for positive amounts, the second for negative ones (the magnitude, its sign given
// by the section's literals). '0' and '#' are digit places, ',' among them groups thousands
// with the locale's separator, '.' places the locale's decimal point; other characters are
// copied. Decimals round half away from zero; an amount that rounds to zero takes the first
// section, so a tiny debit never shows as "-$0.00".
QString formatAmount(TCurrency amount, std::string_view picture,
                     const QLocale &locale = invoiceLocale());

// The money picture of history lines and fee-grid rows.
QString formatMoney(TCurrency amount, const QLocale &locale = invoiceLocale());

// The locale's currency style (symbol, its place, the negative form) with two decimals.
QString formatCurrency(TCurrency amount, const QLocale &locale = invoiceLocale());

// General format with at most 5 significant digits: 40.25, 40, 7.5.
QString formatHours(double value, const QLocale &locale = invoiceLocale());

// Rounded to 5 significant digits, then shown with exactly two decimals: 104.51, 100.00.
QString formatFactor(double value, const QLocale &locale = invoiceLocale());

// A date through a picture such as "d-mmm-yy" or "d/mm/yyyy": d, dd, m, mm, mmm (short month
// name), mmmm, yy, yyyy; "/" is the locale's date separator; other characters are copied.
QString formatDate(int year, int month, int day, std::string_view picture,
                   const QLocale &locale = invoiceLocale());

// A date-time value (days since 30 December 1899; the time of day is ignored) through a date
// picture, on the Gregorian calendar.
QString formatDateTime(double dateTime, std::string_view picture,
                       const QLocale &locale = invoiceLocale());

// The locale's date separator, taken from its short date format.
QString dateSeparator(const QLocale &locale = invoiceLocale());

// A text of the string table with its "%s" and "%d" places filled, in order, by args (the
// numbers already as text); "%%" is a percent sign. Places beyond args stay empty.
QString fillIn(std::string_view format, std::initializer_list<QString> args);
// The same for 8-bit texts (rich text, whose bytes are code page 1252).
QByteArray fillIn(std::string_view format, std::initializer_list<QByteArray> args);

} // namespace TDInvoice::InvoiceFormats
