// Report preparation: the service's details on the letterhead and slip, the cash and cheque
// slots, the bank and biller fields, the lookup tables, the host queries and their order, a
// second run, hiding unused slots, the enrolment-ID order and the form's destruction.
#include "ProbeForm.h"

#include "TDInvoice/SharedAllocator.h"
#include "invoice/ChildEnrolID.h"
#include "invoice/layout/InvoiceStrings.h"

namespace TDInvoice::Testing {
namespace {

using namespace InvoiceStrings;

class ReportPreparationTest : public ::testing::Test {
protected:
  ReportPreparationTest() { db.setService(); }

  // The first label caption of every payment slot that is still enabled.
  QStringList shownSlots(TProbeForm &form) {
    QStringList shown;
    for (const char *slot : {"lblCash", "lblCheq", "lblEFT", "lblCard"})
      if (form.enabled(slot))
        shown << form.caption(slot);
    return shown;
  }

  TInvoiceDatabase db;
};

TEST_F(ReportPreparationTest, PaymentOptionsFillTheCashAndChequeSlots) {
  struct TCase {
    int options;
    int slotsUsed;
    QStringList shown; // after HideUnusedPaySlots
  } cases[] = {
      {0, 0, {}},
      {1, 1, {"Cash"}},
      {2, 1, {"Cheque"}},
      {3, 2, {"Cash", "Cheque"}},
      {259, 2, {"Cash", "Cheque"}},  // only the low 8 bits count
      {4, 0, {}},                    // further methods belong to the variants
      {-253, 2, {"Cash", "Cheque"}}, // 0x...03 in its low byte
  };
  for (const TCase &c : cases) {
    TServiceRow service;
    service.PaymentOptions = c.options;
    db.setService(service);
    auto form = makeProbeForm();
    form->prepare();
    EXPECT_EQ(form->FPaySlotsUsed, c.slotsUsed) << c.options;
    EXPECT_EQ(form->FPaymentOptions, static_cast<std::uint8_t>(c.options & 0xFF));
    form->HideUnusedPaySlots();
    EXPECT_EQ(shownSlots(*form), c.shown) << c.options;
    const char *boxes[] = {"chkCash", "chkCheq", "chkEFT", "chkCard"};
    for (int slot = 1; slot <= 4; ++slot)
      EXPECT_EQ(form->enabled(boxes[slot - 1]), slot <= c.slotsUsed) << c.options << " " << slot;
  }
}

TEST_F(ReportPreparationTest, HideUnusedPaySlotsKeepsTheSlotsTaken) {
  auto form = makeProbeForm();
  form->prepare();
  const char *labels[] = {"lblCash", "lblCheq", "lblEFT", "lblCard"};
  const char *boxes[] = {"chkCash", "chkCheq", "chkEFT", "chkCard"};
  for (int used = 0; used <= 4; ++used) {
    for (int slot = 0; slot < 4; ++slot) {
      form->printable(labels[slot]).setEnabled(true);
      form->printable(boxes[slot]).setEnabled(true);
    }
    form->FPaySlotsUsed = used;
    form->HideUnusedPaySlots();
    for (int slot = 1; slot <= 4; ++slot) {
      EXPECT_EQ(form->enabled(labels[slot - 1]), slot <= used) << used << " " << slot;
      EXPECT_EQ(form->enabled(boxes[slot - 1]), slot <= used) << used << " " << slot;
    }
  }
}

TEST_F(ReportPreparationTest, ABNPrintsInGroupsOfTwoThreeThreeAndThree) {
  struct TCase {
    std::optional<QString> abn;
    std::optional<QString> caption; // none: the label is disabled
  } cases[] = {
      {"53004085616", "ABN: 53 004 085 616"},
      {"1234", "ABN: 12 34  "},
      {"", "ABN:    "},
      {"1", "ABN: 1   "},
      {"123456789012", "ABN: 12 345 678 9012"},
      {std::nullopt, std::nullopt},
  };
  for (const TCase &c : cases) {
    TServiceRow service;
    service.ABN = c.abn;
    db.setService(service);
    auto form = makeProbeForm();
    form->prepare();
    EXPECT_EQ(form->enabled("lblABN"), c.caption.has_value());
    if (c.caption) {
      EXPECT_EQ(form->caption("lblABN"), *c.caption);
    }
  }
}

TEST_F(ReportPreparationTest, ServiceDetailsAreCaptionsOrHiddenWhenNull) {
  struct TCase {
    const char *label;
    std::optional<QString> TServiceRow::*field;
  } cases[] = {
      {"lblAddress", &TServiceRow::Address},
      {"lblPhone", &TServiceRow::Phone},
      {"lblEmail", &TServiceRow::ServiceEmail},
  };
  for (const TCase &c : cases) {
    TServiceRow present;
    db.setService(present);
    auto shown = makeProbeForm();
    shown->prepare();
    EXPECT_TRUE(shown->enabled(c.label));
    EXPECT_EQ(shown->caption(c.label), *(present.*c.field));
    TServiceRow missing;
    missing.*c.field = std::nullopt;
    db.setService(missing);
    auto hidden = makeProbeForm();
    hidden->prepare();
    EXPECT_FALSE(hidden->enabled(c.label)) << c.label;
    EXPECT_TRUE(hidden->enabled("lblServiceName"));
  }
  auto form = makeProbeForm();
  form->prepare();
  EXPECT_EQ(form->caption("lblServiceName"), *TServiceRow().ServiceName);
  EXPECT_EQ(form->caption("lblPaymtSlipServiceName"), *TServiceRow().ServiceName);
}

TEST_F(ReportPreparationTest, BankAccountNeedsBothBSBAndAccountNumber) {
  struct TCase {
    std::optional<QString> bsb, accountNo;
    QString expectedBSB, expectedAccountNo;
  } cases[] = {
      {"062-000", "1234 5678", "062-000", "1234 5678"},
      {"062-000", std::nullopt, "", ""},
      {std::nullopt, "1234 5678", "", ""},
      {std::nullopt, std::nullopt, "", ""},
      {"", "", "", ""},
  };
  for (const TCase &c : cases) {
    TServiceRow service;
    service.BSB = c.bsb;
    service.AccountNo = c.accountNo;
    service.BPAYBiller = c.bsb ? std::optional<QString>("99887") : std::nullopt;
    db.setService(service);
    auto form = makeProbeForm();
    form->prepare();
    EXPECT_EQ(form->FBSB, c.expectedBSB);
    EXPECT_EQ(form->FAccountNo, c.expectedAccountNo);
    EXPECT_EQ(form->FBPAYBiller, c.bsb ? QStringLiteral("99887") : QString());
  }
}

TEST_F(ReportPreparationTest, EachRunTakesTheBankAndBillerDetailsAfresh) {
  TServiceRow banked;
  banked.BSB = "062-000";
  banked.AccountNo = "1234 5678";
  banked.BPAYBiller = "99887";
  db.setService(banked);
  auto form = makeProbeForm();
  form->prepare();
  ASSERT_EQ(form->FBSB, QStringLiteral("062-000"));
  db.setService(); // the service has since removed its bank and biller details
  form->prepare();
  EXPECT_EQ(form->FBSB, QString());
  EXPECT_EQ(form->FAccountNo, QString());
  EXPECT_EQ(form->FBPAYBiller, QString());
}

TEST_F(ReportPreparationTest, PaymentTermsKeepTheirLowByte) {
  TServiceRow service;
  service.DueWeek = 2;
  service.DueDay = 256 + 6;
  db.setService(service);
  auto form = makeProbeForm();
  form->prepare();
  EXPECT_EQ(form->FDueWeek, 2);
  EXPECT_EQ(form->FDueDay, 6);
}

TEST_F(ReportPreparationTest, ConversionsWithoutANullTestFail) {
  std::optional<int> TServiceRow::*const numbers[] = {&TServiceRow::PaymentOptions,
                                                      &TServiceRow::DueWeek, &TServiceRow::DueDay};
  for (auto field : numbers) {
    TServiceRow service;
    service.*field = std::nullopt;
    db.setService(service);
    auto form = makeProbeForm();
    EXPECT_THROW(form->prepare(), EVariantError);
  }
  TServiceRow noName;
  noName.ServiceName = std::nullopt;
  db.setService(noName);
  auto form = makeProbeForm();
  EXPECT_THROW(form->prepare(), EVariantError);
}

TEST_F(ReportPreparationTest, NoServiceRowFailsAtTheFirstField) {
  db.host().execute(QStringLiteral("DELETE FROM [User Details]"));
  auto form = makeProbeForm();
  EXPECT_THROW(form->prepare(), Exception);
  EXPECT_EQ(db.host().counts().locations, 0);
}

// Remembers how many queries the host had answered when it was asked for its locations.
int gQueriesBeforeLocations = -1;
TLocationTable *locationsAfterQueries() {
  gQueriesBeforeLocations = static_cast<int>(Host::TestHost::current()->sqlLog().size());
  return Host::TestHost::OnGetLocations();
}

TEST_F(ReportPreparationTest, FiveQueriesInOrderWithTheLocationsAfterTheFirst) {
  auto form = makeProbeForm();
  form->setOnGetLocations(&locationsAfterQueries);
  gQueriesBeforeLocations = -1;
  form->prepare();
  const QStringList expected = {
      QString::fromLatin1(SQL_ServiceDetails), QString::fromLatin1(SQL_FundingApprovals),
      QString::fromLatin1(SQL_SessionTypes), QString::fromLatin1(SQL_ChargeTypes),
      QString::fromLatin1(SQL_DistribChildren)};
  EXPECT_EQ(db.host().sqlLog(), expected);
  EXPECT_EQ(gQueriesBeforeLocations, 1);
  EXPECT_EQ(db.host().counts().locations, 1);
  EXPECT_NE(form->FLocations, nullptr);
}

TEST_F(ReportPreparationTest, FundingRowsGiveApprovalIDsAndTheRegisteredCareFlag) {
  struct TFunding {
    int location, careType;
    std::optional<QString> approval;
  };
  struct TCase {
    std::vector<TFunding> rows;
    bool registeredCareOnly;
    std::vector<std::pair<std::string, std::int32_t>> items;
  } cases[] = {
      {{}, true, {}},
      {{{1, 0, "REG-1"}}, true, {{"REG-1", 256}}},
      {{{1, 4, std::nullopt}}, false, {}},
      {{{2, 4, "LDC-22"}, {3, 1, "ASC-31"}, {1, 0, std::nullopt}},
       false,
       {{"LDC-22", 2 * 256 + 4}, {"ASC-31", 3 * 256 + 1}}},
  };
  for (const TCase &c : cases) {
    db.host().execute(QStringLiteral("DELETE FROM Funding"));
    for (const TFunding &row : c.rows)
      db.addFunding(row.location, row.careType, row.approval);
    auto form = makeProbeForm();
    form->prepare();
    EXPECT_EQ(form->FRegisteredCareOnly, c.registeredCareOnly);
    ASSERT_EQ(form->FApprovalIDs->Count(), static_cast<std::int32_t>(c.items.size()));
    for (std::size_t i = 0; i < c.items.size(); ++i) {
      EXPECT_EQ(form->FApprovalIDs->GetString(static_cast<int>(i)), c.items[i].first);
      EXPECT_EQ(form->FApprovalIDs->GetTag(static_cast<int>(i)), c.items[i].second);
    }
  }
}

TEST_F(ReportPreparationTest, LookupTablesHoldTheirRowsInArrivalOrder) {
  db.addSessionType(7, "AM");
  db.addSessionType(3, "PM");
  db.addChargeType(20, "Excursion to the zoo on Friday"); // 30 characters
  db.addChargeType(21, "Late fee");
  db.addParent({.ParentID = 1, .DistribChild = 11});
  db.addParent({.ParentID = 2, .DistribChild = 12});
  db.addChild(11, 1, "Amy", "Lee", "Kindy");
  db.addChild(12, 2, "Ben", "Ray");
  auto form = makeProbeForm();
  form->prepare();
  ASSERT_EQ(form->FSessionTypes->Count(), 2);
  EXPECT_EQ(form->FSessionTypes->FindByTag(7), "AM");
  EXPECT_EQ(form->FSessionTypes->FindByTag(3), "PM");
  EXPECT_EQ(form->FChargeTypes->FindByTag(20), std::string("Excursion to the zoo on Friday", 20));
  EXPECT_EQ(form->FChargeTypes->FindByTag(21), "Late fee");
  EXPECT_EQ(form->FDistribChildren->FindByTag(11), "Amy Lee (Class: Kindy)");
  EXPECT_EQ(form->FDistribChildren->FindByTag(12), "Ben Ray");
  EXPECT_TRUE(form->FEstFeesRows && form->FEstFeesRows->Count() == 0);
  EXPECT_TRUE(form->FWeekFeeTotals && form->FWeekFeeTotals->Count() == 0);
  EXPECT_TRUE(form->FInvHist && form->FInvHist->Count() == 0);
  EXPECT_TRUE(form->FAcctHistRows && form->FAcctHistRows->unique());
}

TEST_F(ReportPreparationTest, SecondRunStartsFromFreshListsAndOneLocationsTable) {
  db.addLocation(1, "Main", 4);
  db.addSessionType(1, "AM");
  auto form = makeProbeForm();
  form->prepare();
  const std::int64_t afterFirst = sharedBlockCount();
  form->prepare();
  EXPECT_EQ(sharedBlockCount(), afterFirst) << "the first run's lists and table were freed";
  EXPECT_EQ(db.host().counts().locations, 2);
  EXPECT_EQ(form->FSessionTypes->Count(), 1);
  db.addSessionType(2, "PM");
  form->prepare();
  EXPECT_EQ(form->FSessionTypes->Count(), 2);
}

TEST_F(ReportPreparationTest, FormDestructionFreesEverythingTheRunsMade) {
  db.addLocation(1, "Main", 4);
  db.addFunding(1, 4, "LDC-1");
  db.addPlainInvoice(1001, 1);
  db.addChild(11, 1, "Amy", "Lee");
  db.addHistory(1001, {.Kind = kHistText, .EntryAmount = cents(100), .EntryText = "Late pick-up"});
  const std::int64_t baseline = sharedBlockCount();
  {
    auto form = makeProbeForm();
    form->startFirstInvoice();
    EXPECT_GT(sharedBlockCount(), baseline);
  }
  EXPECT_EQ(sharedBlockCount(), baseline);
}

TEST_F(ReportPreparationTest, EnrolmentRowsOrderByNameCareTypeThenID) {
  auto form = makeProbeForm();
  struct TRow {
    const char *name, *careType, *id;
  };
  struct TCase {
    TRow a, b;
    int expected;
  };
  const TCase cases[] = {
      {{"Amy", "LDC", "E1"}, {"Ben", "LDC", "E1"}, -1},
      {{"Ben", "ASC", "E1"}, {"Amy", "LDC", "E1"}, 1},
      {{"Amy", "ASC", "E9"}, {"Amy", "LDC", "E1"}, -1},
      {{"Amy", "LDC", "E2"}, {"Amy", "LDC", "E10"}, 1}, // byte order, not numeric
      {{"Amy", "LDC", "E1"}, {"Amy", "LDC", "E1"}, 0},
      {{"Am", "LDC", "E1"}, {"Amy", "ASC", "E1"}, -1},      // the shorter name first
      {{"amy", "LDC", "E1"}, {"Amy", "LDC", "E1"}, 1},      // case-sensitive
      {{"\xe9mile", "LDC", "E1"}, {"zoe", "LDC", "E1"}, 1}, // bytes compare unsigned
  };
  for (const TCase &c : cases) {
    TChildEnrolID a(c.a.name, c.a.careType, c.a.id);
    TChildEnrolID b(c.b.name, c.b.careType, c.b.id);
    EXPECT_EQ(form->CompareAcctHistRows(&a, &b), c.expected) << c.a.name << "/" << c.b.name;
    EXPECT_EQ(form->CompareAcctHistRows(&b, &a), -c.expected);
  }
}

} // namespace
} // namespace TDInvoice::Testing
