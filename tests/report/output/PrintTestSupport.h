// Helpers of the printing tests: a stand-in for the CUPS client program, the PDF print
// queue that scripts/cups-setup.sh adds, and reading printed PDFs back.
#pragma once

#include "report/output/PrinterSettings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <ostream>

// Readable failures of string comparisons (found by argument lookup for Qt's types).
inline void PrintTo(const QString &text, std::ostream *out) {
  *out << '"' << text.toStdString() << '"';
}

namespace TDInvoice::Report::Testing {

inline QString runProgram(const QString &program, const QStringList &arguments) {
  QProcess process;
  process.start(program, arguments);
  EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of each page of a PDF, whitespace simplified; empty for a missing file.
inline QStringList pdfPageTexts(const QString &pdf) {
  if (!QFileInfo::exists(pdf))
    return {};
  QStringList pages =
      runProgram(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
          .split(QChar('\f'));
  if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
    pages.removeLast();
  for (QString &page : pages)
    page = page.simplified();
  return pages;
}

inline int pdfPageCount(const QString &pdf) {
  const QString info = runProgram(QStringLiteral("pdfinfo"), {pdf});
  for (const QString &line : info.split(QLatin1Char('\n')))
    if (line.startsWith(QStringLiteral("Pages:")))
      return line.mid(6).trimmed().toInt();
  return -1;
}

// Puts a program named lp first on PATH for the object's life. It either accepts a job,
// keeping its arguments and a copy of the submitted file, or refuses it like lp does.
class FakeQueueClient {
public:
  struct Refusal {
    QString message; // written to standard error
    int exitCode = 1;
  };

  FakeQueueClient() : m_savedPath(qgetenv("PATH")) {
    write(QStringLiteral("printf '%s\\n' \"$@\" > '%1'\n"
                         "for last; do :; done\n"
                         "cp \"$last\" '%2'\n"
                         "echo 'request id is FAKE-7 (1 file(s))'\n")
              .arg(argumentsFile(), submittedFile()));
  }
  explicit FakeQueueClient(const Refusal &refusal) : m_savedPath(qgetenv("PATH")) {
    write(QStringLiteral("printf '%s\\n' \"$@\" > '%1'\n"
                         "printf '%s\\n' '%2' >&2\n"
                         "exit %3\n")
              .arg(argumentsFile(), refusal.message)
              .arg(refusal.exitCode));
  }
  ~FakeQueueClient() { qputenv("PATH", m_savedPath); }
  FakeQueueClient(const FakeQueueClient &) = delete;
  FakeQueueClient &operator=(const FakeQueueClient &) = delete;

  QString program() const { return m_dir.filePath(QStringLiteral("lp")); }
  bool called() const { return QFileInfo::exists(argumentsFile()); }
  QStringList arguments() const {
    QFile file(argumentsFile());
    if (!file.open(QIODevice::ReadOnly))
      return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
      lines.removeLast();
    return lines;
  }
  QString submittedFile() const { return m_dir.filePath(QStringLiteral("submitted.pdf")); }

private:
  QString argumentsFile() const { return m_dir.filePath(QStringLiteral("arguments")); }
  void write(const QString &body) {
    QFile script(program());
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n" + body.toUtf8());
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("PATH", m_dir.path().toLocal8Bit() + ':' + m_savedPath);
  }

  QTemporaryDir m_dir;
  QByteArray m_savedPath;
};

// Empties PATH, so that no client program is found.
class NoQueueClient {
public:
  NoQueueClient() : m_savedPath(qgetenv("PATH")) { qputenv("PATH", m_dir.path().toLocal8Bit()); }
  ~NoQueueClient() { qputenv("PATH", m_savedPath); }

private:
  QTemporaryDir m_dir;
  QByteArray m_savedPath;
};

inline const QString kTestQueue = QStringLiteral("TDI-PDF");

inline QString cupsStatusLine() {
  QFile file(qEnvironmentVariable("TDI_CUPS_STATUS", QStringLiteral("/tmp/tdi-cups.status")));
  if (!file.open(QIODevice::ReadOnly))
    return {};
  return QString::fromUtf8(file.readLine()).trimmed();
}

// Why the PDF print queue cannot be used here, or empty when it can.
inline QString cupsQueueUnavailable() {
  const QString status = cupsStatusLine();
  if (status.startsWith(QStringLiteral("CUPS unavailable")))
    return status;
  if (!TPrinterSettings::printerNames().contains(kTestQueue))
    return QStringLiteral("CUPS unavailable: no %1 print queue (scripts/cups-setup.sh adds it)")
        .arg(kTestQueue);
  for (const char *tool : {"pdftotext", "pdfinfo", "lp"})
    if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
      return QStringLiteral("CUPS unavailable: %1 is missing").arg(QLatin1String(tool));
  return {};
}

// The folder the queue writes its PDFs to, each named after its job's title.
inline QString cupsOutputFolder() {
  const QString status = cupsStatusLine();
  if (status.startsWith(QStringLiteral("ready ")))
    return status.mid(6);
  return qEnvironmentVariable("TDI_CUPS_PDF_DIR", QStringLiteral("/var/spool/cups-pdf/TDI"));
}

// Whether the queue has begun writing a PDF for a job titled title.
inline bool cupsOutputBegun(const QString &title) {
  return !QDir(cupsOutputFolder()).entryList({title + QStringLiteral("*")}, QDir::Files).isEmpty();
}

// The PDFs the queue has written for jobs titled title (complete ones only once they are
// found); waits up to timeoutMs for the first.
inline QStringList cupsOutputs(const QString &title, int timeoutMs) {
  const QDir folder(cupsOutputFolder());
  QElapsedTimer clock;
  clock.start();
  qint64 lastSize = -1;
  do {
    const QStringList found = folder.entryList({title + QStringLiteral("*.pdf")}, QDir::Files);
    if (!found.isEmpty()) {
      const QString file = folder.filePath(found.first());
      const qint64 size = QFileInfo(file).size();
      if (size > 0 && size == lastSize && pdfPageCount(file) > 0) {
        QStringList paths;
        for (const QString &name : found)
          paths << folder.filePath(name);
        return paths;
      }
      lastSize = size;
    }
    QThread::msleep(200);
  } while (clock.elapsed() < timeoutMs);
  return {};
}

} // namespace TDInvoice::Report::Testing
