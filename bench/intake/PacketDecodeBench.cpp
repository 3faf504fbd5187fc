// Decoding a large query result: a 20,000-row, 12-column recordset (about 2 MB of ADTG) as a
// packet of 76-character lines. Measures decode + open against a bare zlib inflate of the
// same stream, and prints the ratio and the packet-text throughput.
#include "TDInvoice/ShortStringList.h"
#include "framework/ado/RecordsetRows.h"
#include "host/testhost/PacketEncoder.h"
#include "intake/Base64Decoder.h"
#include "intake/PacketDecoder.h"
#include "intake/QueryOperations.h"
#include "intake/RawInflater.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

using namespace TDInvoice;

namespace {

constexpr int kRows = 20000;

Ado::FieldInfo field(const char *name, Ado::DataTypeEnum type, std::int32_t size) {
  Ado::FieldInfo info;
  info.name = QString::fromLatin1(name);
  info.type = type;
  info.definedSize = size;
  info.attributes = Ado::adFldUpdatable | Ado::adFldIsNullable | Ado::adFldMayBeNull |
                    (type == Ado::adVarWChar ? 0u : static_cast<std::uint32_t>(Ado::adFldFixed));
  return info;
}

// Invoice-like rows: numbers, amounts, dates, names and addresses, some nulls.
Ado::RecordsetData invoiceRows() {
  using Ado::Variant;
  static const char *kFamilies[] = {"Nguyen", "Smith",    "O'Brien", "Papadopoulos", "Kowalski",
                                    "Tran",   "Williams", "Haddad",  "Jones",        "Rossi"};
  static const char *kStreets[] = {"Banksia", "Wattle", "Grevillea", "Acacia", "Waratah"};
  Ado::RecordsetData data;
  data.fields = {
      field("InvoiceNo", Ado::adInteger, 4),     field("ParentID", Ado::adInteger, 4),
      field("IssueDT", Ado::adDate, 8),          field("CloseBal", Ado::adCurrency, 8),
      field("CloseDate", Ado::adInteger, 4),     field("FamilyName", Ado::adVarWChar, 50),
      field("AccountName", Ado::adVarWChar, 80), field("MAddress1", Ado::adVarWChar, 80),
      field("Sessions", Ado::adSmallInt, 2),     field("UseDirectDebit", Ado::adBoolean, 2),
      field("Fees", Ado::adDouble, 8),           field("BPAYCustRef", Ado::adVarWChar, 20)};
  data.rows.reserve(kRows);
  for (int i = 0; i < kRows; ++i) {
    const QString family = QString::fromLatin1(kFamilies[i % 10]);
    data.rows.push_back(
        {Variant(100000 + i), Variant(5000 + i / 3), Variant::fromDate(39818.0 + i % 365 + 0.375),
         Variant::fromCurrency(static_cast<std::int64_t>(i) * 7919 % 50000000 - 1000000),
         Variant(39816 + (i % 52) * 7), Variant(family),
         i % 4 ? Variant(QStringLiteral("The %1s").arg(family)) : Variant::null(),
         Variant(
             QStringLiteral("%1 %2").arg(1 + i % 300).arg(QString::fromLatin1(kStreets[i % 5]))),
         Variant::fromInt(i % 10, Ado::VarType::SmallInt), Variant(i % 3 == 0), Variant(i * 1.25),
         Variant(QString::number(7000000 + i))});
  }
  return data;
}

struct Fixture {
  QByteArray persisted;
  QByteArray deflated;
  QByteArray text;
  std::unique_ptr<TShortStringList> packet;

