// The report component as a host sees it: what GetReport hands out. The host previews,
// prints or configures an invoice report through this interface; the library's report
// object implements it. Valid while the report form lives.
#pragma once

#include <cstdint>

namespace TDInvoice {

// Output bins and their printer bin codes.
enum class TReportBin : std::int32_t {
  First = 1, Upper = 1, Lower = 2, Middle = 3, Manual = 4, Envelope = 5, EnvManual = 6,
  Auto = 7, Tractor = 8, SmallFormat = 9, LargeFormat = 10, LargeCapacity = 11, Cassette = 14,
  Last = 14
};

// The printer settings a host may change before printing. FirstPage and LastPage 0 mean
// "no limit"; PrinterIndex -1 is the default printer.
struct TReportPrinterSettingsValues {
  std::int32_t Copies = 1;
  bool Duplex = false;
  std::int32_t FirstPage = 0;
  std::int32_t LastPage = 0;
  TReportBin OutputBin = TReportBin::Auto;
  std::int32_t PrinterIndex = -1;
};

class TReportComponent {
public:
  // Runs the report onto the printer (nothing happens when no printer is installed).
  virtual void print() = 0;
  // Runs the report into a preview window; returns when the window is closed.
  virtual void preview() = 0;
  // Runs the report into a recorded page store and writes it as a PDF, PNG pages (one
  // file per page, FileName being a folder) or a saved page store ("qrp"). Returns the page
  // count. Errors of the run propagate as exceptions.
  virtual std::int32_t exportTo(const char *FileName, const char *Format) = 0;

  virtual TReportPrinterSettingsValues printerSettings() const = 0;
  virtual void setPrinterSettings(const TReportPrinterSettingsValues &Settings) = 0;
  // The title is a null-terminated 8-bit text; the returned pointer lives until the next
  // call of reportTitle or setReportTitle.
  virtual const char *reportTitle() const = 0;
  virtual void setReportTitle(const char *Title) = 0;
  virtual bool showProgress() const = 0;
  virtual void setShowProgress(bool Show) = 0;
  // Progress of a running export or print, 0..100, for a host's own progress display.
  using TProgressCallback = void (*)(void *Context, std::int32_t Percent);
  virtual void setProgressCallback(TProgressCallback Callback, void *Context) = 0;

protected:
  ~TReportComponent() = default;
};

}  // namespace TDInvoice
