#include "framework/db/AnsiText.h"

#include <gtest/gtest.h>

using namespace TDInvoice::Ado;

namespace {

TEST(AnsiText, MapsCodePage1252BothWays) {
  const struct {
    QByteArray ansi;
    QString text;
  } cases[] = {
      {"Order By", u"Order By"_qs},
      {"caf\xe9 \x80 \x96 \x9f", QString::fromUtf16(u"caf\u00e9 \u20ac \u2013 \u0178")},
      {QByteArray("\x81\x8d\x8f\x90\x9d", 5),
       QString::fromUtf16(u"\u0081\u008d\u008f\u0090\u009d")},
      {"\xff", QString::fromUtf16(u"\u00ff")},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(fromAnsi(c.ansi), c.text);
    EXPECT_EQ(toAnsi(c.text), c.ansi);
  }
  // Every byte survives the round trip.
  QByteArray all(256, Qt::Uninitialized);
  for (int i = 0; i < 256; ++i)
    all[i] = static_cast<char>(i);
  EXPECT_EQ(toAnsi(fromAnsi(all)), all);
  EXPECT_EQ(toAnsi(QString::fromUtf16(u"\u4e2d\u0100")), "??");
}

} // namespace
