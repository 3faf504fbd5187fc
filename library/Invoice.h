// The reference-counted invoice report object behind IInvoiceReport.
#pragma once

#include "TDInvoice/InvoiceReport.h"
#include "TDInvoice/SharedAllocator.h"

#include <cstdint>

namespace TDInvoice {

class TInvoiceReportForm;

// Holds the form without owning it: the last Release destroys this object and leaves the
// form to its owner or to ReleaseReport. It does not notice the form's destruction, so
// after ReleaseReport the host may only call Release. The count starts at zero; whoever
// hands the object out counts the first reference.
class TInvoice final : public IInvoiceReport, public TSharedObject {
public:
  explicit TInvoice(TInvoiceReportForm *form);

  std::int32_t QueryInterface(const TGUID &IID, void **Obj) override;
  std::int32_t AddRef() override;
  std::int32_t Release() override;
  void LoadDataSet(const char *SQL) override;
  void SetSort(const char *SortText) override;
  void ReleaseReport() override;
  void SetOnGetLocations(TOnGetLocations Value) override;
  TOnGetLocations GetOnGetLocations() override;
  void SetOnGetDataPacket(TOnGetDataPacket Value) override;
  TOnGetDataPacket GetOnGetDataPacket() override;
  void SetOnGetInvoiceMessage(TOnGetInvoiceMessage Value) override;
  TOnGetInvoiceMessage GetOnGetInvoiceMessage() override;
  void SetOnGetFamilyChildren(TOnGetFamilyChildren Value) override;
  TOnGetFamilyChildren GetOnGetFamilyChildren() override;
  void SetOnGetInvoiceFundingKeys(TOnGetInvoiceFundingKeys Value) override;
  TOnGetInvoiceFundingKeys GetOnGetInvoiceFundingKeys() override;
  void SetOnFillInvoiceHistory(TOnFillInvoiceHistory Value) override;
  TOnFillInvoiceHistory GetOnFillInvoiceHistory() override;
  TReportComponent *GetReport() override;

  TInvoiceReportForm *form() const { return FForm; }
  std::int32_t refCount() const { return FRefCount; }

private:
  ~TInvoice() = default;

  std::int32_t FRefCount = 0;
  TInvoiceReportForm *FForm;
};

} // namespace TDInvoice
