// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the windows need from the window system: modal boxes, the file dialog and the end of
// the program. The Qt implementation lives in platform/qt, the scripted test double in
// fake_desktop.h.
#include <string>

namespace tavrin {

enum class BoxIcon { None, Critical, Question, Exclamation, Information };
// YesNo has Yes as its default button (Enter), YesNoDefaultNo has No: a question whose Yes
// cannot be undone.
enum class BoxButtons { Ok, YesNo, YesNoDefaultNo };
enum class BoxAnswer { Ok, Yes, No };

class Desktop {
 public:
  virtual ~Desktop() = default;
  // A modal message box; returns the button pressed (Ok for an Ok box).
  virtual BoxAnswer MessageBox(const std::string& title, const std::string& text, BoxIcon icon,
                               BoxButtons buttons) = 0;
  // A modal input box with OK and Cancel; returns the text exactly as typed, or the empty
  // text on Cancel.
  virtual std::string InputBox(const std::string& title, const std::string& prompt,
                               const std::string& defaultAnswer) = 0;
  // The file dialog. `filter` is in the "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*" form,
  // `filterIndex` counts from 1. Returns the chosen path, or the empty text when cancelled.
  virtual std::string FileDialog(const std::string& filter, int filterIndex) = 0;
  // Ends the program at once, after the registered shutdown work (closing files, the port).
  virtual void EndProgram() = 0;
};

}  // namespace tavrin
