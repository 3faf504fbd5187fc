#include "LibraryTestSupport.h"

#include "TDInvoice/Exceptions.h"
#include "TDInvoice/SharedAllocator.h"
#include "library/ReportCreation.h"

#include <QObject>
#include <QPointer>
#include <gtest/gtest.h>

#include <memory>

namespace TDInvoice {
namespace {

using Testing::formOf;
using Testing::invoiceOf;
using Testing::runEventLoop;

void releaseBoth(IInvoiceReport *report) {
  report->ReleaseReport();
  report->Release();
}

TEST(CreateInvoiceReport, ReleasesTheReferenceAlreadyHeld) {
  IInvoiceReport *report = nullptr;
  CreateInvoiceReport(report, nullptr, 1, 0, 0);
  IInvoiceReport *first = report;
  first->AddRef(); // keeps the first object alive to look at it
  QPointer<TInvoiceReportForm> firstForm = formOf(first);

  CreateInvoiceReport(report, nullptr, 2, 0, 0);
  ASSERT_NE(report, first);
  EXPECT_EQ(invoiceOf(first)->refCount(), 1) << "the reference held in Report was released";
  EXPECT_EQ(invoiceOf(report)->refCount(), 1);
  EXPECT_FALSE(firstForm.isNull()) << "releasing the interface leaves its form";

  releaseBoth(first);
  releaseBoth(report);
  runEventLoop();
}

TInvoiceReportForm *failingFactory(TInvoiceVariant, QObject *) {
  throw EReportError("The report layout cannot be loaded.");
}

TEST(CreateInvoiceReport, FailureWhileBuildingLeavesReportAsItWas) {
  for (bool holdsOne : {false, true}) {
    SCOPED_TRACE(holdsOne ? "Report held a reference" : "Report was empty");
    IInvoiceReport *held = nullptr;
    if (holdsOne)
      CreateInvoiceReport(held, nullptr, 1, 0, 0);
    IInvoiceReport *report = held;
    const std::int64_t blocks = sharedBlockCount();
    try {
      createInvoiceReport(report, nullptr, 3, 0, 0, failingFactory);
      ADD_FAILURE() << "no exception";
    } catch (const EReportError &error) {
      EXPECT_EQ(error.message(), "The report layout cannot be loaded.");
    }
    EXPECT_EQ(report, held);
    EXPECT_EQ(sharedBlockCount(), blocks);
    if (held) {
      EXPECT_EQ(invoiceOf(held)->refCount(), 1);
      releaseBoth(held);
    }
  }
  runEventLoop();
}

TEST(CreateInvoiceReport, TwoReportsAreIndependent) {
  auto owner = std::make_unique<QObject>();
  IInvoiceReport *a = nullptr, *b = nullptr;
  CreateInvoiceReport(a, owner.get(), 3, 1, 0);
  CreateInvoiceReport(b, owner.get(), 3, 1, 0);
  ASSERT_NE(a, b);
  QPointer<TInvoiceReportForm> formA = formOf(a), formB = formOf(b);
  ASSERT_NE(formA.data(), formB.data());

  a->SetOnGetDataPacket([](const char *) -> TShortStringList * { return nullptr; });
  EXPECT_EQ(b->GetOnGetDataPacket(), nullptr);
  EXPECT_NE(a->GetOnGetDataPacket(), nullptr);

  a->ReleaseReport();
  EXPECT_EQ(a->Release(), 0);
  runEventLoop();
  EXPECT_TRUE(formA.isNull());
  ASSERT_FALSE(formB.isNull());
  EXPECT_EQ(invoiceOf(b)->refCount(), 1);
  EXPECT_EQ(b->Release(), 0);
  owner.reset();
  EXPECT_TRUE(formB.isNull());
}

} // namespace
} // namespace TDInvoice
