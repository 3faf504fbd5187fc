#include "report/output/ReportPageList.h"

#include "report/output/ByteIO.h"

#include <QFile>
#include <QSaveFile>
#include <cmath>
#include <zlib.h>

namespace TDInvoice::Report {

namespace {

constexpr qint64 kRecordOverhead = 12; // page number, next position, start position
constexpr qint64 kMaxPosition = 0xFFFFFFFFLL;
constexpr std::uint32_t kMaxPageBytes = 256u * 1024 * 1024;
constexpr qint64 kCopyChunk = 1 << 20;
const QDate kDateBase(1899, 12, 30);

[[noreturn]] void invalidFile(const std::string &detail) {
  throw EReportError("Invalid report file: " + detail);
}

double daysSinceBase(const QDateTime &t) {
  return static_cast<double>(kDateBase.daysTo(t.date())) +
         t.time().msecsSinceStartOfDay() / 86400000.0;
}

QDateTime dateTimeOfDays(double days) {
  const double whole = std::floor(days);
  const auto msecs = static_cast<int>(std::lround((days - whole) * 86400000.0));
  return QDateTime(kDateBase.addDays(static_cast<qint64>(whole)), QTime(0, 0)).addMSecs(msecs);
}

// Stored pages are compressed with zlib (deflate with its own header and checksum).
QByteArray compressPage(const QByteArray &page) {
  uLongf length = compressBound(static_cast<uLong>(page.size()));
  QByteArray out(static_cast<qsizetype>(length) + 4, Qt::Uninitialized);
  const auto size = static_cast<std::uint32_t>(page.size());
  std::memcpy(out.data(), &size, 4);
  if (compress2(reinterpret_cast<Bytef *>(out.data() + 4), &length,
                reinterpret_cast<const Bytef *>(page.constData()), static_cast<uLong>(page.size()),
                Z_BEST_SPEED) != Z_OK)
    throw EReportError("Cannot compress a report page");
  out.resize(static_cast<qsizetype>(length) + 4);
  return out;
}

QByteArray uncompressPage(const QByteArray &payload) {
  if (payload.size() < 4)
    throw EReportError("Invalid report page: compressed record too short");
  const std::uint32_t size = readU32(payload, 0);
  if (size > kMaxPageBytes)
    throw EReportError("Invalid report page: compressed length out of range");
  QByteArray out(static_cast<qsizetype>(size), Qt::Uninitialized);
  uLongf length = size;
  const int rc = uncompress(reinterpret_cast<Bytef *>(out.data()), &length,
                            reinterpret_cast<const Bytef *>(payload.constData() + 4),
                            static_cast<uLong>(payload.size() - 4));
  if (rc != Z_OK || length != size)
    throw EReportError("Invalid report page: bad compressed data");
  return out;
}

std::uint32_t u32At(TReportStream &stream, qint64 at) { return readU32(stream.readAt(at, 4), 0); }

} // namespace

TReportPageList::TReportPageList() = default;
TReportPageList::~TReportPageList() = default;

void TReportPageList::setCompression(bool on) {
  std::lock_guard guard(m_lock);
  if (m_count == 0)
    m_compression = on;
}

bool TReportPageList::compression() const {
  std::lock_guard guard(m_lock);
  return m_compression;
}

QDateTime TReportPageList::created() const {
  std::lock_guard guard(m_lock);
  return m_created;
}

int TReportPageList::pageCount() const {
  std::lock_guard guard(m_lock);
  return m_count;
}

int TReportPageList::lastWalk() const {
  std::lock_guard guard(m_lock);
  return m_lastWalk;
}

QByteArray TReportPageList::headerBytes(int count) const {
  QByteArray header(kHeaderSize, '\0');
  auto put = [&header](int at, const void *value, int size) {
    std::memcpy(header.data() + at, value, size);
  };
  put(0, &kFormatVersion, 2);
  put(2, &kEngineVersion, 2);
  const auto pages = static_cast<std::uint32_t>(count);
  put(8, &pages, 4);
  const double created = daysSinceBase(m_created);
  put(16, &created, 8);
  header[25] = m_compression ? 1 : 0;
  return header.left(m_headerSize);
}

void TReportPageList::addPage(const TMetaPage &page) {
  std::lock_guard guard(m_lock);
  if (m_count == 0) {
    m_stream.clear();
    m_headerSize = kHeaderSize;
    m_created = QDateTime::currentDateTime();
    m_stream.writeAt(0, headerBytes(0));
  }
  const qint64 start = m_stream.size();
  const QByteArray encoded = page.encode();
  const QByteArray payload = m_compression ? compressPage(encoded) : encoded;
  const qint64 next = start + payload.size() + kRecordOverhead;
  if (next > kMaxPosition)
    throw EReportError("The report pages exceed the page store's size");
  QByteArray record;
  record.reserve(payload.size() + kRecordOverhead);
  TByteWriter w(record);
  w.u32(static_cast<std::uint32_t>(m_count + 1));
  w.u32(static_cast<std::uint32_t>(next));
  record.append(payload);
  w.u32(static_cast<std::uint32_t>(start));
  m_stream.writeAt(start, record);
  ++m_count;
  m_lastStart = start;
}

void TReportPageList::finish() {
  std::lock_guard guard(m_lock);
  if (m_count > 0)
    m_stream.writeAt(0, headerBytes(m_count));
}

void TReportPageList::clear() {
  std::lock_guard guard(m_lock);
  m_stream.clear();
  m_count = 0;
  m_headerSize = kHeaderSize;
  m_lastStart = 0;
  m_currentPage = 0;
  m_currentStart = 0;
  m_lastWalk = 0;
  m_created = QDateTime();
}

// Finds the start of record n by following stored positions from the nearest known record:
// the current one, the first (just past the header) or the last (the store's last 4 bytes).
qint64 TReportPageList::locate(int n) const {
  int from = 1;
  qint64 start = m_headerSize;
  if (m_count - n < n - from) {
    from = m_count;
    start = u32At(m_stream, m_stream.size() - 4);
  }
  if (m_currentPage > 0 && std::abs(n - m_currentPage) <= std::abs(n - from)) {
    from = m_currentPage;
    start = m_currentStart;
  }
  m_lastWalk = n - from;
  const qint64 size = m_stream.size();
  for (int page = from; page != n;) {
    const qint64 step = page < n ? u32At(m_stream, start + 4) : u32At(m_stream, start - 4);
    page += page < n ? 1 : -1;
    if (step < m_headerSize || step + kRecordOverhead > size)
      throw EReportError("Invalid report page: damaged record position");
    start = step;
  }
  return start;
}

TMetaPage TReportPageList::readRecord(qint64 start, int expectedNumber) const {
  const qint64 size = m_stream.size();
  if (start < m_headerSize || start + kRecordOverhead > size)
    throw EReportError("Invalid report page: record position out of range");
  const QByteArray head = m_stream.readAt(start, 8);
  const std::uint32_t number = readU32(head, 0);
  const qint64 next = readU32(head, 4);
  if (number != static_cast<std::uint32_t>(expectedNumber))
    throw EReportError("Invalid report page: unexpected page number");
  if (next < start + kRecordOverhead || next > size)
    throw EReportError("Invalid report page: record length out of range");
  if (u32At(m_stream, next - 4) != start)
    throw EReportError("Invalid report page: record end does not match its start");
  const QByteArray payload = m_stream.readAt(start + 8, next - start - kRecordOverhead);
  return TMetaPage::decode(m_compression ? uncompressPage(payload) : payload);
}

std::unique_ptr<TMetaPage> TReportPageList::getPage(int n) const {
  std::lock_guard guard(m_lock);
  if (n < 1 || n > m_count)
    return nullptr;
  const qint64 start = locate(n);
  auto page = std::make_unique<TMetaPage>(readRecord(start, n));
  m_currentPage = n;
  m_currentStart = start;
  return page;
}

void TReportPageList::saveToFile(const QString &fileName) const {
  std::lock_guard guard(m_lock);
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly))
    throw EReportError("Cannot write the report file " + fileName.toStdString());
  bool ok = file.write(headerBytes(m_count)) == m_headerSize;
  for (qint64 at = m_headerSize; ok && at < m_stream.size(); at += kCopyChunk) {
    const QByteArray chunk = m_stream.readAt(at, std::min(kCopyChunk, m_stream.size() - at));
    ok = file.write(chunk) == chunk.size();
  }
  if (!ok || !file.commit())
    throw EReportError("Cannot write the report file " + fileName.toStdString());
}

