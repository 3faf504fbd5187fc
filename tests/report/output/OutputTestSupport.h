// Helpers shared by the output device's tests.
#pragma once

#include "TDInvoice/Exceptions.h"
#include "report/output/ByteIO.h"
#include "report/output/MetaPage.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace TDInvoice::Report::Testing {

// Runs call, which must throw EReportError, and returns the message.
template <class F> std::string reportError(F &&call) {
  try {
    call();
  } catch (const EReportError &error) {
    return error.what();
  } catch (const std::exception &other) {
    ADD_FAILURE() << "unexpected exception type: " << other.what();
    return {};
  }
  ADD_FAILURE() << "nothing was thrown";
  return {};
}

inline QByteArray readAll(const QString &fileName) {
  QFile file(fileName);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << fileName.toStdString();
  return file.readAll();
}

inline void writeAll(const QString &fileName, const QByteArray &bytes) {
  QFile file(fileName);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << fileName.toStdString();
  ASSERT_EQ(file.write(bytes), bytes.size());
}

// Little-endian fields of stored bytes, read a byte at a time (at() checks the index; a copy
// from the raw buffer trips GCC's bounds analysis on empty arrays).
inline std::uint32_t u32At(const QByteArray &b, qsizetype at) { return readU32(b, at); }

inline std::uint16_t u16At(const QByteArray &b, qsizetype at) { return readU16(b, at); }

// A page whose content tells it apart from any other: its number as text plus a line.
inline TMetaPage numberedPage(int n, int labels = 1) {
  TMetaPage page(QSize(794, 1123), 96, 96);
  for (int i = 0; i < labels; ++i)
    page.add(TMetaText{QPoint(40, 40 + i * 16), TTextAlign::Left, TFontSpec{},
                       QStringLiteral("Page %1 label %2").arg(n).arg(i)});
  page.add(TMetaLine{QPoint(10, n), QPoint(700, n), TPenSpec{}});
  return page;
}

// The number numberedPage(n) carries.
inline int numberOf(const TMetaPage &page) {
  for (const auto &element : page.elements())
    if (const auto *line = std::get_if<TMetaLine>(&element))
      return line->from.y();
  return -1;
}

} // namespace TDInvoice::Report::Testing

namespace TDInvoice::Report::Testing {

// Points the system's temporary folder at a private, empty folder for the fixture's life,
// so a test can see every temporary file the code under test leaves behind.
class PrivateTempFolder {
public:
  PrivateTempFolder() : m_saved(qgetenv("TMPDIR")) {
    EXPECT_TRUE(m_dir.isValid());
    qputenv("TMPDIR", m_dir.path().toLocal8Bit());
  }
  ~PrivateTempFolder() {
    if (m_saved.isEmpty())
      qunsetenv("TMPDIR");
    else
      qputenv("TMPDIR", m_saved);
  }
  QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files); }
  QString path() const { return m_dir.path(); }

private:
  QTemporaryDir m_dir;
  QByteArray m_saved;
};

} // namespace TDInvoice::Report::Testing
