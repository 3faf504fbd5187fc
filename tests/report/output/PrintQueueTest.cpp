#include "report/output/PrintQueue.h"
#include "OutputTestSupport.h"
#include "PrintTestSupport.h"

namespace TDInvoice::Report {
namespace {

using Testing::FakeQueueClient;
using Testing::reportError;

const QString kFile = QStringLiteral("/tmp/tdi-print-abc123.pdf");

TEST(PrintQueueArguments, CarryEveryOptionOfTheTicket) {
  struct Case {
    TPrintTicket ticket;
    QStringList expected;
  };
  const Case cases[] = {
      {{"TDI-PDF", "Invoices", 1, false, false, "A4", ""},
       {"-d", "TDI-PDF", "-t", "Invoices", "-n", "1", "-o", "media=A4", "-o", "sides=one-sided",
        kFile}},
      {{"Office", "Invoices", 2, true, true, "Letter", "top"},
       {"-d", "Office", "-t", "Invoices", "-n", "2", "-o", "collate=true", "-o", "media=Letter",
        "-o", "sides=two-sided-short-edge", "-o", "landscape", "-o", "media-source=top", kFile}},
      // Without a title the queue names the job after the file.
      {{"Office/draft", "", 3, false, false, "Custom.100x50mm", "manual"},
       {"-d", "Office/draft", "-n", "3", "-o", "collate=true", "-o", "media=Custom.100x50mm", "-o",
        "sides=one-sided", "-o", "media-source=manual", kFile}},
      {{"Office", "A title with spaces", 0, false, false, "", ""},
       {"-d", "Office", "-t", "A title with spaces", "-n", "1", "-o", "sides=one-sided", kFile}},
  };
  for (const Case &c : cases)
    EXPECT_EQ(TPrintQueue::arguments(c.ticket, kFile), c.expected) << c.ticket.queue.toStdString();
}

TEST(PrintQueueArguments, BinsBecomeTheIppSourcesCupsMapsToTheDriversSlots) {
  struct Case {
    TReportBin bin;
    const char *source;
  };
  const Case cases[] = {{TReportBin::Upper, "top"},
                        {TReportBin::Lower, "bottom"},
                        {TReportBin::Middle, "middle"},
                        {TReportBin::Manual, "manual"},
                        {TReportBin::Envelope, "envelope"},
                        {TReportBin::EnvManual, ""},
                        {TReportBin::Auto, ""},
                        {TReportBin::Tractor, ""},
                        {TReportBin::SmallFormat, ""},
                        {TReportBin::LargeFormat, ""},
                        {TReportBin::LargeCapacity, "large-capacity"},
                        {TReportBin::Cassette, "main"}};
  for (const Case c : cases)
    EXPECT_EQ(TPrintQueue::mediaSourceOf(c.bin), QLatin1String(c.source)) << int(c.bin);
}

const TPrintTicket kTicket{"Office", "Invoices", 1, false, false, "A4", ""};

TEST(PrintQueueSubmit, SendsTheArgumentsAndReturnsTheRequestId) {
  FakeQueueClient lp;
  ASSERT_EQ(TPrintQueue::clientProgram(), lp.program());
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("job.pdf"));
  Testing::writeAll(file, "%PDF-1.4 stand-in");
  EXPECT_EQ(TPrintQueue::submit(kTicket, file), QStringLiteral("FAKE-7"));
  EXPECT_EQ(lp.arguments(), TPrintQueue::arguments(kTicket, file));
  EXPECT_EQ(Testing::readAll(lp.submittedFile()), QByteArray("%PDF-1.4 stand-in"));
}

TEST(PrintQueueSubmit, AQueueThatRefusesIsReportedWithItsReason) {
  struct Case {
    FakeQueueClient::Refusal refusal;
    QString reason;
  };
  const Case cases[] = {
      {{"lp: Error - The printer or class does not exist.", 1},
       "lp: Error - The printer or class does not exist."},
      {{"lp: Error - Destination \"Office\" is not accepting jobs.", 1},
       "lp: Error - Destination \"Office\" is not accepting jobs."},
      {{"", 3}, "%1 ended with exit code 3"},
  };
  for (const Case &c : cases) {
    FakeQueueClient lp(c.refusal);
    const QString reason =
        c.reason.contains(QLatin1String("%1")) ? c.reason.arg(lp.program()) : c.reason;
    EXPECT_EQ(reportError([&] { TPrintQueue::submit(kTicket, kFile); }),
              ("The print job \"Invoices\" could not be sent to Office: " + reason).toStdString());
    EXPECT_TRUE(lp.called());
  }
}

TEST(PrintQueueSubmit, WithoutTheClientProgramTheJobIsRefused) {
  Testing::NoQueueClient none;
  EXPECT_TRUE(TPrintQueue::clientProgram().isEmpty());
  EXPECT_EQ(reportError([&] { TPrintQueue::submit(kTicket, kFile); }),
            "The print job \"Invoices\" could not be sent to Office: the CUPS client program lp "
            "is not installed");
}

} // namespace
} // namespace TDInvoice::Report
