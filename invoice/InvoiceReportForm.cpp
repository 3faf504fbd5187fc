#include "invoice/InvoiceReportForm.h"

#include "intake/QueryOperations.h"
#include "invoice/ADODataSetComponent.h"
#include "report/engine/Report.h"
#include "report/engine/ReportCustomLabel.h"
#include "report/preview/ReportPreviewer.h"
#include "report/richtext/RtfFormatter.h"

#include <array>
#include <utility>

namespace TDInvoice {
using Intake::requireCallback;

namespace {

using TReportHandler = void (TInvoiceReportForm::*)(Report::TCustomReport *, bool &);
using TBandHandler = void (TInvoiceReportForm::*)(Report::TReportCustomBand *, bool &);
using TNeedDataHandler = void (TInvoiceReportForm::*)(QObject *, bool &);

template <class Handler, std::size_t N>
Handler findHandler(const std::array<std::pair<std::string_view, Handler>, N> &table,
                    std::string_view name) {
  for (const auto &[handlerName, handler] : table)
    if (handlerName == name)
      return handler;
  return nullptr;
}

// The rich-text printables lay out RTF through the engine's formatter.
void useRtfFormatter() {
  static const bool registered = [] {
    Report::registerRtfFormatter();
    return true;
  }();
  (void)registered;
}

} // namespace

TInvoiceReportForm::TInvoiceReportForm(QObject *owner, Layout::TFormClass formClass)
    : TForm(owner), FFormClass(formClass) {
  useRtfFormatter();
  FADODataSet1 = new TADODataSetComponent(this, QStringLiteral("ADODataSet1"));
  const Layout::TReportDesc layout = Layout::layoutFor(formClass);
  if (layout.formOnDestroy != "FormDestroy")
    throw Layout::ELayoutError("The form has no handler " + std::string(layout.formOnDestroy));
  TBuiltLayout built = buildFormLayout(*this, layout, *this, *FADODataSet1);
  FReport1 = built.report;
  FPreviewer = std::make_unique<Report::TReportPreviewer>(*FReport1);
  FComponents.emplace(FADODataSet1->objectName().toStdString(), FADODataSet1);
  for (QObject *component : built.components)
    FComponents.emplace(component->objectName().toStdString(), component);
}

TInvoiceReportForm::~TInvoiceReportForm() = default;

const char *TInvoiceReportForm::formClassName() const { return "TInvoiceReportForm"; }

Report::TCustomReport::TBeforePrintEvent
TInvoiceReportForm::reportBeforePrint(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, TReportHandler>, 1> handlers{{
      {"Report1BeforePrint", &TInvoiceReportForm::Report1BeforePrint},
  }};
  const TReportHandler handler = findHandler(handlers, name);
  if (!handler)
    return {};
  // Called through the member pointer, so a variant's override of the name is the one run.
  return [this, handler](Report::TCustomReport *Sender, bool &PrintReport) {
    (this->*handler)(Sender, PrintReport);
  };
}

Report::TReportCustomBand::TBeforePrintEvent
TInvoiceReportForm::bandBeforePrint(std::string_view name) {
  using F = TInvoiceReportForm;
  static constexpr std::array<std::pair<std::string_view, TBandHandler>, 12> handlers{{
      {"grphdrInvoiceBeforePrint", &F::grphdrInvoiceBeforePrint},
      {"DetailBand1BeforePrint", &F::DetailBand1BeforePrint},
      {"hdrAcctHistBeforePrint", &F::hdrAcctHistBeforePrint},
      {"subdtlAcctHistBeforePrint", &F::subdtlAcctHistBeforePrint},
      {"ftrAcctHistBeforePrint", &F::ftrAcctHistBeforePrint},
      {"subdetWeeklyBeforePrint", &F::subdetWeeklyBeforePrint},
      {"subdtlEstFeeRowBeforePrint", &F::subdtlEstFeeRowBeforePrint},
      {"ftrWeekEstFeesBeforePrint", &F::ftrWeekEstFeesBeforePrint},
      {"ftrEstFeesBeforePrint", &F::ftrEstFeesBeforePrint},
      {"subdtlInvMsgBeforePrint", &F::subdtlInvMsgBeforePrint},
      {"ChildBand1BeforePrint", &F::ChildBand1BeforePrint},
      {"InvoiceFooterBeforePrint", &F::InvoiceFooterBeforePrint},
  }};
  const TBandHandler handler = findHandler(handlers, name);
  if (!handler)
    return {};
  return [this, handler](Report::TReportCustomBand *Sender, bool &PrintBand) {
    (this->*handler)(Sender, PrintBand);
  };
}

Report::TReportSubDetail::TNeedDataEvent TInvoiceReportForm::needData(std::string_view name) {
  using F = TInvoiceReportForm;
  static constexpr std::array<std::pair<std::string_view, TNeedDataHandler>, 3> handlers{{
      {"subdtlAcctHistNeedData", &F::subdtlAcctHistNeedData},
      {"subdetWeeklyNeedData", &F::subdetWeeklyNeedData},
      {"subdtlEstFeeRowNeedData", &F::subdtlEstFeeRowNeedData},
  }};
  const TNeedDataHandler handler = findHandler(handlers, name);
  if (!handler)
    return {};
  return [this, handler](QObject *Sender, bool &MoreData) { (this->*handler)(Sender, MoreData); };
}

QObject *TInvoiceReportForm::findComponentObject(std::string_view name) const {
  const auto found = FComponents.find(name);
  return found == FComponents.end() ? nullptr : found->second;
}

void TInvoiceReportForm::missingComponent(std::string_view name) const {
  throw Exception("The layout of " + std::string(formClassName()) + " has no component " +
                  std::string(name) + " of the class its handlers use");
}

Report::TReportLabel &TInvoiceReportForm::label(std::string_view name) const {
  return component<Report::TReportLabel>(name);
}

Report::TReportPrintable &TInvoiceReportForm::printable(std::string_view name) const {
  return component<Report::TReportPrintable>(name);
}

TReportComponent *TInvoiceReportForm::reportComponent() const { return FReport1; }

void TInvoiceReportForm::LoadDataSet(const char *SQL) {
  Intake::LoadDataSet(FHostCallbacks, FADODataSet1->dataSet(), SQL);
}

void TInvoiceReportForm::SetSort(const char *SortText) {
  Intake::SetSort(FADODataSet1->dataSet(), SortText);
}

Ado::Recordset TInvoiceReportForm::OpenQuery(const QString &SQL) const {
  return Intake::OpenQuery(FHostCallbacks, SQL);
}

QString TInvoiceReportForm::sqlWith(const char *SQL, std::int32_t value) {
  return QString::asprintf(SQL, value);
}

TLocationTable *TInvoiceReportForm::callOnGetLocations() const {
  return requireCallback(FHostCallbacks.OnGetLocations, "OnGetLocations")();
}

TShortStringList *TInvoiceReportForm::callOnGetDataPacket(const char *SQL) const {
  return requireCallback(FHostCallbacks.OnGetDataPacket, "OnGetDataPacket")(SQL);
}

char *TInvoiceReportForm::callOnGetInvoiceMessage(std::int32_t CloseDate) const {
  return requireCallback(FHostCallbacks.OnGetInvoiceMessage, "OnGetInvoiceMessage")(CloseDate);
}

TShortStringList *TInvoiceReportForm::callOnGetFamilyChildren(std::int32_t ParentID) const {
  return requireCallback(FHostCallbacks.OnGetFamilyChildren, "OnGetFamilyChildren")(ParentID);
}

char *TInvoiceReportForm::callOnGetInvoiceFundingKeys(std::int32_t InvoiceNo) const {
  return requireCallback(FHostCallbacks.OnGetInvoiceFundingKeys,
                         "OnGetInvoiceFundingKeys")(InvoiceNo);
}

void TInvoiceReportForm::callOnFillInvoiceHistory(std::int32_t InvoiceNo,
                                                  TInvHistList *List) const {
  requireCallback(FHostCallbacks.OnFillInvoiceHistory, "OnFillInvoiceHistory")(InvoiceNo, List);
}

} // namespace TDInvoice
