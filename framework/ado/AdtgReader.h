// Reader of TableGrams (ADO's binary persistence format, adPersistADTG).
#pragma once

#include "framework/ado/RecordsetRows.h"

#include <QByteArray>

#include <memory>

namespace TDInvoice::Ado {

// The current rows of the TableGram's top-level recordset, checked and kept in their stored
// form (see openPersisted). Throws EOleException on malformed or truncated bytes.
std::shared_ptr<const RecordsetRows> openAdtg(const QByteArray &bytes, int ansiCodePage);
// The same rows, every value decoded.
RecordsetData readAdtg(const QByteArray &bytes, int ansiCodePage);

// Whether the bytes start like a TableGram.
bool looksLikeAdtg(const QByteArray &bytes);

} // namespace TDInvoice::Ado
