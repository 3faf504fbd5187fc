// The invoice library as the host loads it: dlopen, the three entry points, dlclose.
#pragma once

#include "TDInvoice/InvoiceReport.h"

#include <string>

namespace TDInvoice::Host {

class TInvoiceLibrary {
public:
  static constexpr const char *FileName = "libTDInvoiceReportsQVS.so";
  static constexpr const char *EnvironmentVariable = "TDINVOICE_LIBRARY";

  // Where to load the library from: explicitPath when given, else $TDINVOICE_LIBRARY, else
  // next to the executable (the build tree's library/ beside host/, then the executable's
  // own folder).
  static std::string locate(const std::string &explicitPath, const std::string &executableDir);

  TInvoiceLibrary() = default;
  TInvoiceLibrary(const TInvoiceLibrary &) = delete;
  TInvoiceLibrary &operator=(const TInvoiceLibrary &) = delete;
  ~TInvoiceLibrary() { close(); }

  // Loads the library and resolves the entry points; false with error set on failure.
  bool open(const std::string &path, std::string &error);
  void close();
  bool isOpen() const { return FHandle != nullptr; }
  const std::string &path() const { return FPath; }

  TFinaliseInvoiceDLL FinaliseInvoiceDLL = nullptr;
  TInitInvoiceDLL InitInvoiceDLL = nullptr;
  TCreateInvoiceReport CreateInvoiceReport = nullptr;

private:
  void *FHandle = nullptr;
  std::string FPath;
};

} // namespace TDInvoice::Host
