// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_view.h"

#include <QApplication>

#include "app/setup_main_view.h"
#include "app/splash_main_view.h"
#include "memory/data_main_view.h"
#include "memory/memory_main_view.h"
#include "radio/compact_panel_view.h"
#include "radio/radio_main_view.h"

namespace tavrin {

std::vector<ViewMaker> TavrinViews() {
  return {
      ViewOf<SplashMainView>(&ControlProgram::splash), ViewOf<DataMainView>(&ControlProgram::data),
      ViewOf<MemoryMainView>(&ControlProgram::memory),
      ViewOf<RadioMainView>(&ControlProgram::radio), ViewOf<SetupMainView>(&ControlProgram::setup)};
}

std::vector<ViewMaker> KorvidViews() {
  return {ViewOf<SplashMainView>(&ControlProgram::splash),
          ViewOf<CompactPanelView>(&ControlProgram::panel),
          ViewOf<SetupMainView>(&ControlProgram::setup)};
}

std::vector<ViewMaker> BelmarqViews() {
  return {ViewOf<SplashMainView>(&ControlProgram::splash),
          ViewOf<DataMainView>(&ControlProgram::data),
          ViewOf<MemoryMainView>(&ControlProgram::memory),
          ViewOf<SetupMainView>(&ControlProgram::setup)};
}

int RunProgram(int argc, char* argv[], Build build, const std::vector<ViewMaker>& views) {
  QApplication application(argc, argv);
  // The program ends through its own Exit paths, never because a window was hidden.
  QApplication::setQuitOnLastWindowClosed(false);
  ProgramView program(build, views);
  program.Begin();
  return QApplication::exec();
}

void RefreshingSerial::OnInput(std::function<void()> handler) {
  if (!handler) {
    port_.OnInput(nullptr);
    return;
  }
  port_.OnInput([this, handler = std::move(handler)] {
    handler();
    hub_.RefreshAll();
  });
}

void RefreshingSerial::OnGone(std::function<void()> handler) {
  if (!handler) {
    port_.OnGone(nullptr);
    return;
  }
  port_.OnGone([this, handler = std::move(handler)] {
    handler();
    hub_.RefreshAll();
  });
}

ProgramView::ProgramView(Build build, const std::vector<ViewMaker>& views)
    : clock_(hub_),
      serial_(files_),
      refreshingSerial_(serial_, hub_),
      devices_(files_),
      platform_{desktop_, clock_, refreshingSerial_, files_, &devices_},
      program_(std::make_unique<ControlProgram>(platform_, build)) {
  // Whatever ends the program closes the data file and releases the port first.
  desktop_.AddShutdownHook([this] {
    program_->CloseDataFile();
    serial_.Close();
  });
  for (const ViewMaker& make : views) {
    std::unique_ptr<QWidget> widget = make(*program_, hub_);
    if (auto* view = dynamic_cast<View*>(widget.get())) hub_.Add(view);
    views_.push_back(std::move(widget));
  }
}

ProgramView::~ProgramView() {
  for (auto& widget : views_) {
    if (auto* view = dynamic_cast<View*>(widget.get())) hub_.Remove(view);
  }
  views_.clear();
}

void ProgramView::Begin() {
  hub_.Run([this] { program_->Begin(); });
}

std::vector<QWidget*> ProgramView::Windows() const {
  std::vector<QWidget*> windows;
  for (const auto& widget : views_) windows.push_back(widget.get());
  return windows;
}

}  // namespace tavrin
