// Fixtures for the invoice tests: a test host database with rows built by small helpers, an
// invoice report created through the library's entry point and run into a page store, and
// queries on the recorded pages (texts, positions in device units of the 96-dpi recording).
#pragma once

#include "TDInvoice/InvHistList.h"
#include "TDInvoice/InvoiceReport.h"
#include "host/testhost/TestHost.h"
#include "invoice/InvoiceReportForm.h"
#include "invoice/layout/InvoiceLayouts.h"
#include "report/output/MetaPage.h"
#include "report/output/ReportPrinter.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include <ostream>

// Readable QStrings in test failure messages.
inline void PrintTo(const QString &text, std::ostream *out) {
  *out << '"' << text.toStdString() << '"';
}

namespace TDInvoice::Testing {

using Report::TMetaPage;
using Report::TMetaText;

// Day numbers (days since 30 December 1899) and the history's second counts.
std::int32_t dayNumber(int year, int month, int day);
std::int32_t stampOf(int year, int month, int day);
// An amount in whole cents, as currency (x 10000).
constexpr TCurrency cents(std::int64_t value) { return value * 100; }

// Device units of the recording (96 dpi) for a length in engine units.
int dev(double native);
// The engine length of a layout value.
double nativeOf(const Layout::TLength &length);

struct TServiceRow {
  std::optional<QString> ServiceName = QStringLiteral("Gumnut Grove Child Care");
  std::optional<QString> Address = QStringLiteral("12 Wattle Street, Ashfield");
  std::optional<QString> Phone = QStringLiteral("02 9555 0100");
  std::optional<QString> ABN = QStringLiteral("12345678901");
  std::optional<QString> BPAYBiller;
  std::optional<QString> BSB;
  std::optional<QString> AccountNo;
  std::optional<int> DueWeek = 0;
  std::optional<int> DueDay = 0;
  std::optional<int> PaymentOptions = 3;
  std::optional<QString> ServiceEmail = QStringLiteral("office@gumnut.example");
};

struct TParentRow {
  int ParentID = 1;
  std::optional<QString> FamilyName = QStringLiteral("Nguyen");
  std::optional<QString> AccountName = QStringLiteral("Lan Nguyen");
  std::optional<QString> BPAYCustRef = QStringLiteral("100017");
  std::optional<QString> MAddress1 = QStringLiteral("4 Banksia Avenue");
  std::optional<QString> MAddress2 = QStringLiteral("Ashfield NSW 2131");
  std::optional<int> DistribChild;
  std::optional<bool> UseDirectDebit = false;
  std::optional<bool> UseCreditCard = false;
};

struct TInvoiceRow {
  int InvoiceNo = 1001;
  std::optional<QString> IssueDT = QStringLiteral("2009-01-05 10:30");
  TCurrency CloseBal = 0;
  int CloseDate = 0;
  int ParentID = 1;
};

// One account-history entry as the host sends it.
struct THistoryRow {
  int Kind = kHistText;
  std::int32_t Stamp = 0;
  TCurrency EntryAmount = 0;
  std::int32_t WeekEndDate = 0;
  int ChildOrMethod = 0;
  int CareType = 0;
  int Sessions = 0;
  double CCBRate = 0, CCBPercent = 0, CCBAltPercent = 0, CCBHours = 0;
  TCurrency FeeAmount = 0;
  double ChargedHours = 0;
  TCurrency CCBAmount = 0, JFAAmount = 0, CCRAmount = 0;
  int AbsencesPaid = 0;
  int CCBEntry = 1;
  QString CareTypeAbbrev;
  QString EnrolmentId;
  QString EntryText;
};

// The test host's database. Every report made while it lives answers from it.
class TInvoiceDatabase {
public:
  TInvoiceDatabase();
  Host::TestHost &host() { return m_host; }
  const Host::TestHost &host() const { return m_host; }

  void setService(const TServiceRow &row = {});
  void addLocation(int LocationID, const QString &name, int CareType);
  void addFunding(int LocationID, int CareType, const std::optional<QString> &approvalID);
  void addSessionType(int SessTypeID, const QString &abbrev);
  void addChargeType(int ChargeID, const QString &description);
  void addParent(const TParentRow &row = {});
  void addChild(int ChildID, int ParentID, const QString &first, const QString &last,
                const std::optional<QString> &grade = std::nullopt);
  void addInvoice(const TInvoiceRow &row = {});
  void addDebitDate(int CloseDate, int debitDay);
  void addNote(int ParentID, const std::optional<QString> &note);
  void addMessage(int CloseDate, const QString &message);
  void addFundingKey(int InvoiceNo, int LocationID, int CareType);
  void addHistory(int InvoiceNo, const THistoryRow &row);
  // A pending attendance (once per call) and one charge of it.
  void addPendingAttendance(int InvoiceNo, int AttRecNo);
  void addCharge(int AttRecNo, int ChildID, int SessTypeID, int sessionDay, int ChargeID,
                 TCurrency amount);
  void addAbsences(int InvoiceNo, int ChildID, int days);

  // The minimal data of one invoice that prints its header, address block and slip only.
  void addPlainInvoice(int InvoiceNo, int ParentID, TCurrency closeBal = 0, int closeDate = 0);

private:
  void run(const QString &sql);
  Host::TestHost m_host;
  int m_historyPosition = 0;
  int m_keyPosition = 0;
};

struct TBandPrint {
  QString band;
  int page = 0;
  QRect rect; // device units on its page
};

// An invoice report made by CreateInvoiceReport, with the test host's callbacks, released
// (ReleaseReport, Release, deferred deletion) when the object goes.
class TInvoiceReportRun {
public:
  explicit TInvoiceReportRun(int PaymentType = 1, bool WithCard = false, bool Extended = false);
  ~TInvoiceReportRun();
  TInvoiceReportRun(const TInvoiceReportRun &) = delete;
  TInvoiceReportRun &operator=(const TInvoiceReportRun &) = delete;

  IInvoiceReport *report() const { return m_report; }
  TInvoiceReportForm &form() const;
  Layout::TReportDesc layout() const;

  static constexpr const char *kInvoicesSql =
      "SELECT InvoiceNo, IssueDT, CloseBal, CloseDate, ParentID FROM Invoices ORDER BY InvoiceNo";
  void load(const char *SQL = kInvoicesSql);
  // Runs the report into a page store; logs every printed band with its page.
  void run();

  const std::vector<TMetaPage> &pages() const { return m_pages; }
  const std::vector<TBandPrint> &bandPrints() const { return m_bandPrints; }
  // Bands printed on a page (1-based), in print order.
  QStringList bandsOnPage(int page) const;
  // Texts of a page (1-based); all pages when page is 0.
  std::vector<TMetaText> texts(int page = 0) const;
  QStringList textStrings(int page = 0) const;
  // The pages (1-based) on which text was printed exactly.
  std::vector<int> pagesWithText(const QString &text) const;
  // The one text element equal to text on page; a test failure when there is not exactly one.
  std::optional<TMetaText> findText(const QString &text, int page) const;

private:
  IInvoiceReport *m_report = nullptr;
  std::vector<TMetaPage> m_pages;
  std::vector<TBandPrint> m_bandPrints;
};

// Deletes forms whose release was requested.
void flushReleasedForms();

} // namespace TDInvoice::Testing
