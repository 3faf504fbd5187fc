#include "host/testhost/TestHost.h"

#include "TDInvoice/Exceptions.h"
#include "TDInvoice/InvHistList.h"
#include "TDInvoice/LocationTable.h"
#include "TDInvoice/SharedAllocator.h"
#include "TDInvoice/ShortStringList.h"
#include "tests/intake/ThrownMessage.h"
#include "tests/testhost/SampleData.h"

#include <gtest/gtest.h>

#include <memory>

using namespace TDInvoice;
using TDInvoice::Host::TestHost;
using TDInvoice::Testing::thrownMessage;

namespace {

class TestHostTest : public ::testing::Test {
protected:
  void SetUp() override {
    baseline = sharedBlockCount();
    host = std::make_unique<TestHost>();
    Testing::seedSampleData(*host);
  }
  void TearDown() override {
    host.reset();
    EXPECT_EQ(sharedBlockCount(), baseline);
  }
  std::int64_t baseline = 0;
  std::unique_ptr<TestHost> host;
};

struct LibraryQuery {
  const char *sql;
  std::vector<const char *> columns;
  std::size_t rows;
};

// The library's SQL texts exactly as it sends them, with their parameters filled in.
const LibraryQuery kLibraryQueries[] = {
    {"SELECT ServiceName, Address, Phone, ABN, BPAYBiller, BSB, AccountNo, DueWeek, DueDay, "
     "PaymentOptions, PaymentSlipOption, ServiceEmail\r\nFROM [User Details];",
     {"ServiceName", "Address", "Phone", "ABN", "BPAYBiller", "BSB", "AccountNo", "DueWeek",
      "DueDay", "PaymentOptions", "PaymentSlipOption", "ServiceEmail"},
     1},
    {"SELECT LocationID, CareType, CCBApprovalId FROM Funding;",
     {"LocationID", "CareType", "CCBApprovalId"},
     3},
    {"SELECT SessionTypes.SessTypeID, SessionTypes.AbbrevName\r\nFROM SessionTypes;",
     {"SessTypeID", "AbbrevName"},
     3},
    {"SELECT ChargeTypes.ChargeID, ChargeTypes.ChgDesc\r\nFROM ChargeTypes;",
     {"ChargeID", "ChgDesc"},
     2},
    {"SELECT Child.ChildID, Child.FirstName, Child.LastName, Child.Grade\r\nFROM Parents INNER "
     "JOIN Child ON Parents.DistribChild = Child.ChildID;",
     {"ChildID", "FirstName", "LastName", "Grade"},
     1},
    {"SELECT InvoiceDebitDates.DebitDate FROM InvoiceDebitDates\r\nWHERE "
     "((InvoiceDebitDates.CloseDate)=39816);",
     {"DebitDate"},
     1},
    {"SELECT Parents.FamilyName, Parents.AccountName, Parents.BPAYCustRef, Parents.MAddress1, "
     "Parents.MAddress2, Parents.DistribChild, Parents.UseDirectDebit, "
     "Parents.UseCreditCard\r\nFROM Parents\r\nWHERE ((Parents.ParentID)=10);",
     {"FamilyName", "AccountName", "BPAYCustRef", "MAddress1", "MAddress2", "DistribChild",
      "UseDirectDebit", "UseCreditCard"},
     1},
    {"SELECT InvoiceNote FROM InvoiceNotes\r\nWHERE ((InvoiceNotes.ParentID)=10);",
     {"InvoiceNote"},
     1},
    {"SELECT UnresolvedAttendances.AttRecNo\r\nFROM UnresolvedAttendances\r\nWHERE "
     "((UnresolvedAttendances.InvoiceNo)=5001);",
     {"AttRecNo"},
     2},
    {"SELECT Charges.SessionDate, Charges.SessTypeID, Charges.ChildID, Charges.ChargeID, "
     "Charges.Amount\r\nFROM BookingCharges INNER JOIN Charges ON (BookingCharges.AttRecNo = "
     "Charges.AttRecNo) AND (BookingCharges.ChildID = Charges.ChildID) AND "
     "(BookingCharges.SessTypeID = Charges.SessTypeID) AND (BookingCharges.SessionDate = "
     "Charges.SessionDate)\r\nWHERE (((BookingCharges.AttRecNo) In (7001, 7002)));",
     {"SessionDate", "SessTypeID", "ChildID", "ChargeID", "Amount"},
     3},
    {"SELECT AbsencesUsed.ChildID, AbsencesUsed.CumlAbsences\r\nFROM AbsencesUsed\r\nWHERE "
     "((AbsencesUsed.InvoiceNo)=5001);",
     {"ChildID", "CumlAbsences"},
     2},
};

TEST_F(TestHostTest, RunsEveryLibraryQueryVerbatim) {
  for (const LibraryQuery &q : kLibraryQueries) {
    const Ado::RecordsetData data = host->query(QString::fromLatin1(q.sql));
    ASSERT_EQ(data.fields.size(), q.columns.size()) << q.sql;
    for (std::size_t i = 0; i < q.columns.size(); ++i)
      EXPECT_EQ(data.fields[i].name, QString::fromLatin1(q.columns[i])) << q.sql;
    EXPECT_EQ(data.rows.size(), q.rows) << q.sql;
  }
}

TEST_F(TestHostTest, MapsDeclaredTypesAndConvertsStoredForms) {
  const Ado::RecordsetData data = host->query(
      "SELECT InvoiceNo, IssueDT, CloseBal, CloseDate, Parents.UseDirectDebit, "
      "Parents.AccountName, InvoiceNo * 2 AS Twice, 'x' || InvoiceNo AS Label, 1.5 AS Half, "
      "NULL AS NoValue FROM Invoices INNER JOIN Parents ON Invoices.ParentID = "
      "Parents.ParentID ORDER BY InvoiceNo");
  const Ado::DataTypeEnum types[] = {
      Ado::adInteger,  Ado::adDate,    Ado::adCurrency, Ado::adInteger, Ado::adBoolean,
      Ado::adVarWChar, Ado::adInteger, Ado::adVarWChar, Ado::adDouble,  Ado::adVarWChar};
  ASSERT_EQ(data.fields.size(), std::size(types));
  for (std::size_t i = 0; i < std::size(types); ++i)
    EXPECT_EQ(data.fields[i].type, types[i]) << data.fields[i].name.toStdString();
  EXPECT_EQ(data.fields[5].definedSize, 80);
  ASSERT_EQ(data.rows.size(), 3u);
  // ISO text and OLE numbers both become dates; REAL, INTEGER and text amounts currency.
  EXPECT_EQ(data.rows[0][1], Ado::Variant::fromDate(39818.0 + 9.5 / 24));
  EXPECT_EQ(data.rows[1][1], Ado::Variant::fromDate(39818.75));
  EXPECT_EQ(data.rows[0][2], Ado::Variant::fromCurrency(12345678));
  EXPECT_EQ(data.rows[1][2], Ado::Variant::fromCurrency(-150000));
  EXPECT_EQ(data.rows[2][2], Ado::Variant::fromCurrency(1));
  EXPECT_EQ(data.rows[0][4], Ado::Variant(true));
  EXPECT_EQ(data.rows[2][4], Ado::Variant(false));
  EXPECT_TRUE(data.rows[1][5].isNull());
  EXPECT_EQ(data.rows[2][5], Ado::Variant(QString()));
  EXPECT_EQ(data.rows[0][6], Ado::Variant(10002));
  EXPECT_EQ(data.rows[0][7], Ado::Variant("x5001"));
  EXPECT_TRUE(data.rows[0][9].isNull());
}

TEST_F(TestHostTest, WidensIntegersAndRejectsValuesItsTypeCannotHold) {
  host->execute("CREATE TABLE T (S SMALLINT, C CURRENCY, D DATETIME, B BOOLEAN);"
                "INSERT INTO T VALUES (70000, 1, 1, 1);");
  EXPECT_EQ(host->query("SELECT S FROM T").fields[0].type, Ado::adInteger);
  host->execute("UPDATE T SET S = 5000000000");
  EXPECT_EQ(host->query("SELECT S FROM T").fields[0].type, Ado::adBigInt);
  const std::pair<const char *, const char *> bad[] = {
      {"UPDATE T SET C = 'lots'", "C: 'lots' is not a currency value"},
      {"UPDATE T SET D = '5/01/2009'", "D: '5/01/2009' is not a date"},
      {"UPDATE T SET B = 'maybe'", "B: 'maybe' is not a boolean"},
      {"UPDATE T SET S = 'seven'", "S: 'seven' is not an integer"},
  };
  for (const auto &[update, message] : bad) {
    host->execute("DELETE FROM T; INSERT INTO T VALUES (1, 1, 1, 1);");
    host->execute(update);
    EXPECT_EQ(thrownMessage<Exception>([&] { host->query("SELECT * FROM T"); }), message);
  }
  EXPECT_NE(thrownMessage<Exception>([&] {
              host->query("SELECT * FROM Nowhere");
            }).find("no such table: Nowhere"),
            std::string::npos);
  EXPECT_EQ(thrownMessage<Exception>([&] { host->query("SELECT 1; SELECT 2;"); }),
            "SQLite: one statement expected, more text follows the first");
}

TEST_F(TestHostTest, AnswersTheLookupCallbacksFromItsTables) {
  const std::unique_ptr<TLocationTable> locations(TestHost::OnGetLocations());
  EXPECT_EQ(locations->Locations[0]->LocationID, 1);
  EXPECT_EQ(locations->Locations[0]->name(), "Ashfld");
  EXPECT_EQ(locations->Locations[1]->CareType, 1);
  EXPECT_EQ(locations->Locations[2], nullptr);

  const auto text = [](char *buffer) {
    const std::string copy = buffer ? buffer : "<none>";
    freeStringBuffer(buffer);
    return copy;
  };
  EXPECT_EQ(text(TestHost::OnGetInvoiceMessage(39816)), "{\\rtf1 Happy New Year}");
  EXPECT_EQ(text(TestHost::OnGetInvoiceMessage(39823)), "");
  EXPECT_EQ(text(TestHost::OnGetInvoiceMessage(1)), "<none>");
  EXPECT_EQ(text(TestHost::OnGetInvoiceFundingKeys(5001)), "260,513");
  EXPECT_EQ(text(TestHost::OnGetInvoiceFundingKeys(5002)), "<none>");

  const std::unique_ptr<TShortStringList> children(TestHost::OnGetFamilyChildren(10));
  ASSERT_EQ(children->Count(), 2);
  EXPECT_EQ(children->GetString(1), "Binh Nguyen");
  EXPECT_EQ(children->GetTag(1), 101);
  EXPECT_EQ(std::unique_ptr<TShortStringList>(TestHost::OnGetFamilyChildren(99))->Count(), 0);

  EXPECT_EQ(host->counts().locations, 1);
  EXPECT_EQ(host->counts().invoiceMessages, 3);
  EXPECT_EQ(host->counts().fundingKeys, 2);
  EXPECT_EQ(host->counts().familyChildren, 2);
}

TEST_F(TestHostTest, FillsHistoryItemsFieldByField) {
  TInvHistList list;
  TestHost::OnFillInvoiceHistory(5001, &list);
  ASSERT_EQ(list.Count(), 3);
  const TInvHistItem &forward = *list.Item(0);
  EXPECT_EQ(forward.Kind, kHistBalanceForward);
  EXPECT_EQ(forward.Stamp, 284040000);
  EXPECT_EQ(forward.EntryAmount, 1002500);
  EXPECT_EQ(forward.WeekEndDate, 39809);
  const TInvHistItem &charge = *list.Item(1);
  EXPECT_EQ(charge.Kind, kHistCharge);
  EXPECT_EQ(charge.ChildOrMethod, 100);
  EXPECT_EQ(charge.CareType, 4);
  EXPECT_EQ(charge.Sessions, 5);
  EXPECT_FLOAT_EQ(charge.CCBRate, 3.35f);
  EXPECT_FLOAT_EQ(charge.CCBPercent, 85.5f);
  EXPECT_FLOAT_EQ(charge.CCBAltPercent, 100.0f);
  EXPECT_FLOAT_EQ(charge.CCBHours, 50.0f);
  EXPECT_EQ(charge.FeeAmount, 3500000);
  EXPECT_FLOAT_EQ(charge.ChargedHours, 52.5f);
  EXPECT_EQ(charge.CCBAmount, 1425000);
  EXPECT_EQ(charge.JFAAmount, 0);
  EXPECT_EQ(charge.CCRAmount, 123456);
  EXPECT_EQ(charge.AbsencesPaid, 1);
  EXPECT_EQ(charge.CCBEntry, 1);
  EXPECT_EQ(charge.careTypeAbbrev(), "LDC");
  EXPECT_EQ(charge.enrolmentId(), "E1234567");
  EXPECT_EQ(list.Item(2)->entryText(), "Adjustment agreed with the director");
  TestHost::OnFillInvoiceHistory(5002, &list);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(host->counts().history, 2);
}

TEST_F(TestHostTest, SplitsPacketsIntoLinesOfTheChosenLength) {
  for (int length : {1, 76, 255}) {
    host->packetOptions().lineLength = length;
    const std::unique_ptr<TShortStringList> packet(
        TestHost::OnGetDataPacket("SELECT * FROM Invoices;"));
    ASSERT_GT(packet->Count(), 1);
    for (std::int32_t i = 0; i + 1 < packet->Count(); ++i)
      ASSERT_EQ(packet->GetString(i).size(), static_cast<std::size_t>(length));
    EXPECT_LE(packet->GetString(packet->Count() - 1).size(), static_cast<std::size_t>(length));
  }
  EXPECT_EQ(host->sqlLog(), QStringList(3, "SELECT * FROM Invoices;"));
  EXPECT_EQ(host->counts().dataPackets, 3);
}

TEST_F(TestHostTest, CallbacksAnswerFromTheCurrentHost) {
  auto other = std::make_unique<TestHost>();
  other->execute("INSERT INTO HostInvoiceMessages VALUES (1, 'from the other host')");
  EXPECT_EQ(TestHost::current(), other.get());
  const auto message = [] {
    char *buffer = TestHost::OnGetInvoiceMessage(1);
    const std::string text = buffer ? buffer : "<none>";
    freeStringBuffer(buffer);
    return text;
  };
  EXPECT_EQ(message(), "from the other host");
  host->makeCurrent();
  EXPECT_EQ(message(), "<none>");
  {
    // A new host answers from then on; once it is gone, none does until one is named.
    TestHost temporary;
    EXPECT_EQ(TestHost::current(), &temporary);
  }
  EXPECT_EQ(TestHost::current(), nullptr);
  EXPECT_EQ(thrownMessage<Exception>([] { TestHost::OnGetDataPacket("SELECT 1"); }),
            "No test host is current");
  EXPECT_EQ(thrownMessage<Exception>([] { TestHost::OnGetInvoiceMessage(1); }),
            "No test host is current");
  other->makeCurrent();
  host.reset();
  EXPECT_EQ(TestHost::current(), other.get());
  other.reset();
  EXPECT_EQ(TestHost::current(), nullptr);
}

} // namespace
