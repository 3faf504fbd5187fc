#include "framework/ado/RecordsetRows.h"

#include "TDInvoice/Exceptions.h"
#include "framework/ado/AdtgReader.h"
#include "framework/ado/AdtgWriter.h"
#include "framework/ado/XmlRowsetReader.h"
#include "framework/ado/XmlRowsetWriter.h"

namespace TDInvoice::Ado {

std::shared_ptr<const RecordsetRows> openPersisted(const QByteArray &bytes, int ansiCodePage) {
  if (bytes.isEmpty())
    throw EOleException("Recordset cannot be opened: the stream is empty");
  if (looksLikeAdtg(bytes))
    return openAdtg(bytes, ansiCodePage);
  if (looksLikeXmlRowset(bytes))
    return rowsOf(readXmlRowset(bytes));
  throw EOleException("Recordset cannot be opened: the stream holds neither a TableGram nor an "
                      "XML rowset");
}

RecordsetData readPersisted(const QByteArray &bytes, int ansiCodePage) {
  if (looksLikeAdtg(bytes))
    return readAdtg(bytes, ansiCodePage);
  if (looksLikeXmlRowset(bytes))
    return readXmlRowset(bytes);
  return materialize(*openPersisted(bytes, ansiCodePage)); // fails with its message
}

QByteArray writePersisted(const RecordsetData &data, PersistFormat format, int ansiCodePage) {
  return format == PersistFormat::Adtg ? writeAdtg(data, ansiCodePage) : writeXmlRowset(data);
}

} // namespace TDInvoice::Ado
