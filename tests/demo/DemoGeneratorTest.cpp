// The generated demo data: its shape for any number of families, its inner consistency, its
// determinism, and that the SQL shipped with the program is the generator's default output.
#include "DemoTestSupport.h"

#include "host/demo/DemoDatabase.h"
#include "host/demo/DemoService.h"

#include <QRegularExpression>

namespace TDInvoice::Testing {
namespace {

using Demo::generateDemoSql;

TEST(DemoShape, TablesScaleWithTheNumberOfFamilies) {
  for (const int families : {1, 7, 25, 60}) {
    SCOPED_TRACE(families);
    const auto host = demoHost(families);
    // The service's own tables do not grow with the families.
    EXPECT_EQ(rowCount(*host, "[User Details]"), 1);
    EXPECT_EQ(rowCount(*host, "HostLocations"), 2);
    EXPECT_EQ(rowCount(*host, "Funding"), 4);
    EXPECT_EQ(rowCount(*host, "SessionTypes"), 6);
    EXPECT_EQ(rowCount(*host, "ChargeTypes"), 5);
    EXPECT_EQ(rowCount(*host, "HostInvoiceMessages"), 1);
    EXPECT_EQ(rowCount(*host, "InvoiceDebitDates"), 1);
    // One account and one invoice per family, one to three children each.
    EXPECT_EQ(rowCount(*host, "Parents"), families);
    EXPECT_EQ(rowCount(*host, "Invoices"), families);
    EXPECT_GE(rowCount(*host, "Child"), families);
    EXPECT_LE(rowCount(*host, "Child"), 3 * families);
    EXPECT_EQ(scalar(*host, "SELECT COUNT(DISTINCT ParentID) FROM Child"), families);
    // Every invoice has history, funding keys; only leaving families have nothing pending.
    EXPECT_EQ(scalar(*host, "SELECT COUNT(DISTINCT InvoiceNo) FROM HostHistory"), families);
    EXPECT_EQ(scalar(*host, "SELECT COUNT(DISTINCT InvoiceNo) FROM HostFundingKeys"), families);
    const std::int64_t leaving = (families + 8) / 20; // index % 20 == 11
    EXPECT_EQ(scalar(*host, "SELECT COUNT(DISTINCT InvoiceNo) FROM UnresolvedAttendances"),
              families - leaving);
    // Six weekly lines at most per child and care type.
    EXPECT_LE(scalar(*host, "SELECT MAX(n) FROM (SELECT COUNT(*) AS n FROM HostHistory "
                            "WHERE Kind = 2 AND CCBEntry = 1 "
                            "GROUP BY InvoiceNo, ChildOrMethod, CareType)"),
              Demo::TDemoCalendar::HistoryWeeks);
  }
}

// The demo database of 25 families shows every kind of line and case the invoices print.
TEST(DemoShape, DefaultSizeCoversEveryCase) {
  const auto host = demoHost(Demo::kDefaultDemoFamilies);
  struct TCase {
    const char *what;
    const char *countSql;
  };
  const TCase cases[] = {
      {"balance brought forward", "SELECT COUNT(*) FROM HostHistory WHERE Kind = 1"},
      {"credit brought forward",
       "SELECT COUNT(*) FROM HostHistory WHERE Kind = 1 AND EntryAmount < 0"},
      {"weekly charge lines", "SELECT COUNT(*) FROM HostHistory WHERE Kind = 2"},
      {"CCB on a line", "SELECT COUNT(*) FROM HostHistory WHERE Kind = 2 AND CCBAmount > 0"},
      {"JFA on a line", "SELECT COUNT(*) FROM HostHistory WHERE Kind = 2 AND JFAAmount > 0"},
      {"CCR on a line", "SELECT COUNT(*) FROM HostHistory WHERE Kind = 2 AND CCRAmount > 0"},
      {"CCB reversal", "SELECT COUNT(*) FROM HostHistory WHERE Kind = 2 AND CCBEntry = 2"},
      {"CCB adjustment", "SELECT COUNT(*) FROM HostHistory WHERE Kind = 2 AND CCBEntry = 3"},
      {"line without enrolment",
       "SELECT COUNT(*) FROM HostHistory WHERE Kind = 2 AND EnrolmentId = ''"},
      {"lines posted together", "SELECT COUNT(*) FROM (SELECT 1 FROM HostHistory WHERE Kind = 2 "
                                "GROUP BY InvoiceNo, Stamp HAVING COUNT(*) > 1)"},
      {"free-text entry", "SELECT COUNT(*) FROM HostHistory WHERE Kind = 4"},
      {"deposit paid", "SELECT COUNT(*) FROM HostHistory WHERE Kind = 5"},
      {"deposit released", "SELECT COUNT(*) FROM HostHistory WHERE Kind = 6"},
      {"payment methods",
       "SELECT COUNT(DISTINCT ChildOrMethod) - 2 FROM HostHistory WHERE Kind = 3"},
      {"invoice in credit", "SELECT COUNT(*) FROM Invoices WHERE CloseBal < 0"},
      {"invoice owing", "SELECT COUNT(*) FROM Invoices WHERE CloseBal > 0"},
      {"Saturday booking",
       "SELECT COUNT(*) FROM BookingCharges WHERE strftime('%w', SessionDate) = '6'"},
      {"Sunday booking",
       "SELECT COUNT(*) FROM BookingCharges WHERE strftime('%w', SessionDate) = '0'"},
      {"two charges on a booking",
       "SELECT COUNT(*) FROM (SELECT 1 FROM Charges GROUP BY AttRecNo HAVING COUNT(*) > 1)"},
      {"attendance listed twice",
       "SELECT COUNT(*) FROM (SELECT 1 FROM UnresolvedAttendances GROUP BY AttRecNo "
       "HAVING COUNT(*) > 1)"},
      {"note of two lines",
       "SELECT COUNT(*) FROM InvoiceNotes WHERE InvoiceNote LIKE '%' || char(13, 10) || '%'"},
      {"account named", "SELECT COUNT(*) FROM Parents WHERE AccountName <> ''"},
      {"account without a name",
       "SELECT COUNT(*) FROM Parents WHERE AccountName IS NULL OR AccountName = ''"},
      {"distribution child", "SELECT COUNT(*) FROM Parents WHERE DistribChild IS NOT NULL"},
      {"direct debit", "SELECT COUNT(*) FROM Parents WHERE UseDirectDebit"},
      {"card payer", "SELECT COUNT(*) FROM Parents WHERE UseCreditCard"},
      {"school child with a class", "SELECT COUNT(*) FROM Child WHERE Grade IS NOT NULL"},
      {"absences", "SELECT COUNT(*) FROM AbsencesUsed WHERE CumlAbsences > 0"},
      {"two locations in funding keys",
       "SELECT COUNT(DISTINCT LocationID) - 1 FROM HostFundingKeys"},
  };
  for (const TCase &c : cases)
    EXPECT_GT(scalar(*host, QString::fromLatin1(c.countSql)), 0) << c.what;
}

TEST(DemoConsistency, ClosingBalanceIsTheHistorysRunningBalance) {
  const auto host = demoHost(60);
  // Payments and releases subtract, deposits leave the balance alone, all else adds.
  const Ado::RecordsetData mismatches = host->query(QStringLiteral(
      "SELECT i.InvoiceNo, i.CloseBal, SUM(CASE h.Kind WHEN 3 THEN -h.EntryAmount "
      "WHEN 6 THEN -h.EntryAmount WHEN 5 THEN 0 ELSE h.EntryAmount END) AS Balance "
      "FROM Invoices i JOIN HostHistory h ON h.InvoiceNo = i.InvoiceNo GROUP BY i.InvoiceNo "
      "HAVING ABS(i.CloseBal - Balance) > 0.00001"));
  EXPECT_TRUE(mismatches.rows.empty())
      << mismatches.rows.size() << " invoice(s), first " << mismatches.rows.front().front().toInt();
}

TEST(DemoConsistency, RowsReferToEachOther) {
  const auto host = demoHost(60);
  const char *const orphans[] = {
      "SELECT COUNT(*) FROM Child WHERE ParentID NOT IN (SELECT ParentID FROM Parents)",
      "SELECT COUNT(*) FROM Invoices WHERE ParentID NOT IN (SELECT ParentID FROM Parents)",
      "SELECT COUNT(*) FROM Parents WHERE DistribChild NOT IN (SELECT ChildID FROM Child "
      "WHERE Child.ParentID = Parents.ParentID)",
      "SELECT COUNT(*) FROM UnresolvedAttendances WHERE AttRecNo NOT IN "
      "(SELECT AttRecNo FROM BookingCharges)",
      "SELECT COUNT(*) FROM Charges c WHERE NOT EXISTS (SELECT 1 FROM BookingCharges b WHERE "
      "b.AttRecNo = c.AttRecNo AND b.ChildID = c.ChildID AND b.SessTypeID = c.SessTypeID AND "
      "b.SessionDate = c.SessionDate)",
      "SELECT COUNT(*) FROM BookingCharges b JOIN UnresolvedAttendances u USING (AttRecNo) "
      "JOIN Invoices i USING (InvoiceNo) WHERE b.ChildID NOT IN "
      "(SELECT ChildID FROM Child WHERE Child.ParentID = i.ParentID)",
      "SELECT COUNT(*) FROM HostHistory h JOIN Invoices i USING (InvoiceNo) WHERE h.Kind = 2 AND "
      "h.ChildOrMethod NOT IN (SELECT ChildID FROM Child WHERE Child.ParentID = i.ParentID)",
      "SELECT COUNT(*) FROM HostHistory WHERE Kind IN (3, 5) AND ChildOrMethod NOT BETWEEN 1 AND 8",
      "SELECT COUNT(*) FROM HostFundingKeys k WHERE NOT EXISTS (SELECT 1 FROM HostLocations l "
      "WHERE l.LocationID = k.LocationID)",
      "SELECT COUNT(*) FROM Charges WHERE SessTypeID NOT IN (SELECT SessTypeID FROM SessionTypes) "
      "OR ChargeID NOT IN (SELECT ChargeID FROM ChargeTypes)",
  };
  for (const char *sql : orphans)
    EXPECT_EQ(scalar(*host, QString::fromLatin1(sql)), 0) << sql;
}

TEST(DemoConsistency, ChargeLinesAddUp) {
  const auto host = demoHost(60);
  struct TCase {
    const char *rule;
    const char *violations;
  };
  const TCase cases[] = {
      {"net = fee - CCB - JFA - CCR",
       "SELECT COUNT(*) FROM HostHistory WHERE Kind = 2 AND "
       "ABS(EntryAmount - (FeeAmount - CCBAmount - JFAAmount - CCRAmount)) > 0.00001"},
      {"CCB hours at most 50 and at most the hours charged",
       "SELECT COUNT(*) FROM HostHistory WHERE Kind = 2 AND (ABS(CCBHours) > 50 OR "
       "ABS(CCBHours) > ABS(ChargedHours))"},
      {"CCB = rate x hours x percentage, to the cent",
       "SELECT COUNT(*) FROM HostHistory WHERE Kind = 2 AND ABS(ABS(CCBAmount) - ROUND(CCBRate * "
       "ABS(CCBHours) * (CASE WHEN CareType = 4 AND CCBPercent = 100 THEN CCBAltPercent "
       "ELSE CCBPercent END) / 100, 2)) > 0.0101 AND CCBEntry = 1"},
      {"week endings are Sundays", "SELECT COUNT(*) FROM HostHistory WHERE Kind = 2 AND "
                                   "WeekEndDate % 7 <> 1"},
      {"absences paid within the sessions",
       "SELECT COUNT(*) FROM HostHistory WHERE Kind = 2 AND AbsencesPaid > ABS(Sessions)"},
      {"history in stamp order",
       "SELECT COUNT(*) FROM HostHistory a JOIN HostHistory b ON a.InvoiceNo = b.InvoiceNo AND "
       "b.Position = a.Position + 1 WHERE b.Stamp < a.Stamp"},
      {"pending attendances after the close date",
       "SELECT COUNT(*) FROM BookingCharges WHERE SessionDate <= '2009-03-15' OR "
       "SessionDate > '2009-03-29'"},
  };
  for (const TCase &c : cases)
    EXPECT_EQ(scalar(*host, QString::fromLatin1(c.violations)), 0) << c.rule;
}

TEST(DemoDeterminism, SameSeedSameData) {
  EXPECT_EQ(generateDemoSql(12), generateDemoSql(12));
  EXPECT_NE(generateDemoSql(12), generateDemoSql(12, Demo::kDefaultDemoSeed + 1));
}

// Family i does not depend on how many families are made: a small database's per-family rows
// begin every table of a larger one.
TEST(DemoDeterminism, SmallDatabaseIsPrefixOfLarge) {
  const Demo::TDemoTables small = Demo::generateDemoTables(10);
  const Demo::TDemoTables large = Demo::generateDemoTables(40);
  for (const Demo::TDemoTable &table : small.tables()) {
    SCOPED_TRACE(table.name.toStdString());
    const Demo::TDemoTable *bigger = large.find(table.name);
    ASSERT_NE(bigger, nullptr);
    ASSERT_LE(table.rows.size(), bigger->rows.size());
    EXPECT_TRUE(std::equal(table.rows.begin(), table.rows.end(), bigger->rows.begin()));
  }
  EXPECT_GT(large.find(QStringLiteral("HostHistory"))->rows.size(),
            small.find(QStringLiteral("HostHistory"))->rows.size());
}

TEST(DemoDeterminism, ShippedSqlIsTheGeneratorsDefault) {
  const QByteArray shipped = Demo::embeddedDemoSql();
  ASSERT_FALSE(shipped.isEmpty());
  // When this fails, the generator changed: regenerate host/demo/DemoDatabase.sql with
  // tdinvoice demo-db --families 25 --sql host/demo/DemoDatabase.sql
  EXPECT_TRUE(shipped == generateDemoSql(Demo::kDefaultDemoFamilies));
}

TEST(DemoGenerator, RefusesSizesOutOfRange) {
  for (const int families : {0, -3, Demo::kMaxDemoFamilies + 1})
    EXPECT_THROW(Demo::generateDemoTables(families), Exception) << families;
}

// The message is rich text as a Windows rich-edit control saves it: an rtf1 group with a font
// table, CR LF line ends, balanced braces, a code-page escape.
TEST(DemoService, InvoiceMessageIsRichEditRtf) {
  const QString rtf = Demo::demoInvoiceMessage();
  EXPECT_TRUE(rtf.startsWith(QLatin1String("{\\rtf1\\ansi\\ansicpg1252")));
  EXPECT_TRUE(rtf.contains(QLatin1String("{\\fonttbl")));
  EXPECT_TRUE(rtf.contains(QLatin1String("\\'e9")));
  EXPECT_TRUE(rtf.endsWith(QLatin1String("}\r\n")));
  EXPECT_FALSE(rtf.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
  int depth = 0;
  for (qsizetype i = 0; i < rtf.size(); ++i) {
    if (rtf[i] == u'\\') {
      ++i; // an escaped brace is no group
      continue;
    }
    depth += rtf[i] == u'{' ? 1 : rtf[i] == u'}' ? -1 : 0;
    ASSERT_GE(depth, 0) << "at " << i;
  }
  EXPECT_EQ(depth, 0);
}

} // namespace
} // namespace TDInvoice::Testing
