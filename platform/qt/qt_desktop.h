// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window system's boxes and dialogs for the programs of the suite: modal message boxes,
// input boxes, the file dialog, and the end of the program.
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "platform/desktop.h"

class QFileDialog;

namespace tavrin {

class QtDesktop : public Desktop {
 public:
  BoxAnswer MessageBox(const std::string& title, const std::string& text, BoxIcon icon,
                       BoxButtons buttons) override;
  std::string InputBox(const std::string& title, const std::string& prompt,
                       const std::string& defaultAnswer) override;
  std::string FileDialog(const std::string& filter, int filterIndex) override;
  // Runs the shutdown hooks in the order they were added, flushes the standard streams and
  // ends the process at once: nothing of the caller runs on.
  [[noreturn]] void EndProgram() override;

  // Work to do before the program ends: closing files, releasing the serial port.
  void AddShutdownHook(std::function<void()> hook);

 private:
  std::vector<std::function<void()>> shutdownHooks_;
};

// "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*" as the file dialog's filter list
// ("Text Files (*.TXT)", "All Files (*.*)"). Each entry is a description and its patterns;
// the patterns (separated by ";") replace whatever the description shows in parentheses.
// Entries without a pattern are dropped.
QStringList QtFileFilters(const std::string& filter);
// The dialog keeps showing "All Files (*.*)" as its filter, but while that filter is chosen it
// lists every file, names without a dot among them (Qt would match "*.*" literally). The file
// dialog calls this on opening and on every change of its filter.
void ListUndottedNamesAsAllFiles(QFileDialog& dialog);

}  // namespace tavrin
