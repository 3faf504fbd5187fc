#include "OutputTestSupport.h"

#include "report/output/ReportPageList.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <bit>

namespace TDInvoice::Report {
namespace {

using Testing::numberedPage;
using Testing::numberOf;
using Testing::u16At;
using Testing::u32At;

QByteArray storeBytes(const TReportPageList &store) {
  auto &stream = const_cast<TReportStream &>(store.stream());
  return stream.readAt(0, stream.size());
}

TReportPageList &fill(TReportPageList &store, int pages, int labels = 1) {
  for (int n = 1; n <= pages; ++n)
    store.addPage(numberedPage(n, labels));
  store.finish();
  return store;
}

TEST(PageStoreLayout, HeaderCarriesVersionsCountDateAndFlag) {
  for (const bool compress : {false, true}) {
    TReportPageList store;
    store.setCompression(compress);
    store.addPage(numberedPage(1));
    // Written with the first page, count still 0 until the document ends.
    QByteArray bytes = storeBytes(store);
    EXPECT_EQ(u32At(bytes, 8), 0u);
    store.addPage(numberedPage(2));
    store.addPage(numberedPage(3));
    store.finish();
    bytes = storeBytes(store);
    EXPECT_EQ(u16At(bytes, 0), 3);
    EXPECT_EQ(u16At(bytes, 2), 309);
    EXPECT_EQ(u32At(bytes, 8), 3u);
    EXPECT_EQ(bytes[25], compress ? 1 : 0);
    const double days = std::bit_cast<double>(readLittleEndian<std::uint64_t>(bytes, 16));
    const double now = QDate(1899, 12, 30).daysTo(QDate::currentDate()) +
                       QTime::currentTime().msecsSinceStartOfDay() / 86400000.0;
    EXPECT_NEAR(days, now, 2.0 / 1440) << "within two minutes of now";
    for (int i = 0; i < 128; ++i) {
      const bool field = i < 4 || (i >= 8 && i < 12) || (i >= 16 && i < 24) || i == 25;
      if (!field) {
        EXPECT_EQ(bytes[i], 0) << "header byte " << i;
      }
    }
  }
}

TEST(PageStoreLayout, RecordsChainForwardAndEndWithTheLastRecordsStart) {
  for (const bool compress : {false, true}) {
    TReportPageList store;
    store.setCompression(compress);
    fill(store, 3);
    const QByteArray bytes = storeBytes(store);
    qint64 start = 128;
    std::vector<qint64> starts;
    for (std::uint32_t n = 1; n <= 3; ++n) {
      ASSERT_EQ(u32At(bytes, start), n);
      const qint64 next = u32At(bytes, start + 4);
      ASSERT_GT(next, start + 12);
      EXPECT_EQ(u32At(bytes, next - 4), start) << "record " << n << " ends with its start";
      const QByteArray payload = bytes.mid(start + 8, next - start - 12);
      if (compress) {
        EXPECT_FALSE(TMetaPage::hasSignature(payload.constData(), payload.size()));
        EXPECT_EQ(u32At(payload, 0), numberedPage(int(n)).encode().size());
      } else {
        EXPECT_EQ(payload, numberedPage(int(n)).encode());
      }
      starts.push_back(start);
      start = next;
    }
    EXPECT_EQ(start, bytes.size());
    EXPECT_EQ(u32At(bytes, bytes.size() - 4), starts.back());
  }
}

TEST(PageStoreFetch, PagesAreFoundByWalkingStoredPositions) {
  TReportPageList store;
  fill(store, 5);
  struct Step {
    int page;
    int walk; // records stepped over from the nearest known record, negative going back
  };
  // The last page straight from the trailer; then back from the current record, or forward
  // from the first, or back from the last, whichever is nearest.
  const Step steps[] = {{5, 0}, {3, -2}, {2, -1}, {1, 0}, {4, -1}, {2, 1}, {5, 0}};
  for (const Step s : steps) {
    const auto page = store.getPage(s.page);
    ASSERT_TRUE(page);
    EXPECT_EQ(numberOf(*page), s.page);
    EXPECT_EQ(store.lastWalk(), s.walk) << "page " << s.page;
  }
  EXPECT_EQ(store.getPage(0), nullptr);
  EXPECT_EQ(store.getPage(6), nullptr);
}

TEST(PageStoreFetch, ThreePageStoreFetchesPageTwoAfterPageThreeByWalkingBack) {
  TReportPageList store;
  fill(store, 3);
  ASSERT_EQ(numberOf(*store.getPage(3)), 3);
  EXPECT_EQ(store.lastWalk(), 0);
  const auto two = store.getPage(2);
  EXPECT_EQ(numberOf(*two), 2);
  EXPECT_EQ(store.lastWalk(), -1);
}

TEST(PageStoreSpill, GrowingPastTheLimitMovesToATemporaryFileRemovedWithTheStore) {
  QString spilledName;
  {
    TReportPageList store;
    int pages = 0;
    while (!store.stream().spilled()) {
      ASSERT_LE(store.stream().size(), TReportStream::kMemoryLimit);
      store.addPage(numberedPage(++pages, 20));
    }
    EXPECT_GT(store.stream().size(), TReportStream::kMemoryLimit);
    spilledName = store.stream().fileName();
    EXPECT_TRUE(spilledName.startsWith(QDir::tempPath() + "/"));
    EXPECT_TRUE(QFileInfo::exists(spilledName));
    EXPECT_EQ(QFileInfo(spilledName).size(), store.stream().size());
    for (int i = 0; i < 20; ++i)
      store.addPage(numberedPage(++pages, 20));
    store.finish();
    for (int n = pages; n >= 1; --n)
      EXPECT_EQ(numberOf(*store.getPage(n)), n);
  }
  EXPECT_FALSE(QFileInfo::exists(spilledName));
}

TEST(PageStoreFile, SaveAndLoadRoundTripEveryPage) {
  QTemporaryDir dir;
  for (const bool compress : {false, true}) {
    for (const int pages : {0, 1, 7, 60}) {
      TReportPageList store;
      store.setCompression(compress);
      fill(store, pages, 10);
      const QString name = dir.filePath(QStringLiteral("r%1%2.qrp").arg(compress).arg(pages));
      store.saveToFile(name);
      TReportPageList loaded;
      loaded.loadFromFile(name);
      ASSERT_EQ(loaded.pageCount(), pages);
      EXPECT_EQ(loaded.compression(), compress);
      EXPECT_LE(std::abs(loaded.created().msecsTo(store.created())), 1);
      for (int n = 1; n <= pages; ++n)
        EXPECT_TRUE(*loaded.getPage(n) == numberedPage(n, 10)) << n;
      // A loaded store saves to the same bytes.
      const QString again = name + ".again";
      loaded.saveToFile(again);
      EXPECT_EQ(Testing::readAll(again), Testing::readAll(name));
    }
  }
}

TEST(PageStoreFile, SavingAnUnfinishedStoreWritesTheCurrentCount) {
  QTemporaryDir dir;
  TReportPageList store;
  store.addPage(numberedPage(1));
  store.addPage(numberedPage(2));
  const QString name = dir.filePath("open.qrp");
  store.saveToFile(name);
  EXPECT_EQ(u32At(Testing::readAll(name), 8), 2u);
  TReportPageList loaded;
  loaded.loadFromFile(name);
  EXPECT_EQ(loaded.pageCount(), 2);
}

TEST(PageStoreFile, CompressionShrinksRepetitivePages) {
  TReportPageList plain, packed;
  packed.setCompression(true);
  fill(plain, 5, 40);
  fill(packed, 5, 40);
  EXPECT_LT(packed.stream().size() * 3, plain.stream().size());
}

} // namespace
} // namespace TDInvoice::Report
