// The invoice header and address block: number and issue date, the per-close-date caches,
// the funding approval lines, the account, the children and the note, and the choices made
// for rows the host should not send.
#include "ProbeForm.h"

#include "invoice/InvoiceFormats.h"
#include "invoice/layout/InvoiceStrings.h"

namespace TDInvoice::Testing {
namespace {

using namespace InvoiceStrings;

class InvoiceHeaderTest : public ::testing::Test {
protected:
  InvoiceHeaderTest() { db.setService(); }

  int debitDateQueries() const {
    return static_cast<int>(db.host().sqlLog().filter(QStringLiteral("InvoiceDebitDates")).size());
  }

  TInvoiceDatabase db;
};

TEST_F(InvoiceHeaderTest, NumberAndIssueDate) {
  db.addParent();
  db.addInvoice({.InvoiceNo = 4711,
                 .IssueDT = "2009-01-05 16:45",
                 .CloseBal = cents(-2550),
                 .CloseDate = dayNumber(2009, 1, 4)});
  auto form = makeProbeForm();
  form->startFirstInvoice();
  EXPECT_EQ(form->caption("lblInvoiceNo"), QStringLiteral("4711"));
  EXPECT_EQ(form->caption("lblIssueDate"), QStringLiteral("Issue Date: 5-Jan-09"));
  EXPECT_DOUBLE_EQ(form->FIssueDate, dayNumber(2009, 1, 5) + (16 * 60 + 45) / 1440.0);
  EXPECT_EQ(form->FCloseBal, cents(-2550));
  EXPECT_EQ(form->FCloseDate, dayNumber(2009, 1, 4));
}

TEST_F(InvoiceHeaderTest, InvoiceWithoutIssueDatePrintsNone) {
  db.addParent();
  db.addInvoice({.IssueDT = std::nullopt});
  auto form = makeProbeForm();
  form->startFirstInvoice();
  EXPECT_EQ(form->caption("lblIssueDate"), QString::fromLatin1(CAP_IssueDatePrefix));
  EXPECT_EQ(form->FIssueDate, 0);
}

TEST_F(InvoiceHeaderTest, OneCloseDateMakesOneMessageRequestAndOneDebitDateQuery) {
  const int close = dayNumber(2009, 1, 4);
  const int nextClose = dayNumber(2009, 1, 11);
  db.addMessage(close, "{\\rtf1 Happy new year}");
  db.addDebitDate(close, dayNumber(2009, 1, 20));
  for (int n = 1; n <= 3; ++n)
    db.addPlainInvoice(1000 + n, n, 0, close);
  db.addPlainInvoice(1004, 4, 0, nextClose);
  TInvoiceReportRun run;
  run.load();
  run.run();
  EXPECT_EQ(db.host().counts().invoiceMessages, 2); // one per close date
  EXPECT_EQ(debitDateQueries(), 2);
  EXPECT_EQ(run.pages().size(), 4u);
  // The caches hold the last close date only: a second run starts on another one.
  run.run();
  EXPECT_EQ(db.host().counts().invoiceMessages, 4);
  EXPECT_EQ(debitDateQueries(), 4);
}

TEST_F(InvoiceHeaderTest, CachesOutliveARunOfTheSameCloseDate) {
  const int close = dayNumber(2009, 1, 4);
  db.addMessage(close, "{\\rtf1 Happy new year}");
  db.addPlainInvoice(1001, 1, 0, close);
  db.addPlainInvoice(1002, 2, 0, close);
  TInvoiceReportRun run;
  run.load();
  run.run();
  run.run();
  EXPECT_EQ(db.host().counts().invoiceMessages, 1);
  EXPECT_EQ(debitDateQueries(), 1);
  EXPECT_EQ(run.pagesWithText(QStringLiteral("Happy new year")), (std::vector<int>{1, 2}));
}

TEST_F(InvoiceHeaderTest, CloseDateZeroNeverAsksTheHost) {
  db.addPlainInvoice(1001, 1, 0, 0);
  TInvoiceReportRun run;
  run.load();
  run.run();
  EXPECT_EQ(db.host().counts().invoiceMessages, 0);
  EXPECT_EQ(debitDateQueries(), 0);
}

TEST_F(InvoiceHeaderTest, DebitDateIsTheWholeDayOfTheFirstRow) {
  const int close = dayNumber(2009, 1, 4);
  db.addPlainInvoice(1001, 1, 0, close);
  db.host().execute(QStringLiteral("INSERT INTO InvoiceDebitDates VALUES (%1, %2)")
                        .arg(close)
                        .arg(dayNumber(2009, 1, 20) + 0.75, 0, 'f', 4));
  auto form = makeProbeForm();
  form->startFirstInvoice();
  EXPECT_EQ(form->FDebitDate, dayNumber(2009, 1, 20));
  db.host().execute(QStringLiteral("DELETE FROM InvoiceDebitDates"));
  auto other = makeProbeForm();
  other->startFirstInvoice();
  EXPECT_EQ(other->FDebitDate, 0);
}

TEST_F(InvoiceHeaderTest, ApprovalLinesFollowTheFundingKeysReceived) {
  struct TKey {
    int location, careType;
  };
  struct TCase {
    std::vector<std::pair<int, QString>> locations; // LocationID, name
    std::vector<TKey> keys;
    std::optional<QString> caption; // none: both labels hidden
    QString ids;
  } cases[] = {
      {{{1, "Main"}}, {{1, 4}}, "Approval ID:", "LDC: LDC-1"},
      {{{1, "Main"}, {2, "Annex"}}, {{1, 4}}, "Approval ID:", "Main - LDC: LDC-1"},
      {{{1, "Main"}, {2, "Annex"}},
       {{2, 1}, {1, 4}},
       "Approval IDs:",
       "Annex - ASC: ASC-2, Main - LDC: LDC-1"},
      {{{1, "Main"}}, {{1, 2}}, std::nullopt, ""}, // no approval ID for that key
      {{{1, "Main"}}, {}, std::nullopt, ""},
      // A key whose location the table lacks is labelled by its care type alone.
      {{{1, "Main"}, {2, "Annex"}}, {{3, 4}}, "Approval ID:", "LDC: LDC-3"},
      // The same key twice gives the line twice.
      {{{1, "Main"}}, {{1, 4}, {1, 4}}, "Approval IDs:", "LDC: LDC-1, LDC: LDC-1"},
  };
  for (const TCase &c : cases) {
    TInvoiceDatabase local;
    local.setService();
    local.addFunding(1, 4, "LDC-1");
    local.addFunding(2, 1, "ASC-2");
    local.addFunding(3, 4, "LDC-3");
    local.addFunding(1, 2, std::nullopt);
    for (const auto &[id, name] : c.locations)
      local.addLocation(id, name, 4);
    local.addPlainInvoice(1001, 1);
    for (const TKey &key : c.keys)
      local.addFundingKey(1001, key.location, key.careType);
    auto form = makeProbeForm();
    form->startFirstInvoice();
    EXPECT_EQ(form->enabled("lblApprovalIDsLabel"), c.caption.has_value()) << c.ids.toStdString();
    EXPECT_EQ(form->enabled("lblApprovalIDs"), c.caption.has_value());
    if (c.caption) {
      EXPECT_EQ(form->caption("lblApprovalIDsLabel"), *c.caption);
      EXPECT_EQ(form->caption("lblApprovalIDs"), c.ids);
    }
  }
}

TEST_F(InvoiceHeaderTest, ApprovalLabelsShowAgainForTheNextInvoiceWithLines) {
  db.addFunding(1, 4, "LDC-1");
  db.addPlainInvoice(1001, 1);
  db.addPlainInvoice(1002, 2);
  db.addFundingKey(1002, 1, 4);
  TInvoiceReportRun run;
  run.load();
  run.run();
  EXPECT_TRUE(run.pagesWithText(QStringLiteral("Approval ID:")) == std::vector<int>{2});
  EXPECT_TRUE(run.pagesWithText(QStringLiteral("LDC: LDC-1")) == std::vector<int>{2});
}

TEST_F(InvoiceHeaderTest, AccountNameAddressAndDistributionChild) {
  struct TCase {
    TParentRow parent;
    QString accountLabel, address1, address2;
    std::optional<QString> distribChild; // none: hidden
  } cases[] = {
      {{.AccountName = "Lan Nguyen", .DistribChild = 11},
       "Lan Nguyen",
       "4 Banksia Avenue",
       "Ashfield NSW 2131",
       "Amy Lee (Class: Kindy)"},
      {{.AccountName = std::nullopt, .MAddress1 = std::nullopt, .DistribChild = 0},
       "Nguyen",
       "",
       "Ashfield NSW 2131",
       std::nullopt},
      {{.AccountName = "", .MAddress2 = std::nullopt, .DistribChild = std::nullopt},
       "Nguyen",
       "4 Banksia Avenue",
       "",
       std::nullopt},
      {{.DistribChild = 99}, "Lan Nguyen", "4 Banksia Avenue", "Ashfield NSW 2131", ""},
  };
  for (const TCase &c : cases) {
    TInvoiceDatabase local;
    local.setService();
    local.addParent(c.parent);
    local.addChild(11, 1, "Amy", "Lee", "Kindy");
    local.addInvoice();
    auto form = makeProbeForm();
    form->startFirstInvoice();
    EXPECT_EQ(form->caption("lblAccountName"), c.accountLabel);
    EXPECT_EQ(form->caption("lblHAddress1"), c.address1);
    EXPECT_EQ(form->caption("lblHAddress2"), c.address2);
    EXPECT_EQ(form->enabled("lblDistribChild"), c.distribChild.has_value());
    if (c.distribChild) {
      EXPECT_EQ(form->caption("lblDistribChild"), *c.distribChild);
    }
  }
}

TEST_F(InvoiceHeaderTest, PaymentFlagsAndReferenceOfTheAccount) {
  struct TCase {
    std::optional<bool> directDebit, creditCard;
    std::optional<QString> reference;
    bool expectedDirectDebit, expectedCreditCard;
    QString expectedReference;
  } cases[] = {
      {true, false, "100017", true, false, "100017"},
      {false, true, std::nullopt, false, true, ""},
      // Flags the data model requires are read as false when null.
      {std::nullopt, std::nullopt, "7", false, false, "7"},
  };
  for (const TCase &c : cases) {
    TInvoiceDatabase local;
    local.setService();
    local.addParent({.BPAYCustRef = c.reference,
                     .UseDirectDebit = c.directDebit,
                     .UseCreditCard = c.creditCard});
    local.addInvoice();
    auto form = makeProbeForm();
    form->startFirstInvoice();
    EXPECT_EQ(form->FUseDirectDebit, c.expectedDirectDebit);
    EXPECT_EQ(form->FUseCreditCard, c.expectedCreditCard);
    EXPECT_EQ(form->FBPAYCustRef, c.expectedReference);
  }
}

TEST_F(InvoiceHeaderTest, InvoiceWithoutParentsRowPrintsWithAnEmptyAddressBlock) {
  db.addInvoice({.InvoiceNo = 1001, .ParentID = 77});
  db.addPlainInvoice(1002, 2);
  TInvoiceReportRun run;
  run.load();
  run.run();
  ASSERT_EQ(run.pages().size(), 2u);
  EXPECT_EQ(run.bandsOnPage(1), (QStringList{"grphdrInvoice", "DetailBand1", "InvoiceFooter"}));
  EXPECT_TRUE(run.pagesWithText(QStringLiteral("Lan Nguyen")) == std::vector<int>{2});
  EXPECT_TRUE(run.pagesWithText(QStringLiteral(": ")) == std::vector<int>{1});
  EXPECT_TRUE(run.pagesWithText(QStringLiteral("1001")) == std::vector<int>{1});
}

TEST_F(InvoiceHeaderTest, ChildrenComeFromTheHostForEveryInvoice) {
  db.addPlainInvoice(1001, 1);
  db.addPlainInvoice(1002, 2);
  db.addChild(11, 1, "Amy", "Lee");
  db.addChild(12, 1, "Max", "Lee");
  auto form = makeProbeForm();
  form->startFirstInvoice();
  ASSERT_NE(form->FFamilyChildren, nullptr);
  EXPECT_EQ(form->FFamilyChildren->Count(), 2);
  EXPECT_EQ(form->FFamilyChildren->FindByTag(12), "Max Lee");
  const std::int64_t withTwo = sharedBlockCount();
  form->nextInvoice();
  form->startInvoice();
  EXPECT_EQ(form->FFamilyChildren->Count(), 0);
  EXPECT_LT(sharedBlockCount(), withTwo) << "the previous children list was destroyed";
  EXPECT_EQ(db.host().counts().familyChildren, 2);
}

TEST_F(InvoiceHeaderTest, FamilyWithoutChildrenGetsNoEstimatedFees) {
  db.addPlainInvoice(1001, 1);
  db.addPendingAttendance(1001, 5);
  db.addCharge(5, 11, 1, dayNumber(2009, 1, 6), 1, cents(4550));
  auto form = makeProbeForm();
  form->startFirstInvoice();
  EXPECT_EQ(form->FWeekCount, 0);
  EXPECT_TRUE(db.host().sqlLog().filter(QStringLiteral("UnresolvedAttendances")).isEmpty());
}

TEST_F(InvoiceHeaderTest, CustomerNoteOrNone) {
  struct TCase {
    bool row;
    std::optional<QString> note;
    QString expected;
  } cases[] = {
      {true, "Please label hats", "Please label hats"},
      {false, std::nullopt, ""},
      {true, std::nullopt, ""}, // a null note counts as none
  };
  for (const TCase &c : cases) {
    TInvoiceDatabase local;
    local.setService();
    local.addPlainInvoice(1001, 1);
    if (c.row)
      local.addNote(1, c.note);
    auto form = makeProbeForm();
    form->startFirstInvoice();
    EXPECT_EQ(form->FInvoiceNote, c.expected);
  }
}

} // namespace
} // namespace TDInvoice::Testing
