#include "ProgramRunner.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace TDInvoice::Testing {
namespace {

QStringList toQt(const std::vector<std::string> &arguments) {
  QStringList list;
  for (const std::string &argument : arguments)
    list.append(QString::fromStdString(argument));
  return list;
}

} // namespace

TProgramRun runTdinvoice(const std::vector<std::string> &arguments, const std::string &demoDir) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("TDINVOICE_DEMO_DIR"), QString::fromStdString(demoDir));
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  environment.remove(QStringLiteral("TDINVOICE_LIBRARY"));
  process.setProcessEnvironment(environment);
  QStringList all = {QStringLiteral("--library"), QStringLiteral(TDI_LIBRARY_PATH)};
  all += toQt(arguments);
  process.start(QStringLiteral(TDI_HOST_PROGRAM), all);
  TProgramRun run;
  if (!process.waitForFinished(15 * 60 * 1000)) {
    process.kill();
    run.err = "tdinvoice did not finish";
    return run;
  }
  run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = process.readAllStandardOutput().toStdString();
  run.err = process.readAllStandardError().toStdString();
  return run;
}

std::string runTool(const std::vector<std::string> &arguments) {
  QStringList rest = toQt(arguments);
  const QString program = rest.takeFirst();
  QProcess process;
  process.start(program, rest);
  if (!process.waitForFinished(5 * 60 * 1000) || process.exitCode() != 0)
    return {};
  return process.readAllStandardOutput().toStdString();
}

} // namespace TDInvoice::Testing
