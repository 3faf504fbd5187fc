// The base invoice form: the report's callbacks into the host and, later, its layout and
// band handlers. Never created by itself; CreateInvoiceReport builds one of the variants.
#pragma once

#include "TDInvoice/InvoiceReport.h"
#include "framework/Form.h"

#include <cstdint>

namespace TDInvoice {

class TInvoiceReportForm : public TForm {
public:
  const char *formClassName() const override;

  // The six callback slots: stored and returned unchanged; null until set.
  TOnGetLocations OnGetLocations() const { return FOnGetLocations; }
  void setOnGetLocations(TOnGetLocations value) { FOnGetLocations = value; }
  TOnGetDataPacket OnGetDataPacket() const { return FOnGetDataPacket; }
  void setOnGetDataPacket(TOnGetDataPacket value) { FOnGetDataPacket = value; }
  TOnGetInvoiceMessage OnGetInvoiceMessage() const { return FOnGetInvoiceMessage; }
  void setOnGetInvoiceMessage(TOnGetInvoiceMessage value) { FOnGetInvoiceMessage = value; }
  TOnGetFamilyChildren OnGetFamilyChildren() const { return FOnGetFamilyChildren; }
  void setOnGetFamilyChildren(TOnGetFamilyChildren value) { FOnGetFamilyChildren = value; }
  TOnGetInvoiceFundingKeys OnGetInvoiceFundingKeys() const { return FOnGetInvoiceFundingKeys; }
  void setOnGetInvoiceFundingKeys(TOnGetInvoiceFundingKeys value) {
    FOnGetInvoiceFundingKeys = value;
  }
  TOnFillInvoiceHistory OnFillInvoiceHistory() const { return FOnFillInvoiceHistory; }
  void setOnFillInvoiceHistory(TOnFillInvoiceHistory value) { FOnFillInvoiceHistory = value; }

  // Calls into the host. A slot the host left empty raises Exception ("The host callback
  // <name> is not set.") rather than jumping to address zero. Results pass to the caller
  // as the callback contracts say.
  TLocationTable *callOnGetLocations() const;
  TShortStringList *callOnGetDataPacket(const char *SQL) const;
  char *callOnGetInvoiceMessage(std::int32_t CloseDate) const;
  TShortStringList *callOnGetFamilyChildren(std::int32_t ParentID) const;
  char *callOnGetInvoiceFundingKeys(std::int32_t InvoiceNo) const;
  void callOnFillInvoiceHistory(std::int32_t InvoiceNo, TInvHistList *List) const;

  // The report component that GetReport hands out; none until the layout is built.
  TReportComponent *reportComponent() const { return nullptr; }

protected:
  explicit TInvoiceReportForm(QObject *owner);

private:
  TOnGetLocations FOnGetLocations = nullptr;
  TOnGetDataPacket FOnGetDataPacket = nullptr;
  TOnGetInvoiceMessage FOnGetInvoiceMessage = nullptr;
  TOnGetFamilyChildren FOnGetFamilyChildren = nullptr;
  TOnGetInvoiceFundingKeys FOnGetInvoiceFundingKeys = nullptr;
  TOnFillInvoiceHistory FOnFillInvoiceHistory = nullptr;
};

} // namespace TDInvoice
