// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The programs a benchmark runs beside itself (rigsim, rigctld): started in a folder with
// their output thrown away, and stopped as a user's Ctrl+C would.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace tavrin::bench {

// Starts `arguments` (the program first, looked up on the PATH) in `directory`.
inline pid_t Spawn(const std::vector<std::string>& arguments,
                   const std::filesystem::path& directory) {
  std::fflush(stdout);  // what the benchmark printed must not come out twice
  const pid_t pid = fork();
  if (pid != 0) return pid;
  if (chdir(directory.c_str()) != 0) _exit(126);
  if (std::freopen("/dev/null", "w", stdout) == nullptr) _exit(126);
  if (std::freopen("/dev/null", "w", stderr) == nullptr) _exit(126);
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  execvp(argv[0], argv.data());
  _exit(127);
}

// Ends a program Spawn started and waits for it.
inline void Stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
}

}  // namespace tavrin::bench
