// SPDX-License-Identifier: GPL-3.0-or-later
// The machine's serial devices as the setup window sees them: the list read from folders that
// stand for /dev and /sys (by-id names, USB products, missing folders), the comN links that say
// which device each port is, and the permission and lock-file checks made before a device is
// opened (as another user, where the test runs as root).
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/device_access.h"
#include "platform/files.h"
#include "platform/port_links.h"
#include "platform/serial_devices.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

class DevicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "devices_test_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
    // Another user looks into it in the permission cases.
    fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string File(const std::string& name, const std::string& contents = "") {
    const fs::path path = dir / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path) << contents;
    return path.string();
  }
  std::string Link(const std::string& name, const std::string& target) {
    const fs::path path = dir / name;
    fs::create_directories(path.parent_path());
    fs::create_symlink(target, path);
    return path.string();
  }
  std::string Path(const std::string& name) const { return (dir / name).string(); }
  fs::path dir;
};

TEST_F(DevicesTest, ListsByIdNamesWithProductsThenUnnamedDevicesThenTheSimulator) {
  File("dev/ttyUSB0");
  File("dev/ttyUSB1");
  File("dev/ttyUSB2");
  File("dev/ttyUSB10");
  File("dev/ttyACM0");
  File("dev/ttyS0");
  File("dev/tty");
  const std::string cp2102 =
      Link("dev/serial/by-id/usb-Silicon_Labs_CP2102_USB_to_UART_Bridge_Controller_0001-if00-port0",
           "../../ttyUSB0");
  const std::string ftdi =
      Link("dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "../../ttyUSB1");
  Link("dev/serial/by-id/usb-Pulled_Cable-if00-port0", "../../ttyUSB7");
  // The kernel's view: the product file of the USB device above the tty.
  File("sys/devices/usb1/1-1/product", "CP2102 USB to UART Bridge Controller\n");
  fs::create_directories(dir / "sys/devices/usb1/1-1/1-1:1.0/ttyUSB0");
  Link("sys/class/tty/ttyUSB0/device", "../../../devices/usb1/1-1/1-1:1.0/ttyUSB0");
  File("sys/devices/usb2/2-1/product", "Arduino Uno");
  fs::create_directories(dir / "sys/devices/usb2/2-1/2-1:1.0");
  Link("sys/class/tty/ttyACM0/device", "../../../devices/usb2/2-1/2-1:1.0");
  // rigsim's folder: its line, a link it left pointing nowhere, and a file of another name.
  const std::string pts = File("pts3");
  const std::string rigsim = Link("sim/com1", pts);
  Link("sim/com2", Path("gone"));
  File("sim/notes.txt");

  const std::vector<SerialDevice> expected = {
      {ftdi, Path("dev/ttyUSB1"), "FTDI FT232R USB UART A50285BI"},
      {cp2102, Path("dev/ttyUSB0"), "CP2102 USB to UART Bridge Controller"},
      {Path("dev/ttyACM0"), Path("dev/ttyACM0"), "Arduino Uno"},
      {Path("dev/ttyUSB2"), Path("dev/ttyUSB2"), ""},
      {Path("dev/ttyUSB10"), Path("dev/ttyUSB10"), ""},
      {rigsim, pts, kSimulatorProduct},
  };
  const std::vector<SerialDevice> listed =
      ListSerialDevices({Path("dev"), Path("sys"), Path("sim")});
  EXPECT_EQ(listed, expected);
  EXPECT_EQ(listed[1].Line(),
            cp2102 + "  (CP2102 USB to UART Bridge Controller, " + Path("dev/ttyUSB0") + ")");
  EXPECT_EQ(listed[3].Line(), Path("dev/ttyUSB2"));

  // Another source (the window system's port list): a device already listed only gains a
  // product it lacked; one not listed comes at the end.
  std::vector<SerialDevice> merged = listed;
  MergeSerialDevices(merged, {{Path("dev/ttyUSB2"), Path("dev/ttyUSB2"), "USB2.0-Serial"},
                              {Path("dev/ttyUSB0"), Path("dev/ttyUSB0"), "other name"},
                              {"/dev/ttyS0", "", "16550A"}});
  ASSERT_EQ(merged.size(), expected.size() + 1);
  EXPECT_EQ(merged[3].product, "USB2.0-Serial");
  EXPECT_EQ(merged[1].product, "CP2102 USB to UART Bridge Controller");
  EXPECT_EQ(merged.back(), (SerialDevice{"/dev/ttyS0", "/dev/ttyS0", "16550A"}));
  EXPECT_EQ(merged.back().Line(), "/dev/ttyS0  (16550A)");

  // Folders that are not there list nothing.
  EXPECT_TRUE(ListSerialDevices({Path("none/dev"), Path("none/sys"), Path("none/sim")}).empty());
  EXPECT_TRUE(ListSerialDevices({Path("none/dev"), "", ""}).empty());
}

TEST_F(DevicesTest, ProductNamesFromByIdNames) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"usb-Silicon_Labs_CP2102_USB_to_UART_Bridge_Controller_0001-if00-port0",
       "Silicon Labs CP2102 USB to UART Bridge Controller 0001"},
      {"usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "FTDI FT232R USB UART A50285BI"},
      {"usb-1a86_USB2.0-Ser_-if00-port0", "1a86 USB2.0-Ser"},
      {"usb-Arduino__www.arduino.cc__0043_75833353-if00", "Arduino  www.arduino.cc  0043 75833353"},
      {"pci-ICOM_CI-V-if01", "ICOM CI-V"},
      {"usb-No_Interface", "No Interface"},
      {"", ""},
  };
  for (const auto& [name, product] : cases) EXPECT_EQ(ProductFromByIdName(name), product) << name;
}

