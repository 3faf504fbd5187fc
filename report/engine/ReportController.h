// One data loop of a report: the report's own (over the report's dataset) or a sub-detail's.
// It prints the loop's header, its detail band once per record with the groups and the
// nested loops around it, and its footer.
#pragma once

#include <QObject>
#include <functional>
#include <vector>

namespace TDInvoice::Report {

class TReportControl;
class TReportCustomBand;
class TReportDataSet;
class TReportGroup;
class TReportPrintable;
class TReportRunner;

class TReportController {
public:
  using TNeedDataEvent = std::function<void(QObject *Sender, bool &MoreData)>;

  // What the loop runs over, taken from the report or the sub-detail before each run.
  struct TConfig {
    TReportCustomBand *detail = nullptr;
    TReportCustomBand *header = nullptr;
    TReportCustomBand *footer = nullptr;
    TReportDataSet *dataSet = nullptr;
    const TNeedDataEvent *needData = nullptr; // the owner's handler slot
    QObject *sender = nullptr;
    bool printIfEmpty = true;
    bool printBefore = false;
    bool reportController = false; // the report's own loop
  };

  explicit TReportController(TReportControl *owner) : m_owner(owner) {}

  TReportControl *owner() const { return m_owner; }
  const TConfig &config() const { return m_config; }

  // Building the tree: configuration, nested loops (split by their print-before flag) and
  // the groups whose master is this loop's band or report, all in component order.
  void configure(const TConfig &config);
  void addController(TReportController *controller);
  void addGroup(TReportGroup *group) { m_groups.push_back(group); }
  const std::vector<TReportController *> &beforeList() const { return m_before; }
  const std::vector<TReportController *> &afterList() const { return m_after; }
  const std::vector<TReportGroup *> &groups() const { return m_groups; }

  void prepare(TReportRunner &run);
  void unprepare();
  void execute(TReportRunner &run);
  // After a page break: reprint the headers of groups that ask for it.
  void newPageCheck(TReportRunner &run);

  int detailNumber() const { return m_detailNumber; }

  // Printables that want to know when the loop's detail band printed a new record.
  void addDataNotify(TReportPrintable *printable);
  void notifyPrintables();

private:
  void printEmpty(TReportRunner &run);
  void printHeaders(TReportRunner &run);
  void runDetail(TReportRunner &run);
  bool advance();
  bool hasNeedData() const;
  bool checkGroups();
  void printGroupHeaders(TReportRunner &run);
  void printGroupFooters(TReportRunner &run);
  static void executeList(const std::vector<TReportController *> &list, TReportRunner &run);

  TReportControl *m_owner;
  TConfig m_config;
  std::vector<TReportController *> m_before;
  std::vector<TReportController *> m_after;
  std::vector<TReportGroup *> m_groups;
  std::vector<TReportPrintable *> m_notify;
  int m_detailNumber = 0;
};

// The record count of dataSet for progress; a dataset that fails to count counts as one.
int countRecords(const TReportDataSet &dataSet);

} // namespace TDInvoice::Report
