// The report form's query operations: SQL out to the host, data packets back in as
// recordsets, and the two lookups that answer with a single text.
//
// Whatever the host hands back passes to the library and is released on every path: packets
// are destroyed once decoded, string buffers freed once copied. A failure propagates after
// that cleanup and leaves ADODataSet1 as it was.
#pragma once

#include "framework/db/Recordset.h"
#include "framework/db/TADODataSet.h"
#include "intake/HostCallbacks.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace TDInvoice {
class TShortStringList;
}

namespace TDInvoice::Intake {

// Opens a data packet as a recordset on its first row. Does not take the packet. An empty or
// null packet raises EOleException "Data packet is empty"; a damaged one the decoder's or
// the recordset reader's error.
Ado::Recordset QueryPacketRecordset(TShortStringList *packet);

// Sends the SQL text (as code page 1252, in a buffer made for the call) to OnGetDataPacket
// and opens the answer. The caller reads the recordset and closes it.
Ado::Recordset OpenQuery(const THostCallbacks &callbacks, const QString &SQL);

// Loads ADODataSet1 with the host's answer to SQL: the dataset ends up open on the first row
// of a clone of the recordset.
void LoadDataSet(const THostCallbacks &callbacks, TADODataSet &ADODataSet1, const char *SQL);

// Sets the dataset's sort from an 8-bit specification (a null text sorts by nothing).
void SetSort(TADODataSet &ADODataSet1, const char *SortText);

// The host's texts for a close date and an invoice, as 8-bit text up to the terminator;
// empty when the host returns no buffer.
QByteArray LookupInvoiceMessage(const THostCallbacks &callbacks, std::int32_t CloseDate);
QByteArray LookupInvoiceFundingKeys(const THostCallbacks &callbacks, std::int32_t InvoiceNo);

} // namespace TDInvoice::Intake
