// The test host's database: the tables that the library's SQL texts name, the report
// dataset's invoices, and the host's own tables behind the five lookup callbacks.
#pragma once

namespace TDInvoice::Host {

// CREATE TABLE IF NOT EXISTS statements. Day numbers (CloseDate) are INTEGER; date-times are
// DATETIME holding ISO text or OLE date numbers; amounts are CURRENCY.
//
// Host tables:
//   HostLocations(Position, LocationID, Name, CareType)       -> OnGetLocations (first 12)
//   HostInvoiceMessages(CloseDate, Message)                    -> OnGetInvoiceMessage
//   HostFundingKeys(InvoiceNo, Position, LocationID, CareType) -> OnGetInvoiceFundingKeys
//   Child(..., ParentID, ...)                                  -> OnGetFamilyChildren
//   HostHistory(InvoiceNo, Position, Kind, ...)                -> OnFillInvoiceHistory
const char *hostSchemaSql();

} // namespace TDInvoice::Host
