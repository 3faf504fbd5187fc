// Damaged input fails cleanly: truncation at every offset and scattered byte damage give an
// EOleException (or, for damage, possibly a recordset), never a crash or a read out of bounds.
#include "AdoTestSupport.h"

#include "TDInvoice/Exceptions.h"

#include <gtest/gtest.h>

#include <random>

using namespace AdoTest;
using TDInvoice::EOleException;

namespace {

std::vector<std::pair<std::string, QByteArray>> samples() {
  std::vector<std::pair<std::string, QByteArray>> out;
  for (const char *name :
       {"ivere27_tablegram__types_basic.adtg", "ivere27_tablegram__flat_VarWChar_null_states.adtg",
        "ivere27_tablegram__all_supported_types.adtg", "ivere27_tablegram__types_basic.xml",
        "ivere27_tablegram__flat_VarWChar_null_states.xml",
        "ivere27_tablegram__all_supported_types.xml"})
    out.emplace_back(name, corpusFile(name));
  return out;
}

// The length up to the end of the document: an XML file may end in line breaks that are not
// needed, a TableGram ends with its end token.
qsizetype significantLength(const QByteArray &bytes) {
  if (bytes.startsWith('<'))
    return bytes.lastIndexOf('>') + 1;
  return bytes.size();
}

class TruncatedCorpusFile : public ::testing::TestWithParam<const char *> {};

TEST_P(TruncatedCorpusFile, FailsCleanlyAtEveryOffset) {
  const QByteArray bytes = corpusFile(GetParam());
  const qsizetype end = significantLength(bytes);
  ASSERT_GT(end, 0);
  qsizetype opened = 0;
  for (qsizetype length = 0; length < end; ++length) {
    try {
      readPersisted(bytes.left(length), 949);
      ++opened;
      ADD_FAILURE() << "truncated to " << length << " bytes, it opened";
    } catch (const EOleException &) {
    }
  }
  EXPECT_EQ(opened, 0);
  EXPECT_NO_THROW(readPersisted(bytes.left(end), 949));
}

INSTANTIATE_TEST_SUITE_P(Corpus, TruncatedCorpusFile,
                         ::testing::Values("ivere27_tablegram__types_basic.adtg",
                                           "ivere27_tablegram__flat_VarWChar_null_states.adtg",
                                           "ivere27_tablegram__all_supported_types.adtg",
                                           "ivere27_tablegram__types_basic.xml",
                                           "ivere27_tablegram__flat_VarWChar_null_states.xml",
                                           "ivere27_tablegram__all_supported_types.xml"));

TEST(MalformedInput, TruncatedWriterOutputFailsCleanly) {
  RecordsetData data;
  data.fields = {FieldInfo{"ID", adInteger, 4, adFldUpdatable, 0, 0},
                 FieldInfo{"T", adVarWChar, 300, adFldIsNullable, 0, 0},
                 FieldInfo{"B", adVarBinary, 10, adFldIsNullable, 0, 0}};
  data.rows = {{Variant(1), Variant("hello"), Variant::fromBytes("\x01\x02")},
               {Variant(2), Variant::null(), Variant::null()}};
  const QByteArray bytes = writePersisted(data, PersistFormat::Adtg);
  for (qsizetype length = 0; length < bytes.size(); ++length)
    EXPECT_THROW(readPersisted(bytes.left(length)), EOleException) << length;
}

// Deterministic damage: random bytes overwritten; the reader may accept or refuse, but only
// by returning or throwing EOleException (the sanitizer build checks every access).
TEST(MalformedInput, ScatteredDamageNeverCrashes) {
  std::mt19937 random(20240611);
  for (const auto &[name, bytes] : samples()) {
    const int rounds = bytes.size() > 5000 ? 150 : 600;
    for (int round = 0; round < rounds; ++round) {
      QByteArray damaged = bytes;
      const int hits = 1 + int(random() % 4);
      for (int h = 0; h < hits; ++h)
        damaged[qsizetype(random() % std::uint32_t(damaged.size()))] = char(random() & 0xFF);
      try {
        const RecordsetData data = readPersisted(damaged, 949);
        for (const auto &row : data.rows)
          ASSERT_EQ(row.size(), data.fields.size()) << name;
      } catch (const EOleException &) {
      }
    }
  }
}

} // namespace
