// The soak: 2,000 invoices to one PDF in one tdinvoice run; every shared allocator block is
// given back, and the peak resident set is reported. Labelled "soak" (ctest -L soak runs it
// alone, ctest -LE soak leaves it out).
#include "ChildRun.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdio>
#include <regex>

namespace TDInvoice::Testing {
namespace {

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
  std::smatch pages;
  ASSERT_TRUE(std::regex_search(run.output, pages, std::regex(R"(: (\d+) page\(s\))")));
  EXPECT_GE(std::stoi(pages[1]), kInvoices); // every invoice starts a page of its own

  std::smatch peak;
  ASSERT_TRUE(
      std::regex_search(run.output, peak, std::regex(R"(peak resident memory: ([0-9.]+) MiB)")));
  const double peakMiB = std::stod(peak[1]);
  std::printf("soak: %d invoices, %s pages, %.1f s, peak RSS %.1f MiB\n", kInvoices,
              pages[1].str().c_str(), run.seconds, peakMiB);
  RecordProperty("peak_rss_MiB", std::to_string(peakMiB));
  RecordProperty("seconds", std::to_string(run.seconds));
}

} // namespace
} // namespace TDInvoice::Testing
