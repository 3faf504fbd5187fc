#include "invoice/InvoiceReportForm.h"

#include "TDInvoice/Exceptions.h"

#include <string>

namespace TDInvoice {
namespace {

template <class Callback> Callback checked(Callback callback, const char *name) {
  if (!callback)
    throw Exception(std::string("The host callback ") + name + " is not set.");
  return callback;
}

} // namespace

TInvoiceReportForm::TInvoiceReportForm(QObject *owner) : TForm(owner) {}

const char *TInvoiceReportForm::formClassName() const { return "TInvoiceReportForm"; }

TLocationTable *TInvoiceReportForm::callOnGetLocations() const {
  return checked(FOnGetLocations, "OnGetLocations")();
}

TShortStringList *TInvoiceReportForm::callOnGetDataPacket(const char *SQL) const {
  return checked(FOnGetDataPacket, "OnGetDataPacket")(SQL);
}

char *TInvoiceReportForm::callOnGetInvoiceMessage(std::int32_t CloseDate) const {
  return checked(FOnGetInvoiceMessage, "OnGetInvoiceMessage")(CloseDate);
}

TShortStringList *TInvoiceReportForm::callOnGetFamilyChildren(std::int32_t ParentID) const {
  return checked(FOnGetFamilyChildren, "OnGetFamilyChildren")(ParentID);
}

char *TInvoiceReportForm::callOnGetInvoiceFundingKeys(std::int32_t InvoiceNo) const {
  return checked(FOnGetInvoiceFundingKeys, "OnGetInvoiceFundingKeys")(InvoiceNo);
}

void TInvoiceReportForm::callOnFillInvoiceHistory(std::int32_t InvoiceNo,
                                                  TInvHistList *List) const {
  checked(FOnFillInvoiceHistory, "OnFillInvoiceHistory")(InvoiceNo, List);
}

} // namespace TDInvoice
