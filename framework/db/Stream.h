// An in-memory ADO Stream: the recordset's source when it is opened from persisted bytes.
#pragma once

#include "framework/db/AdoConstants.h"

#include <QByteArray>
#include <QByteArrayView>

namespace TDInvoice::Ado {

// Operations on a closed stream, and a second Open, raise EOleException with ADO's text.
class Stream {
public:
  // Opens an empty stream (no source). Only adModeUnknown/adModeRead/adModeReadWrite and
  // adOpenStreamUnspecified are known.
  void Open(ConnectModeEnum Mode = adModeUnknown,
            StreamOpenOptionsEnum Options = adOpenStreamUnspecified);
  void Close();
  bool isOpen() const { return m_open; }

  StreamTypeEnum Type() const { return m_type; }
  // As in ADO, the type may change only while Position is 0. A new stream is text.
  void setType(StreamTypeEnum Type);

  // Writes at Position (overwriting, then extending) and advances Position. Binary only.
  void Write(const QByteArray &Buffer);
  qint64 Position() const;
  // 0 .. Size; anything else is an argument error.
  void setPosition(qint64 Position);
  qint64 Size() const;

  // The bytes from Position to the end, leaving Position at the end.
  QByteArray ReadAll();

private:
  void checkOpen() const;

  bool m_open = false;
  StreamTypeEnum m_type = adTypeText;
  QByteArray m_bytes;
  qint64 m_position = 0;
};

} // namespace TDInvoice::Ado
