// The page store: recorded pages as records of one TReportStream.
//
// Layout (integers 32-bit little-endian):
//   header, 128 bytes: format version 3 (16-bit) at 0, engine version 309 (16-bit) at 2,
//     page count at 8, creation time (double, days since 1899-12-30) at 16, compression flag
//     byte at 25, zeros elsewhere;
//   per page: page number, position just past the record, the encoded page (compressed:
//     uncompressed length, then a zlib stream of the encoded page), position of the record's
//     start.
// The last four bytes are therefore the start of the last record, and the four bytes before
// any record are the start of the one before it, so pages are found by walking the stored
// positions from the current record. Readers also accept an older 124-byte header.
#pragma once

#include "report/output/MetaPage.h"
#include "report/output/ReportStream.h"

#include <QDateTime>
#include <QIODevice>
#include <QString>
#include <memory>
#include <mutex>

namespace TDInvoice::Report {

class TReportPageList {
public:
  static constexpr int kHeaderSize = 128;
  static constexpr int kOldHeaderSize = 124;
  static constexpr std::uint16_t kFormatVersion = 3;
  static constexpr std::uint16_t kEngineVersion = 309;

  TReportPageList();
  ~TReportPageList();

  void setCompression(bool on); // before the first page
  bool compression() const;
  QDateTime created() const;

  // Writes the header with the first page, then appends the page's record.
  void addPage(const TMetaPage &page);
  int pageCount() const;
  // A copy of page n; nullptr outside 1..pageCount. EReportError when the record is damaged.
  std::unique_ptr<TMetaPage> getPage(int n) const;
  // Rewrites the header with the final page count.
  void finish();
  void clear();

  // Writes the store (header with the current count) to fileName; EReportError on failure.
  void saveToFile(const QString &fileName) const;
  // Replaces the store by the file's, checking every record; EReportError naming the fault
  // on a file that is not a complete store, leaving this store empty.
  void loadFromFile(const QString &fileName);
  // The same from an open device, read to its end.
  void loadFromDevice(QIODevice &device);

  const TReportStream &stream() const { return m_stream; }

  // The record walk done by the last getPage: how many records it stepped over, negative
  // when it walked back. Lets tests see that the stored positions are followed.
  int lastWalk() const;

private:
  QByteArray headerBytes(int count) const;
  void readHeader(qint64 fileSize);
  void validateRecords();
  qint64 locate(int n) const;
  TMetaPage readRecord(qint64 start, int expectedNumber) const;

  mutable std::recursive_mutex m_lock;
  mutable TReportStream m_stream;
  bool m_compression = false;
  QDateTime m_created;
  int m_count = 0;
  int m_headerSize = kHeaderSize;
  qint64 m_lastStart = 0;
  mutable int m_currentPage = 0; // record the walk starts from, with its start position
  mutable qint64 m_currentStart = 0;
  mutable int m_lastWalk = 0;
};

} // namespace TDInvoice::Report
