#include "ChildRun.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace TDInvoice::Bench {

TChildRun runChild(const std::vector<std::string> &arguments) {
  TChildRun run;
  char logName[] = "/tmp/tdinvoice-bench-XXXXXX";
  const int log = mkstemp(logName);
  if (log < 0)
    return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, log, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, log, STDERR_FILENO);
  std::vector<char *> argv;
  for (const std::string &argument : arguments)
    argv.push_back(const_cast<char *>(argument.c_str()));
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) == child) {
      run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      run.peakRssKiB = usage.ru_maxrss;
      run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
  }
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  posix_spawn_file_actions_destroy(&actions);
  close(log);
  std::ifstream in(logName);
  run.output.assign(std::istreambuf_iterator<char>(in), {});
  std::remove(logName);
  return run;
}

} // namespace TDInvoice::Bench
