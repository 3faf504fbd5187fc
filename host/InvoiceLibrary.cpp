#include "host/InvoiceLibrary.h"

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>

namespace TDInvoice::Host {
namespace {

template <class Function>
bool resolve(void *handle, const char *name, Function &target, std::string &error) {
  void *address = dlsym(handle, name);
  if (!address) {
    error = std::string("missing entry point ") + name;
    return false;
  }
  target = reinterpret_cast<Function>(address);
  return true;
}

} // namespace

std::string TInvoiceLibrary::locate(const std::string &explicitPath,
                                    const std::string &executableDir) {
  if (!explicitPath.empty())
    return explicitPath;
  if (const char *fromEnvironment = std::getenv(EnvironmentVariable);
      fromEnvironment && *fromEnvironment)
    return fromEnvironment;
  namespace fs = std::filesystem;
  const fs::path here(executableDir);
  const fs::path inBuildTree = here.parent_path() / "library" / FileName;
  if (fs::exists(inBuildTree))
    return inBuildTree.string();
  return (here / FileName).string();
}

bool TInvoiceLibrary::open(const std::string &path, std::string &error) {
  close();
  // Everything binds now, so a broken library fails here rather than mid-report; its
  // symbols stay private to it.
  FHandle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!FHandle) {
    const char *reason = dlerror();
    error = reason ? reason : "cannot load " + path;
    return false;
  }
  FPath = path;
  if (resolve(FHandle, FinaliseInvoiceDLLName, FinaliseInvoiceDLL, error) &&
      resolve(FHandle, InitInvoiceDLLName, InitInvoiceDLL, error) &&
      resolve(FHandle, CreateInvoiceReportName, CreateInvoiceReport, error))
    return true;
  error += " in " + path;
  close();
  return false;
}

void TInvoiceLibrary::close() {
  if (FHandle)
    dlclose(FHandle);
  FHandle = nullptr;
  FPath.clear();
  FinaliseInvoiceDLL = nullptr;
  InitInvoiceDLL = nullptr;
  CreateInvoiceReport = nullptr;
}

} // namespace TDInvoice::Host