TEST_F(DevicesTest, PortLinksSayWhereEachPortLeadsAndArePointedInOneStep) {
  Files files(dir.string());
  const PortLinks links(files, Path("dev"));
  const std::string ttyS0 = File("dev/ttyS0");
  const std::string usb0 = File("dev/ttyUSB0");
  EXPECT_EQ(links.Describe(1), ttyS0);  // no link: the machine's own port
  EXPECT_EQ(links.Describe(2), "not connected");
  EXPECT_EQ(links.DevicePath(2), Path("dev/ttyS1"));
  EXPECT_EQ(links.Describe(0), "");
  EXPECT_EQ(links.DevicePath(256), "");

  std::string error;
  const std::string byId = "/dev/serial/by-id/usb-Silicon_Labs_CP2102_0001-if00-port0";
  ASSERT_TRUE(links.PointAt(1, byId, error)) << error;
  EXPECT_EQ(links.LinkPath(1), Path("com1"));
  EXPECT_EQ(links.Describe(1), byId + " (not connected)");
  ASSERT_TRUE(links.PointAt(1, usb0, error)) << error;
  EXPECT_EQ(links.Describe(1), usb0);
  EXPECT_EQ(fs::read_symlink(dir / "com1"), usb0);

  // An upper-case COM2 link is the one pointed again; no second link is made beside it.
  Link("COM2", "/dev/ttyUSB9");
  ASSERT_TRUE(links.PointAt(2, usb0, error)) << error;
  EXPECT_EQ(fs::read_symlink(dir / "COM2"), usb0);
  EXPECT_FALSE(fs::is_symlink(dir / "com2"));

  // A comN that is not a link, and ports that cannot be, are refused; nothing is left behind.
  File("com3", "mine");
  EXPECT_FALSE(links.PointAt(3, usb0, error));
  EXPECT_EQ(error, Path("com3") + " is not a link; it was left as it is");
  EXPECT_FALSE(fs::is_symlink(dir / "com3"));
  EXPECT_FALSE(links.PointAt(0, usb0, error));
  EXPECT_FALSE(links.PointAt(4, "", error));
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"COM2", "com1", "com3", "dev"}));
}

