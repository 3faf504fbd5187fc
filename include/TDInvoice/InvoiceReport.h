// The host's view of the invoice library: the report interface, the six host callbacks and
// the three exported functions.
//
// A host loads libTDInvoiceReportsQVS.so, publishes its shared allocator before doing so
// (SharedAllocator.h), and then drives the library through:
//   InitInvoiceDLL      once, handing over its application and screen objects;
//   CreateInvoiceReport for each report, then the IInvoiceReport slots below;
//   FinaliseInvoiceDLL  once, after the last report form is gone, before unloading.
// Everything runs on the host's GUI thread. Errors arrive as the exceptions of
// Exceptions.h, catchable by type.
#pragma once

#include <cstdint>

class QObject;

namespace TDInvoice {

class TApplication;
class TScreen;
class TLocationTable;
class TShortStringList;
class TInvHistList;
class TReportComponent;

// A COM-style interface identifier.
struct TGUID {
  std::uint32_t D1;
  std::uint16_t D2;
  std::uint16_t D3;
  std::uint8_t D4[8];

  friend constexpr bool operator==(const TGUID &a, const TGUID &b) {
    if (a.D1 != b.D1 || a.D2 != b.D2 || a.D3 != b.D3)
      return false;
    for (int i = 0; i < 8; ++i)
      if (a.D4[i] != b.D4[i])
        return false;
    return true;
  }
};

// IInvoiceReport is identified by the all-zero identifier.
inline constexpr TGUID IID_IInvoiceReport{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
// The base interface every reference-counted object answers to.
inline constexpr TGUID IID_IUnknown{0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// QueryInterface results (the COM status codes).
inline constexpr std::int32_t S_OK = 0;
inline constexpr std::int32_t E_NOINTERFACE = static_cast<std::int32_t>(0x80004002u);

// The host callbacks: plain function addresses with no bound object. What a callback
// returns passes to the library. String buffers come from the shared allocator
// (allocStringBuffer); a null buffer means an empty text.
using TOnGetLocations = TLocationTable *(*)();
using TOnGetDataPacket = TShortStringList *(*)(const char *SQL);
using TOnGetInvoiceMessage = char *(*)(std::int32_t CloseDate);
using TOnGetFamilyChildren = TShortStringList *(*)(std::int32_t ParentID);
using TOnGetInvoiceFundingKeys = char *(*)(std::int32_t InvoiceNo);
using TOnFillInvoiceHistory = void (*)(std::int32_t InvoiceNo, TInvHistList *List);

// One invoice report. The virtual functions are the interface's slots, in slot order; the
// class declares nothing else virtual, so its table holds exactly these 19 entries. The host
// never deletes the object: it drops its reference with Release.
class IInvoiceReport {
public:
  virtual std::int32_t QueryInterface(const TGUID &IID, void **Obj) = 0;
  virtual std::int32_t AddRef() = 0;
  // At zero the object is destroyed; the report form is not.
  virtual std::int32_t Release() = 0;
  // Loads the report's rows: the SQL text goes to OnGetDataPacket.
  virtual void LoadDataSet(const char *SQL) = 0;
  // A comma-separated list of field names, each optionally followed by ASC or DESC.
  virtual void SetSort(const char *SortText) = 0;
  // Destroys the form once the event being handled has finished; safe from inside a
  // callback. Afterwards only Release may be called.
  virtual void ReleaseReport() = 0;
  virtual void SetOnGetLocations(TOnGetLocations Value) = 0;
  virtual TOnGetLocations GetOnGetLocations() = 0;
  virtual void SetOnGetDataPacket(TOnGetDataPacket Value) = 0;
  virtual TOnGetDataPacket GetOnGetDataPacket() = 0;
  virtual void SetOnGetInvoiceMessage(TOnGetInvoiceMessage Value) = 0;
  virtual TOnGetInvoiceMessage GetOnGetInvoiceMessage() = 0;
  virtual void SetOnGetFamilyChildren(TOnGetFamilyChildren Value) = 0;
  virtual TOnGetFamilyChildren GetOnGetFamilyChildren() = 0;
  virtual void SetOnGetInvoiceFundingKeys(TOnGetInvoiceFundingKeys Value) = 0;
  virtual TOnGetInvoiceFundingKeys GetOnGetInvoiceFundingKeys() = 0;
  virtual void SetOnFillInvoiceHistory(TOnFillInvoiceHistory Value) = 0;
  virtual TOnFillInvoiceHistory GetOnFillInvoiceHistory() = 0;
  // The report component, not counted; valid while the form lives.
  virtual TReportComponent *GetReport() = 0;

protected:
  ~IInvoiceReport() = default;
};

inline constexpr int IInvoiceReportSlotCount = 19;

// The exported functions' types, for a host that resolves them with dlsym.
using TFinaliseInvoiceDLL = void (*)();
using TInitInvoiceDLL = void (*)(TApplication *Application, TScreen *Screen);
using TCreateInvoiceReport = void (*)(IInvoiceReport *&Report, QObject *Owner,
                                      std::int32_t PaymentType, std::int16_t WithCard,
                                      std::int16_t Extended);

inline constexpr const char *FinaliseInvoiceDLLName = "FinaliseInvoiceDLL";
inline constexpr const char *InitInvoiceDLLName = "InitInvoiceDLL";
inline constexpr const char *CreateInvoiceReportName = "CreateInvoiceReport";

} // namespace TDInvoice

#define TDI_EXPORT __attribute__((visibility("default")))

extern "C" {

// Gives the library its own application and screen objects back.
TDI_EXPORT void FinaliseInvoiceDLL();

// Makes the host's application and screen the library's current ones; the library's own
// are kept until FinaliseInvoiceDLL. Call once per FinaliseInvoiceDLL.
TDI_EXPORT void InitInvoiceDLL(TDInvoice::TApplication *Application, TDInvoice::TScreen *Screen);

// Builds one invoice report and stores its interface in Report, releasing a reference that
// Report already holds. Owner (may be null) owns the report form. A 16-bit boolean is true
// when any bit is set. On failure the exception propagates and Report is left unchanged.
TDI_EXPORT void CreateInvoiceReport(TDInvoice::IInvoiceReport *&Report, QObject *Owner,
                                    std::int32_t PaymentType, std::int16_t WithCard,
                                    std::int16_t Extended);
}