void TReportPageList::loadFromFile(const QString &fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    clear();
    throw EReportError("Cannot open the report file " + fileName.toStdString());
  }
  loadFromDevice(file);
}

void TReportPageList::loadFromDevice(QIODevice &device) {
  std::lock_guard guard(m_lock);
  clear();
  try {
    for (;;) {
      const QByteArray chunk = device.read(kCopyChunk);
      if (chunk.isEmpty())
        break;
      m_stream.write(chunk);
    }
    if (!device.atEnd())
      throw EReportError("Cannot read the report file");
    readHeader(m_stream.size());
    validateRecords();
  } catch (...) {
    clear(); // also drops a temporary file the copy may have spilled to
    throw;
  }
}

// Which header the file has: the first record follows it, so its page number is 1 and, for
// uncompressed pages, the page's signature sits 8 bytes further; compressed records are
// recognised by their trailing start position instead.
void TReportPageList::readHeader(qint64 fileSize) {
  if (fileSize < kOldHeaderSize)
    invalidFile("too short for a header");
  const QByteArray head = m_stream.readAt(0, std::min<qint64>(fileSize, kHeaderSize + 12));
  TByteReader r(head.constData(), head.size(), "Invalid report file");
  if (r.u16() != kFormatVersion || r.u16() != kEngineVersion)
    invalidFile("not a page store of this version");
  const std::uint32_t count = readU32(head, 8);
  const auto flag = static_cast<std::uint8_t>(head[25]);
  if (flag > 1)
    invalidFile("bad compression flag");
  double created;
  std::memcpy(&created, head.constData() + 16, 8);
  if (!std::isfinite(created) || created < -693593.0 || created >= 2958466.0)
    invalidFile("bad creation date");
  auto recordAt = [&](int h) {
    if (fileSize < h + kRecordOverhead + 4 || readU32(head, h) != 1)
      return false;
    if (flag == 0)
      return TMetaPage::hasSignature(head.constData() + h + 8, 4);
    const qint64 next = readU32(head, h + 4);
    return next >= h + kRecordOverhead && next <= fileSize &&
           u32At(m_stream, next - 4) == quint32(h);
  };
  int headerSize;
  if (count == 0)
    headerSize = fileSize == kOldHeaderSize ? kOldHeaderSize : kHeaderSize;
  else if (recordAt(kHeaderSize))
    headerSize = kHeaderSize;
  else if (recordAt(kOldHeaderSize))
    headerSize = kOldHeaderSize;
  else
    invalidFile("no page record after the header");
  if (count == 0 && fileSize != headerSize)
    invalidFile("bytes after the header of an empty store");
  for (int i = 0; i < headerSize; ++i) {
    const bool field = i < 4 || (i >= 8 && i < 12) || (i >= 16 && i < 24) || i == 25;
    if (!field && head[i] != 0)
      invalidFile("unexpected data in the header");
  }
  if (count > static_cast<std::uint32_t>((fileSize - headerSize) / kRecordOverhead))
    invalidFile("page count out of range");
  m_headerSize = headerSize;
  m_compression = flag == 1;
  m_created = dateTimeOfDays(created);
  m_count = static_cast<int>(count);
}

void TReportPageList::validateRecords() {
  qint64 start = m_headerSize;
  const qint64 size = m_stream.size();
  for (int n = 1; n <= m_count; ++n) {
    try {
      (void)readRecord(start, n);
    } catch (const EReportError &error) {
      invalidFile("page " + std::to_string(n) + ": " + error.what());
    }
    m_lastStart = start;
    start = u32At(m_stream, start + 4);
  }
  if (start != size)
    invalidFile("data after the last page");
}

} // namespace TDInvoice::Report
