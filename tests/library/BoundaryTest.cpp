// The library as a host meets it: loaded with dlopen, reached through its three exported
// functions only. This program links none of the library's code; it publishes the shared
// allocator, as a host must, before loading.
#include "TDInvoice/Application.h"
#include "TDInvoice/Exceptions.h"
#include "TDInvoice/InvoiceReport.h"
#include "TDInvoice/SharedAllocator.h"
#include "TDInvoice/ShortStringList.h"

#include <QGuiApplication>
#include <QObject>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <dlfcn.h>
#include <memory>
#include <set>
#include <sstream>
#include <string>

namespace TDInvoice {
namespace {

// The names the dynamic symbol table defines, as `nm -D --defined-only` lists them.
std::set<std::string> definedDynamicSymbols(const std::string &path) {
  const std::string command = "nm -D --defined-only '" + path + "'";
  std::unique_ptr<FILE, int (*)(FILE *)> pipe(popen(command.c_str(), "r"), pclose);
  std::set<std::string> names;
  if (!pipe)
    return names;
  std::array<char, 512> line;
  while (std::fgets(line.data(), line.size(), pipe.get())) {
    std::istringstream fields(line.data());
    std::string address, type, name;
    if (fields >> address >> type >> name)
      names.insert(name);
  }
  return names;
}

TEST(LibraryExports, DynamicSymbolTableHoldsExactlyTheThreeEntryPoints) {
  const std::set<std::string> expected{"CreateInvoiceReport", "FinaliseInvoiceDLL",
                                       "InitInvoiceDLL"};
  EXPECT_EQ(definedDynamicSymbols(TDI_LIBRARY_PATH), expected);
}

// One load of the library for the suite, driven in the host's order.
class LoadedLibraryTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    FHandle = dlopen(TDI_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(FHandle, nullptr) << dlerror();
    resolve();
    FHostApplication = new TApplication(QCoreApplication::instance());
    FHostScreen = new TScreen(QGuiApplication::primaryScreen());
    FInit(FHostApplication, FHostScreen);
  }
  static void TearDownTestSuite() {
    if (!FHandle)
      return;
    FFinalise();
    dlclose(FHandle);
    FHandle = nullptr;
    delete FHostApplication;
    delete FHostScreen;
  }
  static void resolve() {
    FFinalise = reinterpret_cast<TFinaliseInvoiceDLL>(dlsym(FHandle, FinaliseInvoiceDLLName));
    FInit = reinterpret_cast<TInitInvoiceDLL>(dlsym(FHandle, InitInvoiceDLLName));
    FCreate = reinterpret_cast<TCreateInvoiceReport>(dlsym(FHandle, CreateInvoiceReportName));
    ASSERT_NE(FFinalise, nullptr);
    ASSERT_NE(FInit, nullptr);
    ASSERT_NE(FCreate, nullptr);
  }
  void SetUp() override {
    if (!FHandle)
      GTEST_SKIP() << "library not loaded";
  }
  static void flushReleasedForms() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  static inline void *FHandle = nullptr;
  static inline TFinaliseInvoiceDLL FFinalise = nullptr;
  static inline TInitInvoiceDLL FInit = nullptr;
  static inline TCreateInvoiceReport FCreate = nullptr;
  static inline TApplication *FHostApplication = nullptr;
  static inline TScreen *FHostScreen = nullptr;
};

// The library adopted this program's allocator, so its objects show in our block count.
TEST_F(LoadedLibraryTest, ReportsLiveInTheHostsHeapAndAreFreedOnRelease) {
  const std::int64_t baseline = sharedBlockCount();
  IInvoiceReport *report = nullptr;
  FCreate(report, nullptr, 3, 256, 0);
  ASSERT_NE(report, nullptr);
  EXPECT_GT(sharedBlockCount(), baseline);
  report->SetOnGetDataPacket([](const char *) -> TShortStringList * { return nullptr; });
  EXPECT_NE(report->GetOnGetDataPacket(), nullptr);
  report->ReleaseReport();
  EXPECT_EQ(report->Release(), 0);
  flushReleasedForms();
  EXPECT_EQ(sharedBlockCount(), baseline);
}

TEST_F(LoadedLibraryTest, DestroyingTheHostsOwnerDestroysTheLibrarysForm) {
  const std::int64_t baseline = sharedBlockCount();
  auto owner = std::make_unique<QObject>();
  IInvoiceReport *report = nullptr;
  FCreate(report, owner.get(), 2, 0, 1);
  EXPECT_EQ(report->Release(), 0);
  EXPECT_GT(sharedBlockCount(), baseline) << "the form stays with its owner";
  owner.reset();
  EXPECT_EQ(sharedBlockCount(), baseline);
}

// Exceptions thrown inside the library reach the host with their type intact.
TEST_F(LoadedLibraryTest, LibraryExceptionsAreCaughtByTypeInTheHost) {
  IInvoiceReport *report = nullptr;
  FCreate(report, nullptr, 1, 0, 0);
  const std::function<void()> calls[] = {
      [report] { report->LoadDataSet("SELECT * FROM Invoices"); },
      [report] { report->SetSort("InvoiceNo"); },
  };
  for (const auto &call : calls) {
    bool caughtAsException = false;
    try {
      call();
    } catch (const EListError &) {
      ADD_FAILURE() << "caught as an unrelated class";
    } catch (const Exception &error) {
      caughtAsException = !error.message().empty();
    } catch (...) {
      ADD_FAILURE() << "type lost across the boundary";
    }
    EXPECT_TRUE(caughtAsException);
  }
  report->ReleaseReport();
  report->Release();
  flushReleasedForms();
}

int gPacketsHandedOver = 0;

// A packet built by the host from its own copy of the list classes; it is not a valid
// recordset, so loading fails after the library has taken it.
TShortStringList *hostBuiltPacket(const char *) {
  ++gPacketsHandedOver;
  auto *packet = new TShortStringList();
  packet->Add("bm90IGEgcmVjb3Jkc2V0");
  packet->AddWithTag("second line", 7);
  return packet;
}

TEST_F(LoadedLibraryTest, HostBuiltPacketIsDestroyedByTheLibrary) {
  IInvoiceReport *report = nullptr;
  FCreate(report, nullptr, 1, 0, 0);
  report->SetOnGetDataPacket(hostBuiltPacket);
  gPacketsHandedOver = 0;
  const std::int64_t before = sharedBlockCount();
  try {
    report->LoadDataSet("SELECT * FROM Invoices");
  } catch (const Exception &) {
    // Expected: the packet holds no recordset. What matters is where the list went.
  }
  const std::int64_t after = sharedBlockCount();
  report->ReleaseReport();
  report->Release();
  flushReleasedForms();
  if (gPacketsHandedOver == 0)
    GTEST_SKIP() << "LoadDataSet does not ask the host for a packet yet";
  EXPECT_EQ(gPacketsHandedOver, 1);
  EXPECT_EQ(after, before) << "the list and its items were freed into the host's heap";
}

// Unloading and loading again runs the module's start-up again: it adopts our allocator
// once more, which the first unload must not have withdrawn.
TEST_F(LoadedLibraryTest, ReloadingAdoptsTheHostsAllocatorAgain) {
  FFinalise();
  dlclose(FHandle);
  FHandle = dlopen(TDI_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(FHandle, nullptr) << dlerror();
  resolve();
  FInit(FHostApplication, FHostScreen);

  const std::int64_t baseline = sharedBlockCount();
  IInvoiceReport *report = nullptr;
  FCreate(report, nullptr, 1, 0, 1);
  EXPECT_GT(sharedBlockCount(), baseline);
  report->ReleaseReport();
  report->Release();
  flushReleasedForms();
  EXPECT_EQ(sharedBlockCount(), baseline);
}

} // namespace
} // namespace TDInvoice

int main(int argc, char **argv) {
  TDInvoice::initialiseSharedAllocator();
  ::testing::InitGoogleTest(&argc, argv);
  // Also when the test runner lists the tests, outside the tests' environment.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
