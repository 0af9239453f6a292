// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The control program started on the in-process transceiver, with helpers for the memory
// window's tests.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/program_fixture.h"

namespace tavrin::testing {

inline std::string Blanks(std::size_t n) { return std::string(n, ' '); }

// A channel line spelled out column by column, independently of the program's writer.
inline std::string Line(const std::string& number, const std::string& frequency,
                        const std::string& mode, const std::string& filter,
                        const std::string& select, const std::string& label) {
  return " " + number + Blanks(13 - number.size()) + frequency + Blanks(6) + mode +
         Blanks(14 - mode.size()) + filter + Blanks(9) + select + Blanks(14 - select.size()) +
         label + "\r\n";
}

inline const std::string kEmptyLine = Blanks(70) + "\r\n";
inline const std::string kHeaderLine = "*Ch#" + Blanks(10) + "Freq..:." + Blanks(6) + "Mode" +
                                       Blanks(10) + "Fil #" + Blanks(9) + "Select" + Blanks(8) +
                                       "Label.....**\r\n";
inline const std::string kEndLine = " END" + Blanks(66) + "\r\n";

// What disturbs a line for `micros` from `now`: noise, or broadcasts of a dial being turned.
struct LineDisturbance {
  const char* name;
  std::function<void(sim::Bus&, std::int64_t now, std::int64_t micros)> start;
};
inline const LineDisturbance kLineDisturbances[] = {
    {"500 stray bytes a second", [](sim::Bus& line, std::int64_t now,
                                    std::int64_t micros) { line.AddStrayBytes(500, now, micros); }},
    {"the dial spun, a broadcast every 15 ms",
     [](sim::Bus& line, std::int64_t now, std::int64_t micros) {
       line.FloodBroadcasts(15'000, now, micros);
     }},
    {"broadcasts as fast as the line carries them",
     [](sim::Bus& line, std::int64_t now, std::int64_t micros) {
       line.FloodBroadcasts(0, now, micros);
     }},
};

// Message boxes as title and text, in the order shown.
using Shown = std::vector<std::pair<std::string, std::string>>;
// What a memory channel holds: blank, frequency, mode, filter, selected, name.
using Stored = std::tuple<bool, std::int64_t, int, int, bool, std::string>;

class MemoryFixture : public ProgramFixture {
 protected:
  // Starts the program with KESTRA.TXT as the data file and forgets the start-up's frames
  // and boxes.
  ControlProgram& StartProgram(Build build = Build::Tavrin) {
    WriteConfig();
    ControlProgram& p = Start(build);
    ClearSent();
    desktop.boxes.clear();
    return p;
  }
  MemoryMain& Memory() { return program->memory; }
  // Whether the memory window's operation of that title runs.
  bool Runs(const std::string& title) { return Memory().Runs(title); }
  bool AnyRuns() { return Memory().Operations().Running() != nullptr; }
  // Advances the clock in steps of `stepMs` while an operation runs, at most `limitMs`.
  void AdvanceWhileRunning(int limitMs = 60'000, int stepMs = 100) {
    for (int ms = 0; ms < limitMs && AnyRuns(); ms += stepMs) Advance(stepMs);
  }
  // Advances the clock a millisecond at a time until `done` holds, at most `limitMs`. A step
  // that follows an answer comes a millisecond after it, so what the answer's step left can
  // be seen before the next step.
  bool AdvanceUntil(const std::function<bool()>& done, int limitMs = 60'000) {
    for (int ms = 0; ms < limitMs && !done(); ++ms) Advance(1);
    return done();
  }
  [[nodiscard]] std::size_t ReadsSent() const {
    return SentStartingWith(Bytes({0x1A, 0x00})).size();
  }
  // The names in the working directory, for checks that no temporary file is left behind.
  [[nodiscard]] std::vector<std::string> DirectoryNames() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  Station& State() { return program->station; }

  // Frames sent since the last ClearSent whose command bytes (after FE FE 64 E0) begin with
  // `head`.
  [[nodiscard]] std::vector<std::string> SentStartingWith(const std::string& head) const {
    std::vector<std::string> found;
    for (const std::string& frame : Sent())
      if (frame.compare(4, head.size(), head) == 0) found.push_back(frame);
    return found;
  }
  // The input boxes shown, as title, prompt and default joined by "|".
  [[nodiscard]] std::vector<std::string> Asked() const {
    std::vector<std::string> asked;
    for (const RecordedBox& box : desktop.InputBoxes())
      asked.push_back(box.title + "|" + box.text + "|" + box.defaultAnswer);
    return asked;
  }
  [[nodiscard]] Shown Messages() const {
    Shown shown;
    for (const RecordedBox& box : desktop.MessageBoxes()) shown.emplace_back(box.title, box.text);
    return shown;
  }

  // Channel n filled with 14 MHz + n * 10 kHz, USB, filter 2, "CH".
  void Fill(int n, bool selected = false) {
    rig.SetChannel(
        n, sim::MemoryChannel::Filled(14'000'000 + n * 10'000, sim::kModeUsb, 2, "CH", selected));
  }
  [[nodiscard]] Stored Contents(int n) const {
    const sim::MemoryChannel& c = rig.Channel(n);
    return {c.blank, c.frequencyHz, c.mode, c.filter, c.selected, c.name};
  }
  [[nodiscard]] std::vector<int> BlankChannels() const {
    std::vector<int> blank;
    for (int n = 1; n <= 101; ++n)
      if (rig.Channel(n).blank) blank.push_back(n);
    return blank;
  }
  // "Blank Rig" answered Yes, then the range.
  void BlankRig(const std::string& start, const std::string& end) {
    desktop.AnswerYes();
    desktop.Type(start);
    desktop.Type(end);
    Memory().Click("Command5");
  }
};

}  // namespace tavrin::testing
