// Breaking label text into lines, with a fixed-pitch measure: 10 px a character plus the
// 1 px a label adds.
#include "report/engine/LabelFormatter.h"

#include <gtest/gtest.h>

#include <cctype>

namespace TDInvoice::Report {
namespace {

int pitch(const QString &text) { return 10 * static_cast<int>(text.size()) + 1; }

struct TFormatCase {
  const char *what;
  const char *text;
  TLabelFormat format;
  QStringList expected;
};

class LabelFormatting : public ::testing::TestWithParam<TFormatCase> {};

TEST_P(LabelFormatting, BreaksAsTheRulesSay) {
  const TFormatCase &c = GetParam();
  EXPECT_EQ(formatLabelText(QString::fromLatin1(c.text), c.format, pitch), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LabelFormatting,
    ::testing::Values(
        // "ab cd" measures 51.
        TFormatCase{"fits", "ab cd", {false, true, 100}, {"ab cd"}},
        // "aaa bbb " measures 81 > 80: the line closes after "aaa ".
        TFormatCase{"wraps at a space", "aaa bbb ccc", {false, true, 80}, {"aaa ", "bbb ccc"}},
        // A fit is measured with the trailing separator: "aaa bbb " at 81 fits 81.
        TFormatCase{
            "a fit may touch the edge", "aaa bbb ccc", {false, true, 81}, {"aaa bbb ", "ccc"}},
        TFormatCase{"breaks after a hyphen",
                    "well-known fact",
                    {false, true, 70},
                    {"well-", "known ", "fact"}},
        // First word of a line too wide: characters while the line stays narrower than 51.
        TFormatCase{"cuts a word that starts a line", "abcdefghij", {false, true, 51}, {"abcd"}},
        // After a closed line a too-wide word is shortened until it fits (51 fits 51).
        TFormatCase{"shortens a word after a line",
                    "ab abcdefghij cd",
                    {false, true, 51},
                    {"ab ", "abcde", "cd"}},
        // Without wrapping an overflowing word is dropped; later words only print when
        // they overflow in turn, and the rest of the piece is lost.
        TFormatCase{"no wrap drops overflowing words",
                    "aaa bbb ccc ddd eee fff ggg",
                    {false, false, 80},
                    {"aaa ", "ccc ", "eee "}},
        TFormatCase{"no wrap keeps a line that fits", "aaa bbb", {false, false, 80}, {"aaa bbb"}},
        TFormatCase{
            "carriage returns start pieces", "one\rtwo", {false, true, 200}, {"one", "two"}},
        TFormatCase{"line feeds are dropped", "ab\r\ncd", {false, true, 200}, {"ab", "cd"}},
        TFormatCase{
            "an empty piece is an empty line", "a\r\rb", {false, true, 200}, {"a", "", "b"}},
        TFormatCase{"auto-size keeps each piece whole",
                    "a very long line\rnext",
                    {true, true, 10},
                    {"a very long line", "next"}},
        TFormatCase{"auto-size ignores word wrap", "x y z", {true, false, 0}, {"x y z"}},
        TFormatCase{"no width holds nothing", "abc", {false, true, 0}, {""}}),
    [](const auto &info) {
      std::string name;
      for (const char *p = info.param.what; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
      return name;
    });

TEST(LabelWords, EndWithTheirSeparator) {
  EXPECT_EQ(splitWords("a b-c\rd"), (QStringList{"a ", "b-", "c\r", "d"}));
  EXPECT_EQ(splitWords("  "), (QStringList{" ", " "}));
  EXPECT_TRUE(splitWords("").isEmpty());
}

} // namespace
} // namespace TDInvoice::Report
