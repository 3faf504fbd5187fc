// The "recordset FILE" command: shows what a data packet or a persisted recordset holds, for
// people debugging a host.
#pragma once

#include <QStringList>

class QTextStream;

namespace TDInvoice::Host {

// args: the arguments after the command name, exactly one file. The file may hold packet
// text (Base64 lines of a raw DEFLATE stream) or persisted ADTG or XML bytes; which one is
// recognised by content. Prints one JSON document:
//   {"file": ..., "content": "packet"|"adtg"|"xml",
//    "columns": [{"name", "type" (e.g. "adCurrency"), "typeCode", "size", "precision",
//                 "scale", "flags": ["adFldIsNullable", ...]}, ...],
//    "rows": [[value, ...], ...]}
// Values: null, numbers, true/false, text; currency and decimals as exact decimal text
// ("-12.3400" has four places), dates as ISO text ("2009-01-05T13:45:30.000"), byte arrays
// as Base64 text. Returns 0, 1 when the file cannot be read or decoded (message on err), 2
// for wrong usage.
int recordsetCommand(const QStringList &args, QTextStream &out, QTextStream &err);
// The same on standard output and standard error.
int recordsetCommand(const QStringList &args);

} // namespace TDInvoice::Host