TEST_F(DevicesTest, LockFilesOfProgramsThatEndedAreClearedAndLiveOnesKept) {
  const std::string device = File("dev/ttyUSB0");
  fs::create_directories(dir / "locks");
  const std::vector<std::string> folders = {Path("no-such-folder"), Path("locks")};
  EXPECT_EQ(LockFilePath("/dev/ttyUSB0", folders), Path("locks/LCK..ttyUSB0"));
  EXPECT_EQ(LockFilePath("/dev/pts/3", folders), Path("locks/LCK..pts_3"));
  EXPECT_EQ(LockFilePath("/dev/ttyUSB0", {Path("no-such-folder")}), "");

  // A process that has ended: its number is free now.
  const pid_t ended = fork();
  if (ended == 0) _exit(0);
  ASSERT_GT(ended, 0);
  waitpid(ended, nullptr, 0);
  const std::string lock = LockFilePath(device, folders);
  struct Case {
    std::string contents;
    bool kept;
  };
  const std::vector<Case> cases = {
      {std::to_string(ended) + "\ntavrin\nhost\n", false},
      {"     " + std::to_string(ended) + "\n", false},  // the ten-column form of older tools
      {std::to_string(getpid()) + "\ntavrin\nhost\n", true},
      {"not a number\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.contents);
    File("locks/" + fs::path(lock).filename().string(), c.contents);
    EXPECT_FALSE(CheckDeviceAccess(device, folders).Failed());
    EXPECT_EQ(fs::exists(lock), c.kept);
  }
}

// What CheckDeviceAccess says when run as the user `uid` with the groups `gid` (and nothing
// else), in a child process: the error number, then the advice.
std::string AccessAs(uid_t uid, gid_t gid, const std::function<PortError()>& check) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return "no pipe";
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0) _exit(3);
    const PortError error = check();
    const std::string said = std::to_string(error.number) + " " + error.advice;
    [[maybe_unused]] const ssize_t n = write(pipeEnds[1], said.data(), said.size());
    _exit(0);
  }
  close(pipeEnds[1]);
  std::string said;
  char buffer[512];
  for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) said.append(buffer, n);
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return said;
}

TEST_F(DevicesTest, ADeviceThisUserMayNotOpenIsExplainedWithItsCure) {
  if (geteuid() != 0) GTEST_SKIP() << "acting as another user needs root";
  const passwd* nobody = getpwnam("nobody");
  const group* dialout = getgrnam("dialout");
  ASSERT_NE(nobody, nullptr);
  ASSERT_NE(dialout, nullptr) << "the dialout group of Debian";
  const uid_t uid = nobody->pw_uid;
  const gid_t ownGroup = nobody->pw_gid;
  const std::string user = nobody->pw_name;
  struct Case {
    const char* name;
    gid_t deviceGroup;
    mode_t mode;
    gid_t processGroup;
    std::string said;  // "" for the device's path, filled in below
  };
  const std::string device = File("dev/ttyUSB0");
  const std::vector<Case> cases = {
      {"outside the device's group", dialout->gr_gid, 0660, ownGroup,
       "70 " + device + " belongs to the group dialout. Add yourself with: sudo adduser " + user +
           " dialout, then log out and in again."},
      // The user database has the user in the group, this session does not: it began before.
      {"joined after logging in", ownGroup, 0660, 1,
       "70 " + device + " belongs to the group " + getgrgid(ownGroup)->gr_name +
           ", which you joined after logging in: log out and in again."},
      {"only its owner", 0, 0600, ownGroup,
       "70 " + device +
           " may be used by root only. Ask the administrator of this computer to "
           "let you use it."},
      {"in the device's group", dialout->gr_gid, 0660, dialout->gr_gid, "0 "},
  };
  const std::vector<std::string> noLocks = {Path("locks")};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(chown(device.c_str(), 0, c.deviceGroup), 0);
    ASSERT_EQ(chmod(device.c_str(), c.mode), 0);
    EXPECT_EQ(AccessAs(uid, c.processGroup, [&] { return CheckDeviceAccess(device, noLocks); }),
              c.said);
  }

  // A lock left by a run as root, whose process has ended, in the shared lock folder (sticky):
  // this user may not remove it, and the box names it with the command that does.
  ASSERT_EQ(chmod(device.c_str(), 0666), 0);
  fs::create_directories(dir / "locks");
  ASSERT_EQ(chmod(Path("locks").c_str(), 01777), 0);
  const pid_t ended = fork();
  if (ended == 0) _exit(0);
  waitpid(ended, nullptr, 0);
  const std::string lock = LockFilePath(device, noLocks);
  File(fs::relative(lock, dir).string(), std::to_string(ended) + "\ntavrin\n");
  EXPECT_EQ(AccessAs(uid, ownGroup, [&] { return CheckDeviceAccess(device, noLocks); }),
            "70 The lock file " + lock + " was left by a program that has ended (process " +
                std::to_string(ended) +
                ") and this user may not remove it. Remove it with: sudo rm " + lock);
  EXPECT_TRUE(fs::exists(lock));
  // Root may, and does.
  EXPECT_FALSE(CheckDeviceAccess(device, noLocks).Failed());
  EXPECT_FALSE(fs::exists(lock));
}

}  // namespace
}  // namespace tavrin
