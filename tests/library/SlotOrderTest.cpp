// The host calls IInvoiceReport through its table of virtual functions, by position. These
// tests call each slot by its index, the way a host compiled elsewhere does.
#include "LibraryTestSupport.h"

#include "TDInvoice/Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace TDInvoice {
namespace {

using Testing::formOf;

using TAnySlot = void (*)();

TAnySlot slotAt(IInvoiceReport *object, int index) {
  // The object starts with the address of its table of virtual functions.
  const TAnySlot *table = *reinterpret_cast<const TAnySlot *const *>(object);
  return table[index];
}

// Calls slot `index` of object with the given arguments and result type.
template <class Result, class... Args>
Result callSlot(IInvoiceReport *object, int index, Args... args) {
  using TSlot = Result (*)(IInvoiceReport *, Args...);
  return reinterpret_cast<TSlot>(slotAt(object, index))(object, args...);
}

// Answers every slot by recording its name.
class TSlotRecorder : public IInvoiceReport {
public:
  std::vector<std::string> calls;

  std::int32_t QueryInterface(const TGUID &, void **) override { return record("QueryInterface"); }
  std::int32_t AddRef() override { return record("AddRef"); }
  std::int32_t Release() override { return record("Release"); }
  void LoadDataSet(const char *) override { record("LoadDataSet"); }
  void SetSort(const char *) override { record("SetSort"); }
  void ReleaseReport() override { record("ReleaseReport"); }
  void SetOnGetLocations(TOnGetLocations) override { record("SetOnGetLocations"); }
  TOnGetLocations GetOnGetLocations() override { return record("GetOnGetLocations"), nullptr; }
  void SetOnGetDataPacket(TOnGetDataPacket) override { record("SetOnGetDataPacket"); }
  TOnGetDataPacket GetOnGetDataPacket() override { return record("GetOnGetDataPacket"), nullptr; }
  void SetOnGetInvoiceMessage(TOnGetInvoiceMessage) override { record("SetOnGetInvoiceMessage"); }
  TOnGetInvoiceMessage GetOnGetInvoiceMessage() override {
    return record("GetOnGetInvoiceMessage"), nullptr;
  }
  void SetOnGetFamilyChildren(TOnGetFamilyChildren) override { record("SetOnGetFamilyChildren"); }
  TOnGetFamilyChildren GetOnGetFamilyChildren() override {
    return record("GetOnGetFamilyChildren"), nullptr;
  }
  void SetOnGetInvoiceFundingKeys(TOnGetInvoiceFundingKeys) override {
    record("SetOnGetInvoiceFundingKeys");
  }
  TOnGetInvoiceFundingKeys GetOnGetInvoiceFundingKeys() override {
    return record("GetOnGetInvoiceFundingKeys"), nullptr;
  }
  void SetOnFillInvoiceHistory(TOnFillInvoiceHistory) override {
    record("SetOnFillInvoiceHistory");
  }
  TOnFillInvoiceHistory GetOnFillInvoiceHistory() override {
    return record("GetOnFillInvoiceHistory"), nullptr;
  }
  TReportComponent *GetReport() override { return record("GetReport"), nullptr; }

private:
  std::int32_t record(const char *name) {
    calls.emplace_back(name);
    return static_cast<std::int32_t>(calls.size());
  }
};

// One more virtual function lands right after the interface's last slot.
class TExtendedRecorder final : public TSlotRecorder {
public:
  virtual int extraSlot() { return 4242; }
};

TEST(SlotOrder, EachIndexReachesItsOperation) {
  const char *const expected[IInvoiceReportSlotCount] = {"QueryInterface",
                                                         "AddRef",
                                                         "Release",
                                                         "LoadDataSet",
                                                         "SetSort",
                                                         "ReleaseReport",
                                                         "SetOnGetLocations",
                                                         "GetOnGetLocations",
                                                         "SetOnGetDataPacket",
                                                         "GetOnGetDataPacket",
                                                         "SetOnGetInvoiceMessage",
                                                         "GetOnGetInvoiceMessage",
                                                         "SetOnGetFamilyChildren",
                                                         "GetOnGetFamilyChildren",
                                                         "SetOnGetInvoiceFundingKeys",
                                                         "GetOnGetInvoiceFundingKeys",
                                                         "SetOnFillInvoiceHistory",
                                                         "GetOnFillInvoiceHistory",
                                                         "GetReport"};
  TSlotRecorder recorder;
  TGUID id = IID_IInvoiceReport;
  void *out = nullptr;
  callSlot<std::int32_t, const TGUID *, void **>(&recorder, 0, &id, &out);
  callSlot<std::int32_t>(&recorder, 1);
  callSlot<std::int32_t>(&recorder, 2);
  callSlot<void, const char *>(&recorder, 3, "SQL");
  callSlot<void, const char *>(&recorder, 4, "InvoiceNo");
  callSlot<void>(&recorder, 5);
  for (int index = 6; index < 18; index += 2) {
    callSlot<void, void *>(&recorder, index, nullptr);
    callSlot<void *>(&recorder, index + 1);
  }
  callSlot<void *>(&recorder, 18);
  ASSERT_EQ(recorder.calls.size(), std::size_t(IInvoiceReportSlotCount));
  for (int index = 0; index < IInvoiceReportSlotCount; ++index)
    EXPECT_EQ(recorder.calls[index], expected[index]) << "slot " << index;
}

TEST(SlotOrder, InterfaceHasNoSlotsBeyondTheNineteen) {
  TExtendedRecorder recorder;
  EXPECT_EQ(callSlot<int>(&recorder, IInvoiceReportSlotCount), 4242);
}

// The real object, driven by index only.
class InvoiceSlotTest : public ::testing::Test {
protected:
  void SetUp() override { CreateInvoiceReport(FReport, nullptr, 1, 0, 0); }
  void TearDown() override {
    FReport->ReleaseReport();
    FReport->Release();
    Testing::runEventLoop();
  }
  IInvoiceReport *FReport = nullptr;
};

TLocationTable *slotLocations() { return nullptr; }
TShortStringList *slotDataPacket(const char *) { return nullptr; }
char *slotInvoiceMessage(std::int32_t) { return nullptr; }
TShortStringList *slotFamilyChildren(std::int32_t) { return nullptr; }
char *slotFundingKeys(std::int32_t) { return nullptr; }
void slotFillHistory(std::int32_t, TInvHistList *) {}

TEST_F(InvoiceSlotTest, CountingSlotsReturnTheNewCount) {
  EXPECT_EQ(callSlot<std::int32_t>(FReport, 1), 2);
  EXPECT_EQ(callSlot<std::int32_t>(FReport, 1), 3);
  EXPECT_EQ(callSlot<std::int32_t>(FReport, 2), 2);
  EXPECT_EQ(callSlot<std::int32_t>(FReport, 2), 1);
  void *asked = nullptr;
  EXPECT_EQ(
      (callSlot<std::int32_t, const TGUID *, void **>(FReport, 0, &IID_IInvoiceReport, &asked)),
      S_OK);
  EXPECT_EQ(asked, FReport);
  EXPECT_EQ(callSlot<std::int32_t>(FReport, 2), 1);
}

TEST_F(InvoiceSlotTest, EachSetterSlotFeedsTheGetterSlotAfterIt) {
  void *const callbacks[] = {
      reinterpret_cast<void *>(slotLocations),      reinterpret_cast<void *>(slotDataPacket),
      reinterpret_cast<void *>(slotInvoiceMessage), reinterpret_cast<void *>(slotFamilyChildren),
      reinterpret_cast<void *>(slotFundingKeys),    reinterpret_cast<void *>(slotFillHistory)};
  for (int pair = 0; pair < 6; ++pair) {
    const int setter = 6 + 2 * pair;
    EXPECT_EQ(callSlot<void *>(FReport, setter + 1), nullptr) << "slot " << setter + 1;
    callSlot<void, void *>(FReport, setter, callbacks[pair]);
    EXPECT_EQ(callSlot<void *>(FReport, setter + 1), callbacks[pair]) << "slot " << setter + 1;
  }
  TInvoiceReportForm *form = formOf(FReport);
  EXPECT_EQ(form->OnGetLocations(), slotLocations);
  EXPECT_EQ(form->OnFillInvoiceHistory(), slotFillHistory);
  EXPECT_EQ(callSlot<TReportComponent *>(FReport, 18), form->reportComponent());
}

TEST_F(InvoiceSlotTest, DatasetSlotsRaiseExceptionsBeforeThereIsData) {
  EXPECT_THROW((callSlot<void, const char *>(FReport, 3, "SELECT * FROM Invoices")), Exception);
  EXPECT_THROW((callSlot<void, const char *>(FReport, 4, "InvoiceNo")), Exception);
}

} // namespace
} // namespace TDInvoice
