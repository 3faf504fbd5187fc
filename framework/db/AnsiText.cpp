#include "framework/db/AnsiText.h"

#include <QHash>

namespace TDInvoice::Ado {
namespace {

// Code page 1252 differs from Latin-1 only in 0x80..0x9F; the five unassigned bytes map to
// the C1 controls of the same value, as Windows does.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const QHash<char16_t, char> &reverseHigh() {
  static const QHash<char16_t, char> table = [] {
    QHash<char16_t, char> t;
    for (int i = 0; i < 32; ++i)
      t.insert(kHigh[i], static_cast<char>(0x80 + i));
    return t;
  }();
  return table;
}

} // namespace

QString fromAnsi(QByteArrayView text) {
  QString result(text.size(), Qt::Uninitialized);
  QChar *out = result.data();
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    *out++ = QChar(byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : char16_t(byte));
  }
  return result;
}

QByteArray toAnsi(const QString &text) {
  QByteArray result(text.size(), Qt::Uninitialized);
  char *out = result.data();
  for (const QChar c : text) {
    const char16_t unit = c.unicode();
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
      *out++ = static_cast<char>(unit);
      continue;
    }
    const auto found = reverseHigh().constFind(unit);
    *out++ = found != reverseHigh().constEnd() ? *found : '?';
  }
  return result;
}

} // namespace TDInvoice::Ado
