// Reader of TableGrams (ADO's binary persistence format, adPersistADTG).
#pragma once

#include "framework/ado/RecordsetData.h"

#include <QByteArray>

namespace TDInvoice::Ado {

// The current rows of the TableGram's top-level recordset. Throws EOleException on malformed
// or truncated bytes.
RecordsetData readAdtg(const QByteArray &bytes, int ansiCodePage);

// Whether the bytes start like a TableGram.
bool looksLikeAdtg(const QByteArray &bytes);

} // namespace TDInvoice::Ado
