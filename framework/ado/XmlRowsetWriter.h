// Writer of ADO's XML rowset persistence format, in the layout ADO itself saves.
#pragma once

#include "framework/ado/RecordsetData.h"

#include <QByteArray>

namespace TDInvoice::Ado {

// UTF-8 without BOM or declaration, CRLF line ends, single-quoted attributes; every row a
// current row, a null an omitted attribute. Throws EOleException for data that cannot be
// stored (a variant field, a row of the wrong width, a null in a field that is not nullable).
QByteArray writeXmlRowset(const RecordsetData &data);

} // namespace TDInvoice::Ado
