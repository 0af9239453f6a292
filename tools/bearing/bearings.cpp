// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/bearing/bearings.h"

#include <cmath>
#include <optional>

#include "app/leading_number.h"
#include "tools/bearing/great_circle.h"

namespace tavrin {

namespace {

constexpr const char* kCfgFile = "Bearing.ini";
constexpr const char* kDefaultLat = "41.318";
constexpr const char* kDefaultLong = "-111.941";
constexpr std::size_t kValueLength = 9;

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// A position field the calculation can use: not empty and not beginning with a blank.
bool Filled(const std::string& field) { return !field.empty() && field[0] != ' '; }

}  // namespace

Bearings::Bearings(Desktop& desktop, const Files& files) : desktop_(desktop), files_(files) {}

void Bearings::Load() {
  CfgProcess();
  const double latitude = ReadLeadingNumber(IniLat).value_or(0);
  const double longitude = ReadLeadingNumber(IniLong).value_or(0);
  Text1 = NumberText(std::fabs(latitude));
  Text2 = NumberText(std::fabs(longitude));
  // The target starts in the station's own hemispheres.
  MarkHemisphere(latitude, 5, 6, 1, 2);
  MarkHemisphere(longitude, 7, 8, 3, 4);
}

void Bearings::MarkHemisphere(double value, int positive, int negative, int targetPositive,
                              int targetNegative) {
  if (value > 0) {
    ClickOption(positive);
    ClickOption(targetPositive);
  } else if (value < 0) {
    ClickOption(negative);
    ClickOption(targetNegative);
  }
}

std::unique_ptr<TextInput> Bearings::OpenCfg(const std::string& fileName, const std::string& mode) {
  FileError error;
  std::unique_ptr<TextInput> file;
  if (mode == "Input") {
    file = files_.OpenInput(files_.CompletePath(fileName), error);
  } else {
    error = {kErrorPathFileAccess, "Path/File access error"};
  }
  if (file) return file;
  OpenError = true;
  desktop_.MessageBox("Unexpected Open Config File Error",
                      "Error Code " + std::to_string(error.number) + " ... " + error.description +
                          " ... " + "'" + fileName + "'" + " (provides Lat/Long defaults) " +
                          std::string(21, ' ') +
                          " Example: Line1= '[LAT]=41.318' & Line2= '[LONG]=-111.941'",
                      BoxIcon::Critical, BoxButtons::Ok);
  IniLat = kDefaultLat;
  IniLong = kDefaultLong;
  return nullptr;
}

void Bearings::CfgProcess() {
  std::unique_ptr<TextInput> file = OpenCfg(kCfgFile, "Input");
  if (OpenError || !file) return;
  while (!file->AtEnd()) {
    const std::string line = file->ReadLine();
    if (StartsWith(line, "[LAT]=")) IniLat = line.substr(6, kValueLength);
    if (StartsWith(line, "[LONG]=")) IniLong = line.substr(7, kValueLength);
  }
}

void Bearings::ClickOption(int n) {
  if (n < 1 || n > 8) return;
  const int partner = n % 2 == 1 ? n + 1 : n - 1;
  OptionMarked[static_cast<std::size_t>(n)] = true;
  OptionMarked[static_cast<std::size_t>(partner)] = false;
}

void Bearings::Calculate() {
  if (!Filled(Text1) || !Filled(Text2) || !Filled(Text3) || !Filled(Text4)) {
    ClearResults();
    return;
  }
  // Own position as typed numbers; the target by its leading number. Text that is no number
  // in the own fields, or a number too large to hold anywhere, gives no result.
  const auto ownLatitude = PlainNumber(Text1);
  const auto ownLongitude = PlainNumber(Text2);
  const auto targetLatitude = ReadLeadingNumber(Text3);
  const auto targetLongitude = ReadLeadingNumber(Text4);
  if (!ownLatitude || !ownLongitude || !targetLatitude || !targetLongitude) {
    ClearResults();
    return;
  }
  // North and west count positive.
  const double latitude1 = OptionMarked[6] ? -*ownLatitude : *ownLatitude;
  const double west1 = OptionMarked[7] ? -*ownLongitude : *ownLongitude;
  const double latitude2 = OptionMarked[2] ? -*targetLatitude : *targetLatitude;
  const double west2 = OptionMarked[3] ? -*targetLongitude : *targetLongitude;
  if (latitude1 == 0 && latitude2 == 0) {
    ClearResults();
    return;
  }
  const CourseDistance result = GreatCircle(latitude1, west1, latitude2, west2);
  Text5 = std::to_string(result.degrees);
  Text6 = std::to_string(result.miles);
  Text7 = std::to_string(result.kilometres);
}

void Bearings::Quit() { desktop_.EndProgram(); }

void Bearings::ClearResults() {
  Text5.clear();
  Text6.clear();
  Text7.clear();
}

}  // namespace tavrin
