#include "report/output/ReportStream.h"

#include "TDInvoice/Exceptions.h"

#include <QDir>
#include <QTemporaryFile>

namespace TDInvoice::Report {

TReportStream::TReportStream() = default;
TReportStream::~TReportStream() = default; // the temporary file removes itself

qint64 TReportStream::size() const {
  std::lock_guard guard(m_lock);
  return m_size;
}

qint64 TReportStream::position() const {
  std::lock_guard guard(m_lock);
  return m_position;
}

void TReportStream::seek(qint64 position) {
  std::lock_guard guard(m_lock);
  if (position < 0 || position > m_size)
    throw EReportError("Report stream position out of range");
  m_position = position;
}

void TReportStream::write(const QByteArray &bytes) {
  std::lock_guard guard(m_lock);
  writeLocked(bytes);
}

QByteArray TReportStream::read(qint64 length) {
  std::lock_guard guard(m_lock);
  return readLocked(length);
}

void TReportStream::writeAt(qint64 position, const QByteArray &bytes) {
  std::lock_guard guard(m_lock);
  seek(position);
  writeLocked(bytes);
}

QByteArray TReportStream::readAt(qint64 position, qint64 length) {
  std::lock_guard guard(m_lock);
  seek(position);
  return readLocked(length);
}

void TReportStream::clear() {
  std::lock_guard guard(m_lock);
  m_file.reset();
  m_memory.clear();
  m_size = 0;
  m_position = 0;
}

bool TReportStream::spilled() const {
  std::lock_guard guard(m_lock);
  return m_file != nullptr;
}

QString TReportStream::fileName() const {
  std::lock_guard guard(m_lock);
  return m_file ? m_file->fileName() : QString();
}

void TReportStream::spill() {
  auto file =
      std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/tdireport-XXXXXX.tmp"));
  file->setAutoRemove(true);
  if (!file->open())
    throw EReportError("Cannot create a temporary file for the report pages");
  // Give the file its name now (Linux may open it unnamed), so it can be found while it lives.
  if (file->fileName().isEmpty())
    throw EReportError("Cannot create a temporary file for the report pages");
  if (file->write(m_memory) != m_memory.size())
    throw EReportError("Cannot write the report pages to a temporary file");
  m_file = std::move(file);
  m_memory = QByteArray();
}

void TReportStream::writeLocked(const QByteArray &bytes) {
  const qint64 end = m_position + bytes.size();
  if (!m_file && end > kMemoryLimit)
    spill();
  if (m_file) {
    // Flushed at once so that the file always holds the whole stream.
    if (!m_file->seek(m_position) || m_file->write(bytes) != bytes.size() || !m_file->flush())
      throw EReportError("Cannot write the report pages to a temporary file");
  } else {
    if (end > m_memory.size())
      m_memory.resize(end);
    std::copy(bytes.begin(), bytes.end(), m_memory.begin() + m_position);
  }
  m_position = end;
  m_size = std::max(m_size, end);
}

QByteArray TReportStream::readLocked(qint64 length) {
  if (length < 0 || length > m_size - m_position)
    throw EReportError("Unexpected end of the report stream");
  QByteArray bytes;
  if (m_file) {
    if (!m_file->seek(m_position))
      throw EReportError("Cannot read the report pages' temporary file");
    bytes = m_file->read(length);
    if (bytes.size() != length)
      throw EReportError("Cannot read the report pages' temporary file");
  } else {
    bytes = m_memory.mid(m_position, length);
  }
  m_position += length;
  return bytes;
}

} // namespace TDInvoice::Report
