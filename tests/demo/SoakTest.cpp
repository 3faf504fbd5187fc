// The soak: 2,000 invoices to one PDF in one tdinvoice run; every shared allocator block is
// given back, and the peak resident set is reported. Labelled "soak" (ctest -L soak runs it
// alone, ctest -LE soak leaves it out).
#include "ChildRun.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cctype>
#include <cstdio>
#include <optional>
#include <string>

namespace TDInvoice::Testing {
namespace {

bool isNumberChar(char c) { return std::isdigit(static_cast<unsigned char>(c)) || c == '.'; }

// The number printed right before suffix, or right after prefix, in a program's output.
std::optional<std::string> numberBefore(const std::string &text, const std::string &suffix) {
  const std::size_t end = text.find(suffix);
  if (end == std::string::npos)
    return std::nullopt;
  std::size_t begin = end;
  while (begin > 0 && isNumberChar(text[begin - 1]))
    --begin;
  return begin == end ? std::nullopt : std::optional(text.substr(begin, end - begin));
}

std::optional<std::string> numberAfter(const std::string &text, const std::string &prefix) {
  const std::size_t found = text.find(prefix);
  if (found == std::string::npos)
    return std::nullopt;
  const std::size_t begin = found + prefix.size();
  std::size_t end = begin;
  while (end < text.size() && isNumberChar(text[end]))
    ++end;
  return begin == end ? std::nullopt : std::optional(text.substr(begin, end - begin));
}

constexpr int kInvoices = 2000;

TEST(Soak, TwoThousandInvoicesToPdf) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string db = dir.filePath(QStringLiteral("soak.sqlite")).toStdString();
  const std::string pdf = dir.filePath(QStringLiteral("soak.pdf")).toStdString();
  const Bench::TChildRun made = Bench::runChild(
      {TDI_HOST_PROGRAM, "demo-db", "--families", std::to_string(kInvoices), "--out", db});
  ASSERT_EQ(made.exitCode, 0) << made.output;

  const Bench::TChildRun run = Bench::runChild(
      {TDI_HOST_PROGRAM, "--library", TDI_LIBRARY_PATH, "pdf", pdf, "--db", db, "--no-progress"});
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find(std::to_string(kInvoices) + " invoice(s)"), std::string::npos);
  EXPECT_NE(run.output.find("shared allocator blocks beyond the baseline: 0"), std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("shared allocator blocks in use: 0"), std::string::npos);
  const std::optional<std::string> pages = numberBefore(run.output, " page(s)");
  ASSERT_TRUE(pages) << run.output;
  EXPECT_GE(std::stoi(*pages), kInvoices); // every invoice starts a page of its own

  const std::optional<std::string> peak = numberAfter(run.output, "peak resident memory: ");
  ASSERT_TRUE(peak) << run.output;
  const double peakMiB = std::stod(*peak);
  std::printf("soak: %d invoices, %s pages, %.1f s, peak RSS %.1f MiB\n", kInvoices,
              pages->c_str(), run.seconds, peakMiB);
  RecordProperty("peak_rss_MiB", std::to_string(peakMiB));
  RecordProperty("seconds", std::to_string(run.seconds));
}

} // namespace
} // namespace TDInvoice::Testing
