#include "LibraryTestSupport.h"

#include "TDInvoice/Application.h"
#include "TDInvoice/SharedAllocator.h"
#include "framework/ApplicationObjects.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <gtest/gtest.h>

#include <memory>

namespace TDInvoice {
namespace {

using Testing::formOf;
using Testing::invoiceOf;
using Testing::runEventLoop;

TEST(InvoiceReferenceCount, CountsReferencesAndDiesAtZeroLeavingTheForm) {
  auto owner = std::make_unique<QObject>();
  IInvoiceReport *report = nullptr;
  CreateInvoiceReport(report, owner.get(), 1, 0, 0);
  EXPECT_EQ(invoiceOf(report)->refCount(), 1) << "the host holds exactly one reference";
  QPointer<TInvoiceReportForm> form = formOf(report);

  EXPECT_EQ(report->AddRef(), 2);
  EXPECT_EQ(report->Release(), 1);
  const std::int64_t blocksWithInvoice = sharedBlockCount();
  EXPECT_EQ(report->Release(), 0);
  EXPECT_EQ(sharedBlockCount(), blocksWithInvoice - 1) << "TInvoice freed";

  ASSERT_FALSE(form.isNull()) << "the form outlives its interface";
  form->setOnGetLocations(nullptr);
  runEventLoop();
  ASSERT_FALSE(form.isNull()) << "nothing releases it but its owner";
  owner.reset();
  EXPECT_TRUE(form.isNull());
}

TEST(InvoiceReferenceCount, QueryInterfaceAnswersOnlyItsTwoIdentifiers) {
  IInvoiceReport *report = nullptr;
  CreateInvoiceReport(report, nullptr, 1, 0, 0);
  struct {
    TGUID id;
    bool known;
  } const cases[] = {
      {IID_IInvoiceReport, true},
      {IID_IUnknown, true},
      {{1, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}}, false},
      {{0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x47}}, false},
  };
  for (const auto &query : cases) {
    void *out = reinterpret_cast<void *>(0x1);
    const std::int32_t status = report->QueryInterface(query.id, &out);
    if (query.known) {
      EXPECT_EQ(status, S_OK);
      EXPECT_EQ(out, report);
      EXPECT_EQ(invoiceOf(report)->refCount(), 2) << "a found interface is counted";
      report->Release();
    } else {
      EXPECT_EQ(status, E_NOINTERFACE);
      EXPECT_EQ(out, nullptr);
      EXPECT_EQ(invoiceOf(report)->refCount(), 1);
    }
  }
  report->ReleaseReport();
  EXPECT_EQ(report->Release(), 0);
  runEventLoop();
}

TEST(InvoiceLifetime, FormWithoutOwnerLivesUntilReleaseReportThenBothEnd) {
  const std::int64_t baseline = sharedBlockCount();
  IInvoiceReport *report = nullptr;
  CreateInvoiceReport(report, nullptr, 2, 0, 1);
  QPointer<TInvoiceReportForm> form = formOf(report);
  EXPECT_EQ(form->owner(), nullptr);
  runEventLoop();
  ASSERT_FALSE(form.isNull());
  report->ReleaseReport();
  EXPECT_FALSE(form.isNull()) << "release waits for the event loop";
  EXPECT_EQ(report->Release(), 0);
  runEventLoop();
  EXPECT_TRUE(form.isNull());
  EXPECT_EQ(sharedBlockCount(), baseline);
}

// The form's code calls the host during one of its events; the host releases the report
// from inside that callback; the form goes on after the callback returns.
IInvoiceReport *gReleasingReport = nullptr;
TLocationTable *releaseFromCallback() {
  gReleasingReport->ReleaseReport();
  return nullptr;
}

