#include "OutputTestSupport.h"
#include "report/output/ReportPageList.h"

#include <atomic>
#include <random>
#include <thread>

namespace TDInvoice::Report {
namespace {

using Testing::numberedPage;
using Testing::numberOf;

// The preview reads pages while the run adds them; the store's lock keeps every fetched page
// whole, across the move to the temporary file as well.
TEST(PageStoreConcurrency, PagesFetchedWhileOthersAreAddedAreIntact) {
  for (const bool compress : {false, true}) {
    TReportPageList store;
    store.setCompression(compress);
    constexpr int kPages = 300;
    std::atomic<int> added{0};
    std::atomic<int> mismatches{0};
    std::atomic<int> fetched{0};
    std::thread reader([&] {
      std::mt19937 random(7);
      while (added.load() < kPages) {
        const int available = added.load();
        if (available == 0)
          continue;
        const int n = 1 + int(random() % unsigned(available));
        const auto page = store.getPage(n);
        if (!page || numberOf(*page) != n || !(*page == numberedPage(n, 8)))
          ++mismatches;
        ++fetched;
      }
    });
    for (int n = 1; n <= kPages; ++n) {
      store.addPage(numberedPage(n, 8));
      added.store(n);
      // Now and then let the reader catch up, so that reads overlap the writing even when
      // the scheduler would run the writer to the end first.
      if (n % 30 == 0 && n < kPages) {
        const int before = fetched.load();
        while (fetched.load() == before)
          std::this_thread::yield();
      }
    }
    reader.join();
    store.finish();
    if (!compress) {
      EXPECT_TRUE(store.stream().spilled());
    }
    EXPECT_EQ(mismatches.load(), 0) << "compress " << compress;
    EXPECT_GT(fetched.load(), 0);
  }
}

} // namespace
} // namespace TDInvoice::Report
