// The check both fuzz targets make on a recordset a reader accepted: whatever the writers
// accept must read back with the same shape.
#pragma once

#include "TDInvoice/Exceptions.h"
#include "framework/ado/RecordsetData.h"

#include <cstdio>
#include <cstdlib>

namespace TDInvoice::Ado {

inline void checkWritersAgree(const RecordsetData &data) {
  for (PersistFormat format : {PersistFormat::Adtg, PersistFormat::Xml}) {
    QByteArray written;
    try {
      written = writePersisted(data, format);
    } catch (const EOleException &) {
      continue; // values the format cannot store
    }
    try {
      const RecordsetData back = readPersisted(written);
      if (back.fields.size() != data.fields.size() || back.rows.size() != data.rows.size()) {
        std::fprintf(stderr, "written recordset reads back with another shape\n");
        std::abort();
      }
    } catch (const EOleException &e) {
      std::fprintf(stderr, "written recordset does not read back: %s\n", e.what());
      std::abort();
    }
  }
}

} // namespace TDInvoice::Ado
