// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/device_access.h"

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace tavrin {

namespace fs = std::filesystem;

namespace {

const char* const kPermissionDenied = "Permission denied";

std::string UserName() {
  const passwd* user = ::getpwuid(::geteuid());
  return user != nullptr ? user->pw_name : std::to_string(::geteuid());
}

std::string GroupName(gid_t gid) {
  const group* found = ::getgrgid(gid);
  return found != nullptr ? found->gr_name : std::to_string(gid);
}

std::string OwnerName(uid_t uid) {
  const passwd* owner = ::getpwuid(uid);
  return owner != nullptr ? owner->pw_name : std::to_string(uid);
}

// Whether this process carries the group now (its effective or a supplementary group).
bool ProcessInGroup(gid_t gid) {
  if (::getegid() == gid) return true;
  const int count = ::getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  const int got = ::getgroups(count, groups.data());
  return got > 0 && std::find(groups.begin(), groups.begin() + got, gid) != groups.begin() + got;
}

// Whether the user database puts this user in the group (as its primary group or a member).
bool UserListedInGroup(gid_t gid) {
  const passwd* user = ::getpwuid(::geteuid());
  if (user == nullptr) return false;
  if (user->pw_gid == gid) return true;
  const group* found = ::getgrgid(gid);
  if (found == nullptr || found->gr_mem == nullptr) return false;
  for (char** member = found->gr_mem; *member != nullptr; ++member) {
    if (std::string(*member) == user->pw_name) return true;
  }
  return false;
}

// The process number on the first line of a lock file; 0 when there is none.
long LockOwner(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  const auto first = std::find_if(line.begin(), line.end(), [](char c) {
    return std::isspace(static_cast<unsigned char>(c)) == 0;
  });
  long pid = 0;
  for (auto it = first; it != line.end() && std::isdigit(static_cast<unsigned char>(*it)) != 0;
       ++it) {
    if (pid > 100'000'000) return 0;
    pid = pid * 10 + (*it - '0');
  }
  return pid;
}

bool ProcessRunning(long pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }

}  // namespace

std::vector<std::string> SerialLockFolders() {
  return {"/var/lock", "/etc/locks", "/var/spool/locks",  "/var/spool/uucp",
          "/tmp",      "/var/tmp",   "/var/lock/lockdev", "/run/lock"};
}

std::string LockFilePath(const std::string& device, const std::vector<std::string>& folders) {
  std::string name = device;
  if (name.rfind("/dev/", 0) == 0) name.erase(0, 5);
  std::replace(name.begin(), name.end(), '/', '_');
  name = "LCK.." + name;
  for (const std::string& folder : folders) {
    const std::string path = (fs::path(folder) / name).string();
    if (::access(folder.c_str(), R_OK) != 0) continue;
    std::error_code ec;
    if (fs::exists(path, ec) || ::access(folder.c_str(), W_OK) == 0) return path;
  }
  return {};
}

std::string PermissionAdvice(const std::string& device) {
  struct stat info {};
  if (::stat(device.c_str(), &info) != 0) return {};
  const std::string group = GroupName(info.st_gid);
  const bool groupMayUse = (info.st_mode & S_IRGRP) != 0 && (info.st_mode & S_IWGRP) != 0;
  if (groupMayUse && info.st_gid != 0) {
    if (UserListedInGroup(info.st_gid) && !ProcessInGroup(info.st_gid)) {
      return device + " belongs to the group " + group +
             ", which you joined after logging in: log out and in again.";
    }
    return device + " belongs to the group " + group + ". Add yourself with: sudo adduser " +
           UserName() + " " + group + ", then log out and in again.";
  }
  return device + " may be used by " + OwnerName(info.st_uid) +
         " only. Ask the administrator of this computer to let you use it.";
}

PortError CheckDeviceAccess(const std::string& device,
                            const std::vector<std::string>& lockFolders) {
  if (::access(device.c_str(), R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM)) {
    return {kErrorPermissionDenied, kPermissionDenied, PermissionAdvice(device)};
  }
  const std::string lock = LockFilePath(device, lockFolders);
  std::error_code ec;
  if (lock.empty() || !fs::exists(lock, ec)) return {};
  const long owner = LockOwner(lock);
  // A lock whose process is still running is left to the serial port library, which tells a
  // port held by another program from a lock of a process that has ended.
  if (owner <= 0 || ProcessRunning(owner)) return {};
  if (::unlink(lock.c_str()) == 0 || errno == ENOENT) return {};
  return {kErrorPermissionDenied, kPermissionDenied,
          "The lock file " + lock + " was left by a program that has ended (process " +
              std::to_string(owner) +
              ") and this user may not remove it. Remove it with: sudo rm " + lock};
}

}  // namespace tavrin