TEST(InvoiceLifetime, ReleaseReportFromInsideACallbackDuringAnEventIsSafe) {
  CreateInvoiceReport(gReleasingReport, nullptr, 3, 0, 0);
  gReleasingReport->SetOnGetLocations(releaseFromCallback);
  QPointer<TInvoiceReportForm> form = formOf(gReleasingReport);
  bool usableAfterCallback = false;
  QMetaObject::invokeMethod(
      form.data(),
      [&form, &usableAfterCallback] {
        form->callOnGetLocations();
        usableAfterCallback = !form.isNull() && form->OnGetLocations() == releaseFromCallback;
      },
      Qt::QueuedConnection);
  runEventLoop();
  EXPECT_TRUE(usableAfterCallback);
  EXPECT_TRUE(form.isNull()) << "released once the event had finished";
  EXPECT_EQ(gReleasingReport->Release(), 0);
  gReleasingReport = nullptr;
}

TEST(InvoiceLifetime, OwnerDestroyedFirstLeavesTheInterfaceReleasable) {
  auto owner = std::make_unique<QObject>();
  IInvoiceReport *report = nullptr;
  CreateInvoiceReport(report, owner.get(), 0, 0, 0);
  QPointer<TInvoiceReportForm> form = formOf(report);
  owner.reset();
  EXPECT_TRUE(form.isNull());
  EXPECT_EQ(report->Release(), 0);
}

// Every object that create/set/release makes in the shared heap is gone at the end.
TEST(InvoiceLifetime, SharedHeapBackAtBaselineForEveryVariant) {
  const struct {
    std::int32_t PaymentType;
    std::int16_t WithCard, Extended;
  } variants[] = {{1, 0, 0}, {1, 0, 1}, {2, 0, 0}, {2, 0, 1}, {3, 0, 0}, {3, 1, 0}};
  for (const auto &v : variants) {
    SCOPED_TRACE(testing::Message() << v.PaymentType << '/' << v.WithCard << '/' << v.Extended);
    const std::int64_t baseline = sharedBlockCount();
    IInvoiceReport *report = nullptr;
    CreateInvoiceReport(report, nullptr, v.PaymentType, v.WithCard, v.Extended);
    EXPECT_GT(sharedBlockCount(), baseline) << "report and form live in the shared heap";
    report->SetOnGetLocations([]() -> TLocationTable * { return nullptr; });
    report->SetOnGetDataPacket([](const char *) -> TShortStringList * { return nullptr; });
    report->SetOnGetInvoiceMessage([](std::int32_t) -> char * { return nullptr; });
    report->SetOnGetFamilyChildren([](std::int32_t) -> TShortStringList * { return nullptr; });
    report->SetOnGetInvoiceFundingKeys([](std::int32_t) -> char * { return nullptr; });
    report->SetOnFillInvoiceHistory([](std::int32_t, TInvHistList *) {});
    report->ReleaseReport();
    report->Release();
    runEventLoop();
    EXPECT_EQ(sharedBlockCount(), baseline);
  }
}

TEST(InvoiceApplication, FormsBelongToTheHostsApplicationWhileItIsInstalled) {
  TApplication hostApplication{QCoreApplication::instance()};
  TScreen hostScreen{};
  auto owner = std::make_unique<QObject>();
  IInvoiceReport *before = nullptr, *during = nullptr, *after = nullptr;
  CreateInvoiceReport(before, owner.get(), 1, 0, 0);
  InitInvoiceDLL(&hostApplication, &hostScreen);
  CreateInvoiceReport(during, owner.get(), 1, 0, 0);
  FinaliseInvoiceDLL();
  CreateInvoiceReport(after, owner.get(), 1, 0, 0);

  ASSERT_NE(ownApplication(), nullptr);
  EXPECT_EQ(formOf(before)->application(), ownApplication());
  EXPECT_EQ(formOf(during)->application(), &hostApplication);
  EXPECT_EQ(formOf(during)->application()->qtApplication(), QCoreApplication::instance());
  EXPECT_EQ(formOf(after)->application(), ownApplication());
  for (IInvoiceReport *report : {before, during, after})
    report->Release();
}

} // namespace
} // namespace TDInvoice
