// The library's own SQL texts, sent as it sends them, answered from the demo data: every
// table and column they name exists, each query finds rows, and the fields carry the types
// the library converts them from.
#include "DemoTestSupport.h"

#include "host/demo/DemoOptions.h"
#include "invoice/layout/InvoiceStrings.h"

#include <QStringList>

namespace TDInvoice::Testing {
namespace {

namespace S = InvoiceStrings;

enum class TKind { Integer, Text, Date, Currency, Boolean };

bool hasKind(Ado::DataTypeEnum type, TKind kind) {
  switch (kind) {
  case TKind::Integer:
    return type == Ado::adSmallInt || type == Ado::adInteger || type == Ado::adBigInt ||
           type == Ado::adUnsignedTinyInt;
  case TKind::Text:
    return type == Ado::adVarWChar || type == Ado::adLongVarWChar;
  case TKind::Date:
    return type == Ado::adDate;
  case TKind::Currency:
    return type == Ado::adCurrency;
  case TKind::Boolean:
    return type == Ado::adBoolean;
  }
  return false;
}

struct TQueryCase {
  const char *name;
  QString sql;
  std::vector<TKind> fields;
};

// An invoice with a note, absences and pending attendances, so that every per-invoice query
// has something to find.
struct TSubject {
  int invoiceNo;
  int parentID;
  int closeDate;
  QString attendances; // "1, 2, 3"
};

TSubject pickSubject(const Host::TestHost &host) {
  TSubject subject{};
  subject.invoiceNo = static_cast<int>(
      scalar(host, "SELECT i.InvoiceNo FROM Invoices i JOIN InvoiceNotes n USING (ParentID) "
                   "WHERE EXISTS (SELECT 1 FROM AbsencesUsed a WHERE a.InvoiceNo = i.InvoiceNo) "
                   "AND EXISTS (SELECT 1 FROM UnresolvedAttendances u "
                   "WHERE u.InvoiceNo = i.InvoiceNo) ORDER BY i.InvoiceNo LIMIT 1"));
  subject.parentID = static_cast<int>(scalar(
      host,
      QStringLiteral("SELECT ParentID FROM Invoices WHERE InvoiceNo = %1").arg(subject.invoiceNo)));
  subject.closeDate = static_cast<int>(
      scalar(host, QStringLiteral("SELECT CloseDate FROM Invoices WHERE InvoiceNo = %1")
                       .arg(subject.invoiceNo)));
  QStringList numbers;
  for (const auto &row :
       host.query(QStringLiteral("SELECT DISTINCT AttRecNo FROM UnresolvedAttendances WHERE "
                                 "InvoiceNo = %1 ORDER BY 1")
                      .arg(subject.invoiceNo))
           .rows)
    numbers.append(QString::number(row.front().toInt()));
  subject.attendances = numbers.join(QStringLiteral(", "));
  return subject;
}

QString withNumber(const char *sql, int value) { return QString::asprintf(sql, value); }

TEST(LibraryQueries, EveryQueryFindsTypedRows) {
  const auto host = demoHost(Demo::kDefaultDemoFamilies);
  const TSubject subject = pickSubject(*host);
  ASSERT_NE(subject.invoiceNo, 0) << "no invoice with a note, absences and attendances";
  using K = TKind;
  const TQueryCase cases[] = {
      {"service details",
       QString::fromLatin1(S::SQL_ServiceDetails),
       {K::Text, K::Text, K::Text, K::Text, K::Text, K::Text, K::Text, K::Integer, K::Integer,
        K::Integer, K::Integer, K::Text}},
      {"funding approvals",
       QString::fromLatin1(S::SQL_FundingApprovals),
       {K::Integer, K::Integer, K::Text}},
      {"session types", QString::fromLatin1(S::SQL_SessionTypes), {K::Integer, K::Text}},
      {"charge types", QString::fromLatin1(S::SQL_ChargeTypes), {K::Integer, K::Text}},
      {"distribution children",
       QString::fromLatin1(S::SQL_DistribChildren),
       {K::Integer, K::Text, K::Text, K::Text}},
      {"invoice rows",
       Demo::invoiceSql(QString()),
       {K::Integer, K::Date, K::Currency, K::Integer, K::Integer}},
      {"debit date", withNumber(S::SQL_DebitDate, subject.closeDate), {K::Date}},
      {"account",
       withNumber(S::SQL_Account, subject.parentID),
       {K::Text, K::Text, K::Text, K::Text, K::Text, K::Integer, K::Boolean, K::Boolean}},
      {"invoice note", withNumber(S::SQL_InvoiceNote, subject.parentID), {K::Text}},
      {"pending attendances",
       withNumber(S::SQL_UnresolvedAttendances, subject.invoiceNo),
       {K::Integer}},
      {"their charges",
       QString::fromLatin1(S::SQL_AttendanceCharges)
           .replace(QLatin1String("%s"), subject.attendances),
       {K::Date, K::Integer, K::Integer, K::Integer, K::Currency}},
      {"absences", withNumber(S::SQL_AbsencesUsed, subject.invoiceNo), {K::Integer, K::Integer}},
  };
  for (const TQueryCase &c : cases) {
    SCOPED_TRACE(c.name);
    Ado::RecordsetData data;
    ASSERT_NO_THROW(data = host->query(c.sql)) << c.sql.toStdString();
    EXPECT_FALSE(data.rows.empty());
    ASSERT_EQ(data.fields.size(), c.fields.size());
    for (std::size_t i = 0; i < c.fields.size(); ++i)
      EXPECT_TRUE(hasKind(data.fields[i].type, c.fields[i]))
          << data.fields[i].name.toStdString() << " has type " << data.fields[i].type;
  }
}

// Every per-invoice look-up, the library's and the test host's own, finds its rows through an
// index: a full scan per invoice makes a run's time grow with the square of its size.
TEST(LibraryQueries, PerInvoiceLookUpsUseAnIndex) {
  const auto host = demoHost(Demo::kDefaultDemoFamilies);
  const TSubject subject = pickSubject(*host);
  ASSERT_FALSE(subject.attendances.isEmpty());
  const QString perInvoice[] = {
      withNumber(S::SQL_DebitDate, subject.closeDate),
      withNumber(S::SQL_Account, subject.parentID),
      withNumber(S::SQL_InvoiceNote, subject.parentID),
      withNumber(S::SQL_UnresolvedAttendances, subject.invoiceNo),
      QString::fromLatin1(S::SQL_AttendanceCharges)
          .replace(QLatin1String("%s"), subject.attendances),
      withNumber(S::SQL_AbsencesUsed, subject.invoiceNo),
      QStringLiteral("SELECT ChildID FROM Child WHERE ParentID = %1").arg(subject.parentID),
      QStringLiteral("SELECT * FROM HostHistory WHERE InvoiceNo = %1").arg(subject.invoiceNo),
      QStringLiteral("SELECT * FROM HostFundingKeys WHERE InvoiceNo = %1").arg(subject.invoiceNo),
  };
  for (const QString &sql : perInvoice) {
    const Ado::RecordsetData plan = host->query(QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
    ASSERT_FALSE(plan.rows.empty()) << sql.toStdString();
    for (const auto &step : plan.rows)
      EXPECT_FALSE(step.back().toString().startsWith(QLatin1String("SCAN")))
          << step.back().toString().toStdString() << "\n  in " << sql.toStdString();
  }
}

// Values the library converts without a null test are present in every row.
TEST(LibraryQueries, FieldsReadWithoutNullTestAreNeverNull) {
  const auto host = demoHost(60);
  const char *const nulls[] = {
      "SELECT COUNT(*) FROM [User Details] WHERE ServiceName IS NULL OR PaymentOptions IS NULL "
      "OR DueWeek IS NULL OR DueDay IS NULL",
      "SELECT COUNT(*) FROM Funding WHERE LocationID IS NULL OR CareType IS NULL",
      "SELECT COUNT(*) FROM SessionTypes WHERE SessTypeID IS NULL OR AbbrevName IS NULL",
      "SELECT COUNT(*) FROM ChargeTypes WHERE ChargeID IS NULL OR ChgDesc IS NULL",
      "SELECT COUNT(*) FROM Child WHERE FirstName IS NULL OR LastName IS NULL",
      "SELECT COUNT(*) FROM Parents WHERE FamilyName IS NULL OR UseDirectDebit IS NULL OR "
      "UseCreditCard IS NULL",
      "SELECT COUNT(*) FROM Invoices WHERE IssueDT IS NULL OR CloseBal IS NULL OR "
      "CloseDate IS NULL OR ParentID IS NULL",
      "SELECT COUNT(*) FROM InvoiceNotes WHERE InvoiceNote IS NULL",
      "SELECT COUNT(*) FROM Charges WHERE SessionDate IS NULL OR Amount IS NULL",
  };
  for (const char *sql : nulls)
    EXPECT_EQ(scalar(*host, QString::fromLatin1(sql)), 0) << sql;
}

} // namespace
} // namespace TDInvoice::Testing
