#include "InvoiceTestSupport.h"

#include "library/Invoice.h"
#include "report/ReportTypes.h"
#include "report/engine/Report.h"
#include "report/engine/ReportCustomBand.h"

#include <QCoreApplication>
#include <QDate>
#include <QEvent>

extern "C" void CreateInvoiceReport(TDInvoice::IInvoiceReport *&Report, QObject *Owner,
                                    std::int32_t PaymentType, std::int16_t WithCard,
                                    std::int16_t Extended);

namespace TDInvoice::Testing {

namespace {

QString sqlValue(const std::optional<QString> &value) {
  if (!value)
    return QStringLiteral("NULL");
  QString quoted = *value;
  quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
  return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

template <class T> QString sqlValue(const std::optional<T> &value) {
  return value ? QString::number(*value) : QStringLiteral("NULL");
}

QString sqlValue(const std::optional<bool> &value) {
  return value ? QString::number(*value ? 1 : 0) : QStringLiteral("NULL");
}

// Currency as exact decimal text, which the host's CURRENCY columns read without rounding.
QString money(TCurrency amount) {
  const bool negative = amount < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(amount) : static_cast<std::uint64_t>(amount);
  return QStringLiteral("%1%2.%3")
      .arg(negative ? QStringLiteral("-") : QString())
      .arg(magnitude / 10000)
      .arg(magnitude % 10000, 4, 10, QLatin1Char('0'));
}

QString real(double value) { return QString::number(value, 'g', 17); }

} // namespace

std::int32_t dayNumber(int year, int month, int day) {
  return static_cast<std::int32_t>(QDate(1899, 12, 30).daysTo(QDate(year, month, day)));
}

std::int32_t stampOf(int year, int month, int day) {
  return static_cast<std::int32_t>(QDate(2000, 1, 1).daysTo(QDate(year, month, day)) * 86400);
}

int dev(double native) {
  return static_cast<int>(
      Report::roundHalfEven(native * Report::kScreenPixelsPerInch / Report::kNativePerInch));
}

double nativeOf(const Layout::TLength &length) { return length.native(); }

TInvoiceDatabase::TInvoiceDatabase() = default;

void TInvoiceDatabase::run(const QString &sql) { m_host.execute(sql); }

void TInvoiceDatabase::setService(const TServiceRow &r) {
  run(QStringLiteral("DELETE FROM [User Details]"));
  run(QStringLiteral("INSERT INTO [User Details] (ServiceName, Address, Phone, ABN, BPAYBiller, "
                     "BSB, AccountNo, DueWeek, DueDay, PaymentOptions, PaymentSlipOption, "
                     "ServiceEmail) VALUES (%1, %2, %3, %4, %5, %6, %7, %8, %9, %10, 0, %11)")
          .arg(sqlValue(r.ServiceName), sqlValue(r.Address), sqlValue(r.Phone), sqlValue(r.ABN),
               sqlValue(r.BPAYBiller), sqlValue(r.BSB), sqlValue(r.AccountNo), sqlValue(r.DueWeek),
               sqlValue(r.DueDay))
          .arg(sqlValue(r.PaymentOptions), sqlValue(r.ServiceEmail)));
}

void TInvoiceDatabase::addLocation(int LocationID, const QString &name, int CareType) {
  run(QStringLiteral("INSERT INTO HostLocations (LocationID, Name, CareType) VALUES (%1, %2, %3)")
          .arg(LocationID)
          .arg(sqlValue(std::optional<QString>(name)))
          .arg(CareType));
}

void TInvoiceDatabase::addFunding(int LocationID, int CareType,
                                  const std::optional<QString> &approvalID) {
  run(QStringLiteral("INSERT INTO Funding VALUES (%1, %2, %3)")
          .arg(LocationID)
          .arg(CareType)
          .arg(sqlValue(approvalID)));
}

void TInvoiceDatabase::addSessionType(int SessTypeID, const QString &abbrev) {
  run(QStringLiteral("INSERT INTO SessionTypes VALUES (%1, %2)")
          .arg(SessTypeID)
          .arg(sqlValue(std::optional<QString>(abbrev))));
}

void TInvoiceDatabase::addChargeType(int ChargeID, const QString &description) {
  run(QStringLiteral("INSERT INTO ChargeTypes VALUES (%1, %2)")
          .arg(ChargeID)
          .arg(sqlValue(std::optional<QString>(description))));
}

void TInvoiceDatabase::addParent(const TParentRow &r) {
  run(QStringLiteral("INSERT INTO Parents VALUES (%1, %2, %3, %4, %5, %6, %7, %8, %9)")
          .arg(r.ParentID)
          .arg(sqlValue(r.FamilyName), sqlValue(r.AccountName), sqlValue(r.BPAYCustRef),
               sqlValue(r.MAddress1), sqlValue(r.MAddress2), sqlValue(r.DistribChild),
               sqlValue(r.UseDirectDebit), sqlValue(r.UseCreditCard)));
}

void TInvoiceDatabase::addChild(int ChildID, int ParentID, const QString &first,
                                const QString &last, const std::optional<QString> &grade) {
  run(QStringLiteral("INSERT INTO Child VALUES (%1, %2, %3, %4, %5)")
          .arg(ChildID)
          .arg(ParentID)
          .arg(sqlValue(std::optional<QString>(first)), sqlValue(std::optional<QString>(last)),
               sqlValue(grade)));
}

void TInvoiceDatabase::addInvoice(const TInvoiceRow &r) {
  run(QStringLiteral("INSERT INTO Invoices VALUES (%1, %2, %3, %4, %5)")
          .arg(r.InvoiceNo)
          .arg(sqlValue(r.IssueDT), money(r.CloseBal))
          .arg(r.CloseDate)
          .arg(r.ParentID));
}

void TInvoiceDatabase::addDebitDate(int CloseDate, int debitDay) {
  run(QStringLiteral("INSERT INTO InvoiceDebitDates VALUES (%1, %2)").arg(CloseDate).arg(debitDay));
}

void TInvoiceDatabase::addNote(int ParentID, const std::optional<QString> &note) {
  run(QStringLiteral("INSERT INTO InvoiceNotes VALUES (%1, %2)").arg(ParentID).arg(sqlValue(note)));
}

void TInvoiceDatabase::addMessage(int CloseDate, const QString &message) {
  run(QStringLiteral("INSERT INTO HostInvoiceMessages VALUES (%1, %2)")
          .arg(CloseDate)
          .arg(sqlValue(std::optional<QString>(message))));
}

void TInvoiceDatabase::addFundingKey(int InvoiceNo, int LocationID, int CareType) {
  run(QStringLiteral("INSERT INTO HostFundingKeys VALUES (%1, %2, %3, %4)")
          .arg(InvoiceNo)
          .arg(++m_keyPosition)
          .arg(LocationID)
          .arg(CareType));
}

void TInvoiceDatabase::addHistory(int InvoiceNo, const THistoryRow &r) {
  run(QStringLiteral(
          "INSERT INTO HostHistory (InvoiceNo, Position, Kind, Stamp, EntryAmount, WeekEndDate, "
          "ChildOrMethod, CareType, Sessions, CCBRate, CCBPercent, CCBAltPercent, CCBHours, "
          "FeeAmount, ChargedHours, CCBAmount, JFAAmount, CCRAmount, AbsencesPaid, CCBEntry, "
          "CareTypeAbbrev, EnrolmentId, EntryText) VALUES (%1, %2, %3, %4, %5, %6, %7, %8, %9, "
          "%10, %11, %12, %13, %14, %15, %16, %17, %18, %19, %20, %21, %22, %23)")
          .arg(InvoiceNo)
          .arg(++m_historyPosition)
          .arg(r.Kind)
          .arg(r.Stamp)
          .arg(money(r.EntryAmount))
          .arg(r.WeekEndDate)
          .arg(r.ChildOrMethod)
          .arg(r.CareType)
          .arg(r.Sessions)
          .arg(real(r.CCBRate), real(r.CCBPercent), real(r.CCBAltPercent), real(r.CCBHours),
               money(r.FeeAmount), real(r.ChargedHours), money(r.CCBAmount), money(r.JFAAmount),
               money(r.CCRAmount))
          .arg(r.AbsencesPaid)
          .arg(r.CCBEntry)
          .arg(sqlValue(std::optional<QString>(r.CareTypeAbbrev)),
               sqlValue(std::optional<QString>(r.EnrolmentId)),
               sqlValue(std::optional<QString>(r.EntryText))));
}

void TInvoiceDatabase::addPendingAttendance(int InvoiceNo, int AttRecNo) {
  run(QStringLiteral("INSERT INTO UnresolvedAttendances VALUES (%1, %2)")
          .arg(AttRecNo)
          .arg(InvoiceNo));
}

void TInvoiceDatabase::addCharge(int AttRecNo, int ChildID, int SessTypeID, int sessionDay,
                                 int ChargeID, TCurrency amount) {
  run(QStringLiteral("INSERT INTO BookingCharges VALUES (%1, %2, %3, %4)")
          .arg(AttRecNo)
          .arg(ChildID)
          .arg(SessTypeID)
          .arg(sessionDay));
  run(QStringLiteral("INSERT INTO Charges VALUES (%1, %2, %3, %4, %5, %6)")
          .arg(AttRecNo)
          .arg(ChildID)
          .arg(SessTypeID)
          .arg(sessionDay)
          .arg(ChargeID)
          .arg(money(amount)));
}

void TInvoiceDatabase::addAbsences(int InvoiceNo, int ChildID, int days) {
  run(QStringLiteral("INSERT INTO AbsencesUsed VALUES (%1, %2, %3)")
          .arg(InvoiceNo)
          .arg(ChildID)
          .arg(days));
}

void TInvoiceDatabase::addPlainInvoice(int InvoiceNo, int ParentID, TCurrency closeBal,
                                       int closeDate) {
  TParentRow parent;
  parent.ParentID = ParentID;
  addParent(parent);
  addInvoice(
      {.InvoiceNo = InvoiceNo, .CloseBal = closeBal, .CloseDate = closeDate, .ParentID = ParentID});
}

void flushReleasedForms() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

TInvoiceReportRun::TInvoiceReportRun(int PaymentType, bool WithCard, bool Extended) {
  CreateInvoiceReport(m_report, nullptr, PaymentType, WithCard ? 1 : 0, Extended ? 1 : 0);
  const Intake::THostCallbacks callbacks = Host::TestHost::callbacks();
  m_report->SetOnGetLocations(callbacks.OnGetLocations);
  m_report->SetOnGetDataPacket(callbacks.OnGetDataPacket);
  m_report->SetOnGetInvoiceMessage(callbacks.OnGetInvoiceMessage);
  m_report->SetOnGetFamilyChildren(callbacks.OnGetFamilyChildren);
  m_report->SetOnGetInvoiceFundingKeys(callbacks.OnGetInvoiceFundingKeys);
  m_report->SetOnFillInvoiceHistory(callbacks.OnFillInvoiceHistory);
  Report::TReport &report = *form().Report1();
  for (Report::TReportCustomBand *band : report.bandList())
    band->AfterPrint = [this, &report](Report::TReportCustomBand *sender, bool printed) {
      if (printed)
        m_bandPrints.push_back({sender->Name(), report.PageNumber(), sender->printRect()});
    };
}

TInvoiceReportRun::~TInvoiceReportRun() {
  m_report->ReleaseReport();
  m_report->Release();
  flushReleasedForms();
}

TInvoiceReportForm &TInvoiceReportRun::form() const {
  // The object behind the interface is the library's TInvoice, which holds the form.
  return *static_cast<TInvoice *>(m_report)->form();
}

Layout::TReportDesc TInvoiceReportRun::layout() const {
  return Layout::layoutFor(form().formClass());
}

void TInvoiceReportRun::load(const char *SQL) { m_report->LoadDataSet(SQL); }

void TInvoiceReportRun::run() {
  m_pages.clear();
  m_bandPrints.clear();
  const std::unique_ptr<Report::TReportPrinter> printer = form().Report1()->record();
  for (int n = 1; n <= printer->availablePages(); ++n)
    m_pages.push_back(*printer->getPage(n));
}

QStringList TInvoiceReportRun::bandsOnPage(int page) const {
  QStringList bands;
  for (const TBandPrint &print : m_bandPrints)
    if (print.page == page)
      bands << print.band;
  return bands;
}

std::vector<TMetaText> TInvoiceReportRun::texts(int page) const {
  std::vector<TMetaText> result;
  for (std::size_t i = 0; i < m_pages.size(); ++i) {
    if (page != 0 && static_cast<int>(i) + 1 != page)
      continue;
    for (const Report::TMetaElement &element : m_pages[i].elements())
      if (const auto *text = std::get_if<TMetaText>(&element))
        result.push_back(*text);
  }
  return result;
}

QStringList TInvoiceReportRun::textStrings(int page) const {
  QStringList result;
  for (const TMetaText &text : texts(page))
    result << text.text;
  return result;
}

std::vector<int> TInvoiceReportRun::pagesWithText(const QString &text) const {
  std::vector<int> result;
  for (int page = 1; page <= static_cast<int>(m_pages.size()); ++page)
    for (const TMetaText &found : texts(page))
      if (found.text == text) {
        result.push_back(page);
        break;
      }
  return result;
}

std::optional<TMetaText> TInvoiceReportRun::findText(const QString &text, int page) const {
  std::optional<TMetaText> result;
  int count = 0;
  for (const TMetaText &found : texts(page))
    if (found.text == text) {
      result = found;
      ++count;
    }
  if (count != 1) {
    ADD_FAILURE() << "\"" << text.toStdString() << "\" printed " << count << " times on page "
                  << page;
    return std::nullopt;
  }
  return result;
}

} // namespace TDInvoice::Testing
