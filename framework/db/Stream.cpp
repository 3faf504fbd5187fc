#include "framework/db/Stream.h"

#include "TDInvoice/Exceptions.h"

#include <algorithm>

namespace TDInvoice::Ado {

void Stream::checkOpen() const {
  if (!m_open)
    throw EOleException(AdoError::ObjectClosed);
}

void Stream::Open(ConnectModeEnum Mode, StreamOpenOptionsEnum Options) {
  if (m_open)
    throw EOleException(AdoError::ObjectOpen);
  if ((Mode != adModeUnknown && Mode != adModeRead && Mode != adModeReadWrite) ||
      Options != adOpenStreamUnspecified)
    throw EOleException(AdoError::BadArguments);
  m_open = true;
  m_type = adTypeText;
  m_bytes.clear();
  m_position = 0;
}

void Stream::Close() {
  checkOpen();
  m_open = false;
  m_bytes = QByteArray();
  m_position = 0;
}

void Stream::setType(StreamTypeEnum Type) {
  if (Type != adTypeBinary && Type != adTypeText)
    throw EOleException(AdoError::BadArguments);
  if (m_open && m_position != 0)
    throw EOleException(AdoError::NotInContext);
  m_type = Type;
}

void Stream::Write(const QByteArray &Buffer) {
  checkOpen();
  if (m_type != adTypeBinary)
    throw EOleException(AdoError::NotInContext);
  if (m_position == 0 && m_bytes.isEmpty()) {
    m_bytes = Buffer; // shared, not copied
  } else {
    const qint64 end = m_position + Buffer.size();
    if (end > m_bytes.size())
      m_bytes.resize(end);
    std::copy(Buffer.begin(), Buffer.end(), m_bytes.begin() + m_position);
  }
  m_position += Buffer.size();
}

qint64 Stream::Position() const {
  checkOpen();
  return m_position;
}

void Stream::setPosition(qint64 Position) {
  checkOpen();
  if (Position < 0 || Position > m_bytes.size())
    throw EOleException(AdoError::BadArguments);
  m_position = Position;
}

qint64 Stream::Size() const {
  checkOpen();
  return m_bytes.size();
}

QByteArray Stream::ReadAll() {
  checkOpen();
  // Reading everything from the start shares the buffer instead of copying it.
  QByteArray rest = m_position == 0 ? m_bytes : m_bytes.mid(m_position);
  m_position = m_bytes.size();
  return rest;
}

} // namespace TDInvoice::Ado
