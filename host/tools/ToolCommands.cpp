// The inspection commands of tdinvoice: what a data packet holds (recordset), what a saved
// page store holds (pages), and the store rendered to PDF or PNG (render). None of them
// loads the invoice library.
#include "host/HostCommand.h"
#include "host/tools/RecordsetCommand.h"
#include "report/output/Exporters.h"
#include "report/output/MetaPage.h"
#include "report/output/ReportPageList.h"

#include "TDInvoice/Exceptions.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTextStream>

#include <exception>
#include <ostream>

namespace TDInvoice::Host {
namespace {

QStringList toQStringList(const std::vector<std::string> &arguments) {
  QStringList list;
  for (const std::string &argument : arguments)
    list << QString::fromStdString(argument);
  return list;
}

int runRecordset(THostContext &context) {
  QString out, err;
  QTextStream outStream(&out), errStream(&err);
  const int code = recordsetCommand(toQStringList(context.arguments), outStream, errStream);
  outStream.flush();
  errStream.flush();
  context.out << out.toStdString();
  context.err << err.toStdString();
  return code;
}

// Every page of a saved store as one JSON document: the file, the page count and, per page,
// its elements as pageToJson gives them.
int runPages(THostContext &context) {
  if (context.arguments.size() != 1) {
    context.err << "usage: tdinvoice pages FILE\n";
    return 2;
  }
  const QString file = QString::fromStdString(context.arguments.front());
  try {
    Report::TReportPageList store;
    store.loadFromFile(file);
    QJsonArray pages;
    for (int n = 1; n <= store.pageCount(); ++n) {
      QJsonObject page = Report::pageToJson(*store.getPage(n)).object();
      page.insert(QStringLiteral("number"), n);
      pages.append(page);
    }
    QJsonObject document{{QStringLiteral("file"), file},
                         {QStringLiteral("pageCount"), store.pageCount()},
                         {QStringLiteral("pages"), pages}};
    context.out << QJsonDocument(document).toJson(QJsonDocument::Indented).toStdString();
    return 0;
  } catch (const std::exception &error) {
    context.err << "tdinvoice pages: " << error.what() << "\n";
    return 1;
  }
}

// render FILE --pdf OUT | --png DIR [--dpi N]
int runRender(THostContext &context) {
  const auto &args = context.arguments;
  QString file, pdf, png;
  int dpi = 150;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string &arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--pdf" && hasValue)
      pdf = QString::fromStdString(args[++i]);
    else if (arg == "--png" && hasValue)
      png = QString::fromStdString(args[++i]);
    else if (arg == "--dpi" && hasValue)
      dpi = std::atoi(args[++i].c_str());
    else if (file.isEmpty() && !arg.starts_with("--"))
      file = QString::fromStdString(arg);
    else {
      context.err << "tdinvoice render: unexpected argument '" << arg << "'\n";
      return 2;
    }
  }
  if (file.isEmpty() || pdf.isEmpty() == png.isEmpty() || dpi < 10 || dpi > 1200) {
    context.err << "usage: tdinvoice render FILE --pdf OUT.pdf | --png DIR [--dpi 10..1200]\n";
    return 2;
  }
  try {
    Report::TReportPageList store;
    store.loadFromFile(file);
    const int written = pdf.isEmpty() ? Report::exportPng(store, png, dpi)
                                      : Report::exportPdf(store, pdf, QStringLiteral("Invoice"));
    context.out << "rendered " << written << " page(s) to "
                << (pdf.isEmpty() ? png : pdf).toStdString() << "\n";
    return 0;
  } catch (const std::exception &error) {
    context.err << "tdinvoice render: " << error.what() << "\n";
    return 1;
  }
}

const THostCommandRegistration recordsetRegistration(
    {"recordset", "show the columns and rows of a data packet or persisted recordset (JSON)", false,
     runRecordset});
const THostCommandRegistration pagesRegistration(
    {"pages", "list the pages of a saved page store and their elements (JSON)", false, runPages});
const THostCommandRegistration
    renderRegistration({"render", "render a saved page store: --pdf OUT.pdf or --png DIR [--dpi N]",
                        false, runRender});

} // namespace
} // namespace TDInvoice::Host
