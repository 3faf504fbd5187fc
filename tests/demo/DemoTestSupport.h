// Helpers for the demo tests: a test host over generated demo data, and scalar queries.
#pragma once

#include "host/demo/DemoGenerator.h"
#include "host/testhost/TestHost.h"

#include <gtest/gtest.h>

#include <memory>

namespace TDInvoice::Testing {

// A private in-memory database holding the demo data of that many families.
inline std::unique_ptr<Host::TestHost> demoHost(int families,
                                                std::uint64_t seed = Demo::kDefaultDemoSeed) {
  auto host = std::make_unique<Host::TestHost>();
  host->execute(QString::fromUtf8(Demo::generateDemoSql(families, seed)));
  return host;
}

// The first column of the first row, as a 64-bit integer (0 for no row or null).
inline std::int64_t scalar(const Host::TestHost &host, const QString &sql) {
  const Ado::RecordsetData data = host.query(sql);
  if (data.rows.empty() || data.rows.front().front().isNull())
    return 0;
  return data.rows.front().front().toInt64();
}

inline std::int64_t rowCount(const Host::TestHost &host, const QString &table) {
  return scalar(host, QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));
}

} // namespace TDInvoice::Testing
