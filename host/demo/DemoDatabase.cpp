#include "host/demo/DemoDatabase.h"

#include "TDInvoice/Exceptions.h"
#include "host/testhost/TestHost.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace TDInvoice::Demo {
namespace {

QString environmentPath(const char *name) {
  const QByteArray value = qgetenv(name);
  return value.isEmpty() ? QString() : QString::fromLocal8Bit(value);
}

std::filesystem::path fileSystemPath(const QString &path) {
  return std::filesystem::path(path.toLocal8Bit().toStdString());
}

} // namespace

QString demoCacheFolder() {
  if (const QString own = environmentPath("TDINVOICE_DEMO_DIR"); !own.isEmpty())
    return own;
  if (const QString cache = environmentPath("XDG_CACHE_HOME"); !cache.isEmpty())
    return cache + QStringLiteral("/tdinvoice");
  return QDir::homePath() + QStringLiteral("/.cache/tdinvoice");
}

QString defaultDemoDatabasePath() {
  const QByteArray digest =
      QCryptographicHash::hash(embeddedDemoSql(), QCryptographicHash::Sha1).toHex().left(12);
  return demoCacheFolder() + QStringLiteral("/demo-") + QString::fromLatin1(digest) +
         QStringLiteral(".sqlite");
}

void writeDemoDatabase(const QString &path, const QByteArray &sql) {
  const QFileInfo target(path);
  if (!QDir().mkpath(target.absolutePath()))
    throw Exception("Cannot create the folder " + target.absolutePath().toStdString());
  // Built beside the target and renamed into place, so that a reader (another run, a
  // parallel test) never opens a half-built file.
  const QString building = target.absoluteFilePath() + QStringLiteral(".building-%1").arg(getpid());
  QFile::remove(building);
  try {
    Host::TestHost host(building);
    host.execute(QString::fromUtf8(sql));
  } catch (...) {
    QFile::remove(building);
    throw;
  }
  std::error_code error;
  std::filesystem::rename(fileSystemPath(building), fileSystemPath(target.absoluteFilePath()),
                          error);
  if (error) {
    QFile::remove(building);
    throw Exception("Cannot write " + path.toStdString() + ": " + error.message());
  }
}

QString ensureDefaultDemoDatabase(bool *built) {
  const QString path = defaultDemoDatabasePath();
  const bool missing = !QFileInfo::exists(path);
  if (missing)
    writeDemoDatabase(path, embeddedDemoSql());
  if (built)
    *built = missing;
  return path;
}

} // namespace TDInvoice::Demo
