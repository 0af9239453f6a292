// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/config_file.h"

#include "app/control_program.h"
#include "app/text_functions.h"

namespace tavrin {

namespace {

std::string OpenErrorText(const FileError& error, const std::string& name,
                          const std::string& mode) {
  return "Error Code " + std::to_string(error.number) + " ... " + error.description + " ... " +
         name + " ... " + mode;
}

}  // namespace

ConfigFile OpenConfigFile(ControlProgram& program, const std::string& name, const std::string& mode,
                          bool report) {
  ConfigFile file;
  Files& files = program.platform.files;
  Desktop& desktop = program.platform.desktop;
  const std::string path = files.CompletePath(name);
  FileError error;
  if (mode == "Input") {
    file.input = files.OpenInput(path, error);
  } else if (mode == "Output") {
    file.output = files.OpenOutput(path, error);
  } else {
    return file;
  }
  if (!error.Failed()) return file;
  file.error = error;
  if (error.number == kErrorFileNotFound) {
    desktop.MessageBox("Open Config File Error",
                       OpenErrorText(error, name, mode) + " ... " + "File will be created.",
                       BoxIcon::Critical, BoxButtons::Ok);
    FileError createError;
    if (auto created = files.OpenOutput(path, createError)) created->Close();
    program.station.ConfigMissing = true;
    return file;
  }
  if (!report) return file;
  std::string text = OpenErrorText(error, name, mode);
  if (mode == "Input") text += std::string(" ... ") + kIncompleteConfigAdvice;
  desktop.MessageBox("Unexpected Open Config File Error", text, BoxIcon::Critical, BoxButtons::Ok);
  return file;
}

ConfigReading ReadConfigFile(ControlProgram& program, bool report) {
  ConfigReading reading;
  ConfigFile file = OpenConfigFile(program, kConfigFileName, "Input", report);
  if (!file.input) {
    // A missing file has been made empty (and counts as empty); any other failure leaves a
    // file that cannot be read.
    reading.unreadable = file.error.number != kErrorFileNotFound;
    return reading;
  }
  reading.opened = true;
  Station& s = program.station;
  struct Key {
    const char* token;
    std::string* setting;
    std::size_t keep;
  };
  const Key keys[] = {{"[DeftFile] ", &s.DeftFile, 12},
                      {"[CallSign] ", &s.CallSign, 10},
                      // The port name is read whole: COM12 is not COM1.
                      {"[CommPort] ", &s.CommPort, std::string::npos},
                      {"[CommBaud] ", &s.CommBaud, 11}};
  while (!file.input->AtEnd()) {
    const std::string line = file.input->ReadLine();
    for (const Key& key : keys) {
      if (line.compare(0, 11, key.token) == 0 && line.size() >= 11) {
        *key.setting = line.substr(11, key.keep);
      }
    }
    reading.lastLine = line;
  }
  return reading;
}

bool WriteConfigFile(ControlProgram& program) {
  Files& files = program.platform.files;
  const std::string path = files.CompletePath(kConfigFileName);
  FileError error;
  // The settings go to a temporary file beside KESTRA.INI, which is replaced only by the
  // whole new file: a full disk or a read-only folder leaves the old settings in place.
  std::unique_ptr<TextOutput> out = files.OpenReplacement(path, error);
  Station& s = program.station;
  if (out) {
    if (s.DeftFile.empty()) s.DeftFile = "KESTRA.TXT";
    if (s.CallSign.empty()) s.CallSign = kDefaultCallSign;
    if (s.CommPort.empty()) s.CommPort = "COM1";
    if (s.CommBaud.empty()) s.CommBaud = "19200,N,8,1";
    s.DeftFile = UpperFileName(s.DeftFile);
    const std::string lines[] = {
        std::string("KESTRA") + " CONFIGURATION FILE (" + "KESTRA" + ".INI)",
        " ",
        "[DeftFile] " + s.DeftFile,
        "[CallSign] " + s.CallSign,
        "[CommPort] " + s.CommPort,
        "[CommBaud] " + s.CommBaud,
        " ",
        "END"};
    for (const std::string& line : lines) out->WriteLine(line);
    if (out->Commit()) return true;
    error = out->Error();
  }
  program.platform.desktop.MessageBox("Save Config File Error",
                                      OpenErrorText(error, path, "Output") +
                                          " ... The settings were not saved ... " +
                                          std::string(kConfigFileName) + " was kept as it was.",
                                      BoxIcon::Critical, BoxButtons::Ok);
  return false;
}

}  // namespace tavrin
