// The byte stream under the page store: held in memory until it grows past kMemoryLimit, then
// moved to a temporary file in the system's temporary folder, removed when the stream is
// freed. Every operation takes the stream's lock, because the preview reads pages while the
// run is still adding them.
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <mutex>

class QTemporaryFile;

namespace TDInvoice::Report {

class TReportStream {
public:
  static constexpr qint64 kMemoryLimit = 100000;

  TReportStream();
  ~TReportStream();
  TReportStream(const TReportStream &) = delete;
  TReportStream &operator=(const TReportStream &) = delete;

  qint64 size() const;
  qint64 position() const;
  void seek(qint64 position); // EReportError outside 0..size
  // Writes at the current position (overwriting, then extending) and moves past the bytes.
  void write(const QByteArray &bytes);
  // Reads exactly length bytes from the current position; EReportError when fewer remain.
  QByteArray read(qint64 length);
  // Seek-and-write / seek-and-read under one lock.
  void writeAt(qint64 position, const QByteArray &bytes);
  QByteArray readAt(qint64 position, qint64 length);
  void clear();

  bool spilled() const;
  // The temporary file's name once spilled, otherwise empty.
  QString fileName() const;

private:
  void spill();
  void writeLocked(const QByteArray &bytes);
  QByteArray readLocked(qint64 length);

  mutable std::recursive_mutex m_lock;
  QByteArray m_memory;
  std::unique_ptr<QTemporaryFile> m_file;
  qint64 m_size = 0;
  qint64 m_position = 0;
};

} // namespace TDInvoice::Report
