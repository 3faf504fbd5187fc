#include "library/Invoice.h"

#include "invoice/InvoiceReportForm.h"

namespace TDInvoice {

TInvoice::TInvoice(TInvoiceReportForm *form) : FForm(form) {}

std::int32_t TInvoice::QueryInterface(const TGUID &IID, void **Obj) {
  if (IID == IID_IInvoiceReport || IID == IID_IUnknown) {
    *Obj = static_cast<IInvoiceReport *>(this);
    AddRef();
    return S_OK;
  }
  *Obj = nullptr;
  return E_NOINTERFACE;
}

std::int32_t TInvoice::AddRef() { return ++FRefCount; }

std::int32_t TInvoice::Release() {
  const std::int32_t count = --FRefCount;
  if (count == 0)
    delete this;
  return count;
}

void TInvoice::LoadDataSet(const char *SQL) { FForm->LoadDataSet(SQL); }

void TInvoice::SetSort(const char *SortText) { FForm->SetSort(SortText); }

void TInvoice::ReleaseReport() { FForm->release(); }

void TInvoice::SetOnGetLocations(TOnGetLocations Value) { FForm->setOnGetLocations(Value); }
TOnGetLocations TInvoice::GetOnGetLocations() { return FForm->OnGetLocations(); }

void TInvoice::SetOnGetDataPacket(TOnGetDataPacket Value) { FForm->setOnGetDataPacket(Value); }
TOnGetDataPacket TInvoice::GetOnGetDataPacket() { return FForm->OnGetDataPacket(); }

void TInvoice::SetOnGetInvoiceMessage(TOnGetInvoiceMessage Value) {
  FForm->setOnGetInvoiceMessage(Value);
}
TOnGetInvoiceMessage TInvoice::GetOnGetInvoiceMessage() { return FForm->OnGetInvoiceMessage(); }

void TInvoice::SetOnGetFamilyChildren(TOnGetFamilyChildren Value) {
  FForm->setOnGetFamilyChildren(Value);
}
TOnGetFamilyChildren TInvoice::GetOnGetFamilyChildren() { return FForm->OnGetFamilyChildren(); }

void TInvoice::SetOnGetInvoiceFundingKeys(TOnGetInvoiceFundingKeys Value) {
  FForm->setOnGetInvoiceFundingKeys(Value);
}
TOnGetInvoiceFundingKeys TInvoice::GetOnGetInvoiceFundingKeys() {
  return FForm->OnGetInvoiceFundingKeys();
}

void TInvoice::SetOnFillInvoiceHistory(TOnFillInvoiceHistory Value) {
  FForm->setOnFillInvoiceHistory(Value);
}
TOnFillInvoiceHistory TInvoice::GetOnFillInvoiceHistory() { return FForm->OnFillInvoiceHistory(); }

TReportComponent *TInvoice::GetReport() { return FForm->reportComponent(); }

} // namespace TDInvoice