  Fixture() {
    persisted = Ado::writePersisted(invoiceRows(), Ado::PersistFormat::Adtg);
    deflated = Host::deflateRaw(persisted);
    text = deflated.toBase64();
    packet.reset(Host::makePacket(persisted, 76));
  }
  static Fixture &instance() {
    static Fixture fixture;
    return fixture;
  }
};

void DecodeAndOpen(benchmark::State &state) {
  Fixture &f = Fixture::instance();
  for (auto _ : state) {
    auto rs = std::make_unique<Ado::Recordset>(Intake::QueryPacketRecordset(f.packet.get()));
    benchmark::DoNotOptimize(rs->RecordCount());
    // Releasing the rows is not part of opening them.
    state.PauseTiming();
    rs.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * f.text.size());
}

void DecodeOnly(benchmark::State &state) {
  Fixture &f = Fixture::instance();
  for (auto _ : state)
    benchmark::DoNotOptimize(Intake::decodePacket(*f.packet).size());
  state.SetBytesProcessed(state.iterations() * f.text.size());
}

// The stages of decoding, one at a time.
void JoinLines(benchmark::State &state) {
  Fixture &f = Fixture::instance();
  for (auto _ : state)
    benchmark::DoNotOptimize(Intake::packetText(*f.packet).size());
  state.SetBytesProcessed(state.iterations() * f.text.size());
}

void Base64Only(benchmark::State &state) {
  Fixture &f = Fixture::instance();
  const QByteArray text = Intake::packetText(*f.packet);
  for (auto _ : state)
    benchmark::DoNotOptimize(Intake::decodeBase64(text).size());
  state.SetBytesProcessed(state.iterations() * f.text.size());
}

void InflateRawOnly(benchmark::State &state) {
  Fixture &f = Fixture::instance();
  for (auto _ : state)
    benchmark::DoNotOptimize(Intake::inflateRaw(f.deflated).size());
  state.SetBytesProcessed(state.iterations() * f.text.size());
}

// The recordset reader alone, on the inflated bytes: rows checked and indexed.
void OpenOnly(benchmark::State &state) {
  Fixture &f = Fixture::instance();
  for (auto _ : state) {
    std::shared_ptr<const Ado::RecordsetRows> rows = Ado::openPersisted(f.persisted);
    benchmark::DoNotOptimize(rows->rowCount());
    state.PauseTiming();
    rows.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * f.persisted.size());
}

// The reader with every value decoded into rows of variants.
void ReadPersistedOnly(benchmark::State &state) {
  Fixture &f = Fixture::instance();
  for (auto _ : state) {
    auto data = std::make_unique<Ado::RecordsetData>(Ado::readPersisted(f.persisted));
    benchmark::DoNotOptimize(data->rows.size());
    state.PauseTiming();
    data.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * f.persisted.size());
}

// Decode + open, then every field of every row read through the recordset, as a report
// that prints every value would.
void DecodeOpenAndReadAll(benchmark::State &state) {
  Fixture &f = Fixture::instance();
  for (auto _ : state) {
    auto rs = std::make_unique<Ado::Recordset>(Intake::QueryPacketRecordset(f.packet.get()));
    const int fields = rs->FieldCount();
    for (; !rs->Eof(); rs->MoveNext())
      for (int i = 0; i < fields; ++i)
        benchmark::DoNotOptimize(rs->Fields(i).Value());
    state.PauseTiming();
    rs.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * f.text.size());
}

void BareInflate(benchmark::State &state) {
  Fixture &f = Fixture::instance();
  QByteArray out(f.persisted.size(), Qt::Uninitialized);
  for (auto _ : state) {
    z_stream s{};
    inflateInit2(&s, -MAX_WBITS);
    s.next_in = reinterpret_cast<Bytef *>(f.deflated.data());
    s.avail_in = static_cast<uInt>(f.deflated.size());
    s.next_out = reinterpret_cast<Bytef *>(out.data());
    s.avail_out = static_cast<uInt>(out.size());
    if (inflate(&s, Z_FINISH) != Z_STREAM_END)
      state.SkipWithError("inflate failed");
    inflateEnd(&s);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * f.text.size());
}

BENCHMARK(DecodeAndOpen)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(JoinLines)->Unit(benchmark::kMillisecond);
BENCHMARK(Base64Only)->Unit(benchmark::kMillisecond);
BENCHMARK(InflateRawOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadPersistedOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeOpenAndReadAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BareInflate)->Unit(benchmark::kMillisecond);

// Keeps each run's wall and CPU time per iteration so that main can print the ratio.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run> &runs) override {
    for (const Run &run : runs)
      if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
        const auto n = static_cast<double>(run.iterations);
        wall[run.benchmark_name()] = run.real_accumulated_time / n;
        cpu[run.benchmark_name()] = run.cpu_accumulated_time / n;
      }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> wall, cpu;
};

void printFigures(const char *clock, const std::map<std::string, double> &s, qsizetype text) {
  if (!s.count("DecodeAndOpen") || !s.count("BareInflate"))
    return;
  const double open = s.at("DecodeAndOpen"), inflate = s.at("BareInflate");
  std::printf("%s time: decode + open %.2f ms, bare inflate %.2f ms, ratio %.2f (target <= 2.5); "
              "%.1f MB/s of packet text (target >= 100)",
              clock, open * 1e3, inflate * 1e3, open / inflate,
              static_cast<double>(text) / open / 1e6);
  const struct {
    const char *name, *label;
  } parts[] = {{"DecodeOnly", "decode alone"},
               {"JoinLines", "joining lines"},
               {"Base64Only", "Base64"},
               {"InflateRawOnly", "inflate"},
               {"OpenOnly", "recordset reader alone"},
               {"ReadPersistedOnly", "reader decoding every value"},
               {"DecodeOpenAndReadAll", "decode + open + every value read"}};
  for (const auto &part : parts)
    if (s.count(part.name))
      std::printf("; %s %.2f ms", part.label, s.at(part.name) * 1e3);
  std::printf("\n");
}

} // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const Fixture &f = Fixture::instance();
  std::printf("\nADTG %lld bytes, deflated %lld, packet text %lld characters, %d rows x 12 "
              "columns\n",
              static_cast<long long>(f.persisted.size()), static_cast<long long>(f.deflated.size()),
              static_cast<long long>(f.text.size()), kRows);
  printFigures("wall", reporter.wall, f.text.size());
  printFigures("CPU", reporter.cpu, f.text.size());
  benchmark::Shutdown();
  return 0;
}
