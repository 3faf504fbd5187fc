#include "LibraryTestSupport.h"

#include "TDInvoice/Exceptions.h"
#include "TDInvoice/SharedAllocator.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

namespace TDInvoice {
namespace {

using Testing::formOf;

// What the recording callbacks last received.
struct TCallbackLog {
  std::string sql;
  std::int32_t closeDate = 0, parentID = 0, invoiceNo = 0;
  TInvHistList *historyList = nullptr;
  int calls = 0;
} gLog;

TLocationTable *const kLocationsResult = reinterpret_cast<TLocationTable *>(0x1000);
TShortStringList *const kPacketResult = reinterpret_cast<TShortStringList *>(0x2000);
TShortStringList *const kChildrenResult = reinterpret_cast<TShortStringList *>(0x3000);

TLocationTable *recordLocations() { return ++gLog.calls, kLocationsResult; }
TShortStringList *recordDataPacket(const char *SQL) {
  ++gLog.calls;
  gLog.sql = SQL;
  return kPacketResult;
}
char *recordInvoiceMessage(std::int32_t CloseDate) {
  ++gLog.calls;
  gLog.closeDate = CloseDate;
  return allocStringBuffer("{\\rtf1 message}");
}
TShortStringList *recordFamilyChildren(std::int32_t ParentID) {
  ++gLog.calls;
  gLog.parentID = ParentID;
  return kChildrenResult;
}
char *recordFundingKeys(std::int32_t InvoiceNo) {
  ++gLog.calls;
  gLog.invoiceNo = InvoiceNo;
  return allocStringBuffer("258,513");
}
void recordFillHistory(std::int32_t InvoiceNo, TInvHistList *List) {
  ++gLog.calls;
  gLog.invoiceNo = InvoiceNo;
  gLog.historyList = List;
}

// One callback slot: how to set it through the interface, read it back, and which callback
// stands for it in these tests (as an address, to compare across the six types).
struct TSlot {
  const char *name;
  std::function<void(IInvoiceReport *, bool clear)> set;
  std::function<void *(IInvoiceReport *)> get;
  void *callback;
};

template <class Callback> void *address(Callback callback) {
  return reinterpret_cast<void *>(callback);
}

const TSlot kSlots[] = {
    {"OnGetLocations",
     [](IInvoiceReport *r, bool clear) { r->SetOnGetLocations(clear ? nullptr : recordLocations); },
     [](IInvoiceReport *r) { return address(r->GetOnGetLocations()); }, address(recordLocations)},
    {"OnGetDataPacket",
     [](IInvoiceReport *r, bool clear) {
       r->SetOnGetDataPacket(clear ? nullptr : recordDataPacket);
     },
     [](IInvoiceReport *r) { return address(r->GetOnGetDataPacket()); }, address(recordDataPacket)},
    {"OnGetInvoiceMessage",
     [](IInvoiceReport *r, bool clear) {
       r->SetOnGetInvoiceMessage(clear ? nullptr : recordInvoiceMessage);
     },
     [](IInvoiceReport *r) { return address(r->GetOnGetInvoiceMessage()); },
     address(recordInvoiceMessage)},
    {"OnGetFamilyChildren",
     [](IInvoiceReport *r, bool clear) {
       r->SetOnGetFamilyChildren(clear ? nullptr : recordFamilyChildren);
     },
     [](IInvoiceReport *r) { return address(r->GetOnGetFamilyChildren()); },
     address(recordFamilyChildren)},
    {"OnGetInvoiceFundingKeys",
     [](IInvoiceReport *r, bool clear) {
       r->SetOnGetInvoiceFundingKeys(clear ? nullptr : recordFundingKeys);
     },
     [](IInvoiceReport *r) { return address(r->GetOnGetInvoiceFundingKeys()); },
     address(recordFundingKeys)},
    {"OnFillInvoiceHistory",
     [](IInvoiceReport *r, bool clear) {
       r->SetOnFillInvoiceHistory(clear ? nullptr : recordFillHistory);
     },
     [](IInvoiceReport *r) { return address(r->GetOnFillInvoiceHistory()); },
     address(recordFillHistory)},
};

class CallbackSlotTest : public ::testing::Test {
protected:
  void SetUp() override {
    gLog = {};
    CreateInvoiceReport(FReport, nullptr, 3, 1, 0);
  }
  void TearDown() override {
    FReport->ReleaseReport();
    FReport->Release();
    Testing::runEventLoop();
  }
  IInvoiceReport *FReport = nullptr;
};

// Setting one slot stores exactly that callback and leaves the others as they were.
TEST_F(CallbackSlotTest, GettersReturnWhatWasSetAndNullBefore) {
  for (const TSlot &slot : kSlots)
    EXPECT_EQ(slot.get(FReport), nullptr) << slot.name;
  for (std::size_t set = 0; set < std::size(kSlots); ++set) {
    kSlots[set].set(FReport, false);
    for (std::size_t i = 0; i < std::size(kSlots); ++i)
      EXPECT_EQ(kSlots[i].get(FReport), i <= set ? kSlots[i].callback : nullptr)
          << "after setting " << kSlots[set].name << ", " << kSlots[i].name;
  }
  kSlots[2].set(FReport, true);
  EXPECT_EQ(kSlots[2].get(FReport), nullptr);
  EXPECT_EQ(kSlots[3].get(FReport), kSlots[3].callback);
  EXPECT_EQ(gLog.calls, 0) << "storing a callback never calls it";
}

TEST_F(CallbackSlotTest, FormCallsPassArgumentsAndResultsThrough) {
  for (const TSlot &slot : kSlots)
    slot.set(FReport, false);
  TInvoiceReportForm *form = formOf(FReport);
  TInvHistList *const history = reinterpret_cast<TInvHistList *>(0x4000);

  EXPECT_EQ(form->callOnGetLocations(), kLocationsResult);
  EXPECT_EQ(form->callOnGetDataPacket("SELECT * FROM [User Details]"), kPacketResult);
  EXPECT_EQ(gLog.sql, "SELECT * FROM [User Details]");
  char *message = form->callOnGetInvoiceMessage(45000);
  EXPECT_EQ(gLog.closeDate, 45000);
  EXPECT_STREQ(message, "{\\rtf1 message}");
  freeStringBuffer(message);
  EXPECT_EQ(form->callOnGetFamilyChildren(77), kChildrenResult);
  EXPECT_EQ(gLog.parentID, 77);
  char *keys = form->callOnGetInvoiceFundingKeys(1234);
  EXPECT_EQ(gLog.invoiceNo, 1234);
  EXPECT_STREQ(keys, "258,513");
  freeStringBuffer(keys);
  form->callOnFillInvoiceHistory(-5, history);
  EXPECT_EQ(gLog.invoiceNo, -5);
  EXPECT_EQ(gLog.historyList, history);
  EXPECT_EQ(gLog.calls, 6);
}

// An empty slot is a host error; it must surface as an exception naming the slot, never as
// a jump to address zero.
TEST_F(CallbackSlotTest, CallingAnEmptySlotRaisesAnExceptionNamingIt) {
  const TInvoiceReportForm *form = formOf(FReport);
  const std::pair<const char *, std::function<void()>> calls[] = {
      {"OnGetLocations", [form] { form->callOnGetLocations(); }},
      {"OnGetDataPacket", [form] { form->callOnGetDataPacket("SELECT 1"); }},
      {"OnGetInvoiceMessage", [form] { form->callOnGetInvoiceMessage(1); }},
      {"OnGetFamilyChildren", [form] { form->callOnGetFamilyChildren(1); }},
      {"OnGetInvoiceFundingKeys", [form] { form->callOnGetInvoiceFundingKeys(1); }},
      {"OnFillInvoiceHistory", [form] { form->callOnFillInvoiceHistory(1, nullptr); }},
  };
  for (const auto &[name, call] : calls) {
    try {
      call();
      ADD_FAILURE() << name << ": no exception";
    } catch (const Exception &error) {
      EXPECT_EQ(error.message(), std::string(name) + " is not set");
    }
  }
  EXPECT_EQ(gLog.calls, 0);
}

TEST_F(CallbackSlotTest, LoadingWithoutAPacketCallbackRaisesAnException) {
  EXPECT_THROW(FReport->LoadDataSet("SELECT * FROM Invoices"), Exception);
}

} // namespace
} // namespace TDInvoice
