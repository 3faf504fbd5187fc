#include "OutputTestSupport.h"
#include "report/output/ReportPageList.h"

#include <QTemporaryDir>

namespace TDInvoice::Report {
namespace {

using Testing::numberedPage;
using Testing::numberOf;
using Testing::reportError;

// A store file built by hand with a header of headerSize bytes.
QByteArray handMadeStore(int headerSize, int pages) {
  QByteArray bytes(headerSize, '\0');
  const std::uint16_t versions[2] = {3, 309};
  std::memcpy(bytes.data(), versions, 4);
  const auto count = static_cast<std::uint32_t>(pages);
  std::memcpy(bytes.data() + 8, &count, 4);
  const double created = 45000.5; // 2023-03-15 12:00
  std::memcpy(bytes.data() + 16, &created, 8);
  for (int n = 1; n <= pages; ++n) {
    const QByteArray page = numberedPage(n).encode();
    const auto start = static_cast<std::uint32_t>(bytes.size());
    const auto next = static_cast<std::uint32_t>(start + 12 + page.size());
    const auto number = static_cast<std::uint32_t>(n);
    bytes.append(reinterpret_cast<const char *>(&number), 4);
    bytes.append(reinterpret_cast<const char *>(&next), 4);
    bytes.append(page);
    bytes.append(reinterpret_cast<const char *>(&start), 4);
  }
  return bytes;
}

class StoreLoad : public ::testing::Test {
protected:
  QString file(const QByteArray &bytes) {
    const QString name = m_dir.filePath(QStringLiteral("f%1.qrp").arg(m_files++));
    Testing::writeAll(name, bytes);
    return name;
  }
  std::string loadError(const QByteArray &bytes) {
    TReportPageList store;
    const QString name = file(bytes);
    const std::string message = reportError([&] { store.loadFromFile(name); });
    EXPECT_EQ(store.pageCount(), 0) << "a failed load leaves the store empty";
    return message;
  }
  QByteArray saved(int pages, bool compress) {
    TReportPageList store;
    store.setCompression(compress);
    for (int n = 1; n <= pages; ++n)
      store.addPage(numberedPage(n));
    store.finish();
    const QString name = m_dir.filePath(QStringLiteral("saved%1.qrp").arg(m_files++));
    store.saveToFile(name);
    return Testing::readAll(name);
  }
  QTemporaryDir m_dir;
  int m_files = 0;
};

TEST_F(StoreLoad, AcceptsBothHeaderSizes) {
  for (const int headerSize : {128, 124}) {
    TReportPageList store;
    store.loadFromFile(file(handMadeStore(headerSize, 3)));
    ASSERT_EQ(store.pageCount(), 3) << headerSize;
    EXPECT_EQ(store.created(), QDateTime(QDate(2023, 3, 15), QTime(12, 0)));
    for (const int n : {3, 1, 2})
      EXPECT_EQ(numberOf(*store.getPage(n)), n) << headerSize;
  }
}

TEST_F(StoreLoad, NamesTheFaultOfABrokenFile) {
  const QByteArray good = handMadeStore(128, 2);
  auto patched = [&](qsizetype at, std::uint32_t value, int width = 4) {
    QByteArray b = good;
    std::memcpy(b.data() + at, &value, width);
    return b;
  };
  const qsizetype second = Testing::u32At(good, 132);
  struct Case {
    const char *name;
    QByteArray bytes;
    const char *message;
  };
  const Case cases[] = {
      {"empty", QByteArray(), "Invalid report file: too short for a header"},
      {"format version", patched(0, 2, 2), "Invalid report file: not a page store of this version"},
      {"engine version", patched(2, 310, 2),
       "Invalid report file: not a page store of this version"},
      {"compression flag", patched(25, 2, 1), "Invalid report file: bad compression flag"},
      {"date", patched(20, 0x7FF00000), "Invalid report file: bad creation date"},
      {"reserved byte", patched(100, 1, 1), "Invalid report file: unexpected data in the header"},
      {"first page number", patched(128, 2),
       "Invalid report file: no page record after the header"},
      {"count too high", patched(8, 3),
       "Invalid report file: page 3: Invalid report page: record position out of range"},
      {"count too low", patched(8, 1), "Invalid report file: data after the last page"},
      {"huge count", patched(8, 0x10000000), "Invalid report file: page count out of range"},
      {"second page number", patched(second, 5),
       "Invalid report file: page 2: Invalid report page: unexpected page number"},
      {"record length", patched(second + 4, 0x7FFFFFFF),
       "Invalid report file: page 2: Invalid report page: record length out of range"},
      {"record trailer", patched(good.size() - 4, 129),
       "Invalid report file: page 2: Invalid report page: record end does not match its start"},
      {"trailing bytes", good + QByteArray(4, '\0'),
       "Invalid report file: data after the last page"},
      {"page checksum", patched(second + 20, 0xABCD),
       "Invalid report file: page 2: Invalid report page: checksum mismatch"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(loadError(c.bytes), c.message) << c.name;
  const QString missing = m_dir.filePath("missing.qrp");
  TReportPageList store;
  EXPECT_EQ(reportError([&] { store.loadFromFile(missing); }),
            "Cannot open the report file " + missing.toStdString());
}

TEST_F(StoreLoad, EveryTruncationFails) {
  for (const bool compress : {false, true}) {
    const QByteArray good = saved(3, compress);
    for (qsizetype length = 0; length < good.size(); ++length)
      EXPECT_NE(loadError(good.left(length)).rfind("Invalid report file: ", 0), std::string::npos)
          << "compress " << compress << " length " << length;
  }
}

// The creation date carries no check of its own: a changed date may still load, but then
// every page must be intact.
TEST_F(StoreLoad, EveryCorruptedByteFailsOrOnlyChangesTheDate) {
  for (const bool compress : {false, true}) {
    const QByteArray good = saved(3, compress);
    for (qsizetype i = 0; i < good.size(); ++i) {
      QByteArray bad = good;
      bad[i] = static_cast<char>(bad[i] ^ 0xFF);
      TReportPageList store;
      const QString name = file(bad);
      const bool dateByte = i >= 16 && i < 24;
      if (!dateByte) {
        const std::string message = reportError([&] { store.loadFromFile(name); });
        EXPECT_EQ(message.rfind("Invalid report file: ", 0), 0u)
            << "compress " << compress << " byte " << i << ": " << message;
        continue;
      }
      try {
        store.loadFromFile(name);
        ASSERT_EQ(store.pageCount(), 3);
        for (int n = 1; n <= 3; ++n)
          EXPECT_TRUE(*store.getPage(n) == numberedPage(n)) << "byte " << i;
      } catch (const EReportError &error) {
        EXPECT_STREQ(error.what(), "Invalid report file: bad creation date") << "byte " << i;
      }
    }
  }
}

TEST_F(StoreLoad, AFailedLoadOfALargeFileLeavesNoTemporaryFile) {
  Testing::PrivateTempFolder temp;
  QByteArray good;
  {
    TReportPageList store;
    for (int n = 1; n <= 120; ++n)
      store.addPage(numberedPage(n, 20));
    store.finish();
    ASSERT_TRUE(store.stream().spilled());
    const QString name = m_dir.filePath("large.qrp");
    store.saveToFile(name);
    good = Testing::readAll(name);
  }
  ASSERT_TRUE(temp.files().isEmpty());
  QByteArray bad = good;
  bad[bad.size() - 1] = static_cast<char>(bad[bad.size() - 1] ^ 1);
  {
    TReportPageList store;
    EXPECT_EQ(loadError(bad), "Invalid report file: page 120: Invalid report page: record end does "
                              "not match its start");
    EXPECT_TRUE(temp.files().isEmpty()) << temp.files().join(",").toStdString();
    store.loadFromFile(file(good));
    EXPECT_TRUE(store.stream().spilled());
    EXPECT_EQ(temp.files().size(), 1);
    EXPECT_EQ(numberOf(*store.getPage(120)), 120);
  }
  EXPECT_TRUE(temp.files().isEmpty());
}

} // namespace
} // namespace TDInvoice::Report
