// Reader of ADO's XML rowset persistence format (adPersistXML).
#pragma once

#include "framework/ado/RecordsetData.h"

#include <QByteArray>

namespace TDInvoice::Ado {

// UTF-8 (BOM optional) or UTF-16 with a BOM. Current rows in document order: plain rows,
// updates applied in place, inserts; deletes left out. Throws EOleException.
RecordsetData readXmlRowset(const QByteArray &bytes);

// Whether the bytes start like XML (after an optional BOM and blanks).
bool looksLikeXmlRowset(const QByteArray &bytes);

} // namespace TDInvoice::Ado
