// The base invoice form: the report's callbacks into the host and, later, its layout and
// band handlers. Never created by itself; CreateInvoiceReport builds one of the variants.
#pragma once

#include "TDInvoice/InvoiceReport.h"
#include "framework/Form.h"
#include "intake/HostCallbacks.h"

#include <cstdint>

namespace TDInvoice {

class TInvoiceReportForm : public TForm {
public:
  const char *formClassName() const override;

  // The six callback slots: stored and returned unchanged; null until set.
  TOnGetLocations OnGetLocations() const { return FHostCallbacks.OnGetLocations; }
  void setOnGetLocations(TOnGetLocations value) { FHostCallbacks.OnGetLocations = value; }
  TOnGetDataPacket OnGetDataPacket() const { return FHostCallbacks.OnGetDataPacket; }
  void setOnGetDataPacket(TOnGetDataPacket value) { FHostCallbacks.OnGetDataPacket = value; }
  TOnGetInvoiceMessage OnGetInvoiceMessage() const { return FHostCallbacks.OnGetInvoiceMessage; }
  void setOnGetInvoiceMessage(TOnGetInvoiceMessage value) {
    FHostCallbacks.OnGetInvoiceMessage = value;
  }
  TOnGetFamilyChildren OnGetFamilyChildren() const { return FHostCallbacks.OnGetFamilyChildren; }
  void setOnGetFamilyChildren(TOnGetFamilyChildren value) {
    FHostCallbacks.OnGetFamilyChildren = value;
  }
  TOnGetInvoiceFundingKeys OnGetInvoiceFundingKeys() const {
    return FHostCallbacks.OnGetInvoiceFundingKeys;
  }
  void setOnGetInvoiceFundingKeys(TOnGetInvoiceFundingKeys value) {
    FHostCallbacks.OnGetInvoiceFundingKeys = value;
  }
  TOnFillInvoiceHistory OnFillInvoiceHistory() const { return FHostCallbacks.OnFillInvoiceHistory; }
  void setOnFillInvoiceHistory(TOnFillInvoiceHistory value) {
    FHostCallbacks.OnFillInvoiceHistory = value;
  }
  // All six, for the query operations.
  const Intake::THostCallbacks &hostCallbacks() const { return FHostCallbacks; }

  // Calls into the host. A slot the host left empty raises Exception ("<name> is not set")
  // rather than jumping to address zero. Results pass to the caller
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
  Intake::THostCallbacks FHostCallbacks;
};

} // namespace TDInvoice
