// Writer of TableGrams in the shape ADO itself saves a client-side recordset.
#pragma once

#include "framework/ado/RecordsetData.h"

#include <QByteArray>

namespace TDInvoice::Ado {

// Header, handler options, result descriptor and context with the property sets ADO writes,
// one column descriptor per field, each row as a current (unchanged) row, the end token.
// Throws EOleException for data that cannot be stored.
QByteArray writeAdtg(const RecordsetData &data, int ansiCodePage);

} // namespace TDInvoice::Ado
