#include "invoice/InvoiceReportForm.h"

namespace TDInvoice {
using Intake::requireCallback;

TInvoiceReportForm::TInvoiceReportForm(QObject *owner) : TForm(owner) {}

const char *TInvoiceReportForm::formClassName() const { return "TInvoiceReportForm"; }

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
