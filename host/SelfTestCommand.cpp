// selftest: creates a report of each of the six variants through the loaded library, sets
// and reads back its callbacks, releases it, and checks that the shared heap is back where it
// started.
#include "TDInvoice/SharedAllocator.h"
#include "host/HostCommand.h"
#include "host/InvoiceLibrary.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <memory>
#include <ostream>
#include <string>

namespace TDInvoice::Host {
namespace {

struct TVariantCase {
  std::int32_t PaymentType;
  std::int16_t WithCard;
  std::int16_t Extended;
  const char *slip;
};

// One case per form class the library chooses from.
constexpr TVariantCase kVariantCases[] = {
    {1, 0, 0, "standard slip"},    {0, 0, 1, "standard slip, extended"},
    {2, 0, 0, "credit-card slip"}, {2, 0, 1, "credit-card slip, extended"},
    {3, 0, 0, "BPAY slip"},        {3, 1, 0, "BPAY slip with card"},
};

// The self-test only exercises the slots; nothing it does makes the library call these.
TLocationTable *selfTestLocations() { return nullptr; }
TShortStringList *selfTestDataPacket(const char *) { return nullptr; }
char *selfTestInvoiceMessage(std::int32_t) { return nullptr; }
TShortStringList *selfTestFamilyChildren(std::int32_t) { return nullptr; }
char *selfTestFundingKeys(std::int32_t) { return nullptr; }
void selfTestFillHistory(std::int32_t, TInvHistList *) {}

class TSelfTest {
public:
  TSelfTest(TInvoiceLibrary &library, std::ostream &out) : FLibrary(library), FOut(out) {}

  void exerciseVariant(const TVariantCase &variant);
  void exerciseOwnedForm();
  int failures() const { return FFailures; }

private:
  void check(bool ok, const std::string &what);
  void checkCallbacks(IInvoiceReport &report);
  void flushReleasedForms() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  TInvoiceLibrary &FLibrary;
  std::ostream &FOut;
  int FFailures = 0;
};

void TSelfTest::check(bool ok, const std::string &what) {
  FOut << "  " << (ok ? "ok    " : "FAILED") << ' ' << what << '\n';
  if (!ok)
    ++FFailures;
}

void TSelfTest::checkCallbacks(IInvoiceReport &report) {
  check(!report.GetOnGetLocations() && !report.GetOnGetDataPacket() &&
            !report.GetOnGetInvoiceMessage() && !report.GetOnGetFamilyChildren() &&
            !report.GetOnGetInvoiceFundingKeys() && !report.GetOnFillInvoiceHistory(),
        "callbacks empty before they are set");
  report.SetOnGetLocations(selfTestLocations);
  report.SetOnGetDataPacket(selfTestDataPacket);
  report.SetOnGetInvoiceMessage(selfTestInvoiceMessage);
  report.SetOnGetFamilyChildren(selfTestFamilyChildren);
  report.SetOnGetInvoiceFundingKeys(selfTestFundingKeys);
  report.SetOnFillInvoiceHistory(selfTestFillHistory);
  check(report.GetOnGetLocations() == selfTestLocations &&
            report.GetOnGetDataPacket() == selfTestDataPacket &&
            report.GetOnGetInvoiceMessage() == selfTestInvoiceMessage &&
            report.GetOnGetFamilyChildren() == selfTestFamilyChildren &&
            report.GetOnGetInvoiceFundingKeys() == selfTestFundingKeys &&
            report.GetOnFillInvoiceHistory() == selfTestFillHistory,
        "six callbacks read back as set");
}

void TSelfTest::exerciseVariant(const TVariantCase &variant) {
  FOut << "CreateInvoiceReport(PaymentType " << variant.PaymentType << ", WithCard "
       << variant.WithCard << ", Extended " << variant.Extended << "): " << variant.slip << '\n';
  const std::int64_t before = sharedBlockCount();
  IInvoiceReport *report = nullptr;
  FLibrary.CreateInvoiceReport(report, nullptr, variant.PaymentType, variant.WithCard,
                               variant.Extended);
  check(report != nullptr, "report created");
  if (!report)
    return;
  check(sharedBlockCount() > before, "report allocated from the host's shared heap");
  checkCallbacks(*report);
  void *asked = nullptr;
  check(report->QueryInterface(IID_IInvoiceReport, &asked) == S_OK && asked == report,
        "QueryInterface answers IInvoiceReport");
  if (asked)
    report->Release();
  FOut << "  report component: " << (report->GetReport() ? "present" : "not built yet") << '\n';
  report->ReleaseReport();
  check(report->Release() == 0, "last reference released");
  flushReleasedForms();
  check(sharedBlockCount() == before, "form and report freed");
}

void TSelfTest::exerciseOwnedForm() {
  FOut << "CreateInvoiceReport with an owner, interface dropped, owner destroyed\n";
  const std::int64_t before = sharedBlockCount();
  auto owner = std::make_unique<QObject>();
  IInvoiceReport *report = nullptr;
  FLibrary.CreateInvoiceReport(report, owner.get(), 1, 0, 0);
  check(report != nullptr && report->Release() == 0, "interface dropped");
  check(sharedBlockCount() > before, "form still alive with its owner");
  owner.reset();
  check(sharedBlockCount() == before, "form destroyed with its owner");
}

int runSelfTest(THostContext &context) {
  TSelfTest test(*context.library, context.out);
  for (const TVariantCase &variant : kVariantCases)
    test.exerciseVariant(variant);
  test.exerciseOwnedForm();
  context.out << "selftest: " << (test.failures() ? "FAILED" : "passed") << " (" << test.failures()
              << " failure(s))\n";
  return test.failures() ? 1 : 0;
}

const THostCommandRegistration registration({"selftest",
                                             "create, configure and release each of the six "
                                             "report variants; report the heap",
                                             true, runSelfTest});

} // namespace
} // namespace TDInvoice::Host
