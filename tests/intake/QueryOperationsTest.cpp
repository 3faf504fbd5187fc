#include "intake/QueryOperations.h"

#include "TDInvoice/Exceptions.h"
#include "TDInvoice/SharedAllocator.h"
#include "TDInvoice/ShortStringList.h"
#include "host/testhost/PacketEncoder.h"
#include "host/testhost/TestHost.h"
#include "tests/intake/ThrownMessage.h"
#include "tests/testhost/SampleData.h"

#include <gtest/gtest.h>

#include <memory>

using namespace TDInvoice;
using namespace TDInvoice::Intake;
using TDInvoice::Host::TestHost;
using TDInvoice::Testing::thrownMessage;

namespace {

class QueryOperationsTest : public ::testing::Test {
protected:
  void SetUp() override {
    host = std::make_unique<TestHost>();
    Testing::seedSampleData(*host);
    baseline = sharedBlockCount();
  }
  void TearDown() override { EXPECT_EQ(sharedBlockCount(), baseline) << "a boundary block leaked"; }

  std::unique_ptr<TestHost> host;
  Intake::THostCallbacks callbacks = TestHost::callbacks();
  TADODataSet ADODataSet1;
  std::int64_t baseline = 0;
};

std::vector<int> invoiceNumbers(TADODataSet &ds) {
  std::vector<int> numbers;
  for (ds.First(); !ds.Eof(); ds.Next())
    numbers.push_back(ds.FieldByName("InvoiceNo").AsInteger());
  return numbers;
}

TEST_F(QueryOperationsTest, LoadDataSetOpensTheDatasetOnTheHostsRows) {
  LoadDataSet(callbacks, ADODataSet1, "SELECT * FROM Invoices ORDER BY InvoiceNo;");
  EXPECT_TRUE(ADODataSet1.Active());
  EXPECT_EQ(ADODataSet1.RecNo(), 1);
  EXPECT_EQ(ADODataSet1.FieldByName("CloseBal").AsCurrency(), 12345678);
  EXPECT_EQ(ADODataSet1.FieldByName("CloseDate").AsInteger(), 39816);
  EXPECT_EQ(invoiceNumbers(ADODataSet1), (std::vector<int>{5001, 5002, 5003}));
  EXPECT_EQ(host->sqlLog(), QStringList{"SELECT * FROM Invoices ORDER BY InvoiceNo;"});
}

TEST_F(QueryOperationsTest, SecondLoadReplacesTheFirst) {
  LoadDataSet(callbacks, ADODataSet1, "SELECT * FROM Invoices;");
  ADODataSet1.Next();
  LoadDataSet(callbacks, ADODataSet1, "SELECT InvoiceNo FROM Invoices WHERE ParentID = 12;");
  EXPECT_EQ(ADODataSet1.FieldCount(), 1);
  EXPECT_EQ(ADODataSet1.RecNo(), 1);
  EXPECT_EQ(invoiceNumbers(ADODataSet1), std::vector<int>{5003});
}

TEST_F(QueryOperationsTest, ZeroRowsLeavesTheDatasetOpenAndEmpty) {
  LoadDataSet(callbacks, ADODataSet1, "SELECT * FROM Invoices WHERE InvoiceNo < 0;");
  EXPECT_TRUE(ADODataSet1.Active());
  EXPECT_TRUE(ADODataSet1.Eof());
  EXPECT_EQ(ADODataSet1.RecordCount(), 0);
  EXPECT_EQ(ADODataSet1.FieldCount(), 5);
}

TEST_F(QueryOperationsTest, SetSortReordersTheOpenDataset) {
  EXPECT_EQ(thrownMessage<EDatabaseError>([&] { SetSort(ADODataSet1, "CloseBal"); }),
            "Cannot perform this operation on a closed dataset");
  LoadDataSet(callbacks, ADODataSet1, "SELECT * FROM Invoices;");
  SetSort(ADODataSet1, "CloseBal DESC");
  EXPECT_EQ(invoiceNumbers(ADODataSet1), (std::vector<int>{5001, 5003, 5002}));
  SetSort(ADODataSet1, "closedate desc, InvoiceNo DESC");
  EXPECT_EQ(invoiceNumbers(ADODataSet1), (std::vector<int>{5003, 5002, 5001}));
  SetSort(ADODataSet1, nullptr);
  EXPECT_EQ(invoiceNumbers(ADODataSet1), (std::vector<int>{5001, 5002, 5003}));
  EXPECT_EQ(thrownMessage<EOleException>([&] { SetSort(ADODataSet1, "Bogus"); }),
            std::string(Ado::AdoError::ItemNotFound));
}

TEST_F(QueryOperationsTest, OpenQuerySendsTheTextAsCodePage1252) {
  Ado::Recordset rs = OpenQuery(callbacks, QString::fromUtf16(u"SELECT 'caf\u00e9 \u20ac' AS T;"));
  EXPECT_EQ(host->sqlLog().last(), QString::fromUtf16(u"SELECT 'caf\u00e9 \u20ac' AS T;"));
  EXPECT_EQ(rs.Fields("T").Value().toString(), QString::fromUtf16(u"caf\u00e9 \u20ac"));
  rs.Close();
}

TEST_F(QueryOperationsTest, HostFailuresPropagateAfterCleanup) {
  LoadDataSet(callbacks, ADODataSet1, "SELECT * FROM Invoices;");
  ADODataSet1.Next();
  EXPECT_NE(thrownMessage<Exception>([&] {
              OpenQuery(callbacks, "SELECT * FROM Nowhere");
            }).find("no such table"),
            std::string::npos);
  EXPECT_THROW(LoadDataSet(callbacks, ADODataSet1, "SELECT nonsense FROM"), Exception);
  EXPECT_EQ(ADODataSet1.RecNo(), 2);
  EXPECT_EQ(ADODataSet1.RecordCount(), 3);
}

TEST_F(QueryOperationsTest, EmptyCallbackSlotsAreReportedNotCalled) {
  const Intake::THostCallbacks none;
  const std::pair<std::function<void()>, const char *> cases[] = {
      {[&] { OpenQuery(none, "SELECT 1"); }, "OnGetDataPacket is not set"},
      {[&] { LoadDataSet(none, ADODataSet1, "SELECT 1"); }, "OnGetDataPacket is not set"},
      {[&] { LookupInvoiceMessage(none, 39816); }, "OnGetInvoiceMessage is not set"},
      {[&] { LookupInvoiceFundingKeys(none, 5001); }, "OnGetInvoiceFundingKeys is not set"},
  };
  for (const auto &[call, message] : cases)
    EXPECT_EQ(thrownMessage<Exception>(call), message);
}

TEST_F(QueryOperationsTest, LookupsCopyTheTextAndFreeTheBuffer) {
  EXPECT_EQ(LookupInvoiceMessage(callbacks, 39816), QByteArray("{\\rtf1 Happy New Year}"));
  EXPECT_EQ(LookupInvoiceMessage(callbacks, 39823), QByteArray());
  EXPECT_EQ(LookupInvoiceMessage(callbacks, 1), QByteArray());
  EXPECT_EQ(LookupInvoiceFundingKeys(callbacks, 5001), QByteArray("260,513"));
  EXPECT_EQ(LookupInvoiceFundingKeys(callbacks, 5002), QByteArray());
  EXPECT_EQ(host->counts().invoiceMessages, 3);
}

} // namespace
