// SPDX-License-Identifier: GPL-3.0-or-later
#include "share/qt/share_menu_view.h"

#include <QAction>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace tavrin::share {

ShareMenuView::ShareMenuView(QWidget& window, ControlProgram& program, ViewHub& hub)
    : QObject(&window),
      window_(window),
      hub_(hub),
      listener_(hub),
      control_(program, listener_),
      title_(window.windowTitle()) {
  QMenuBar* bar = MenuBarOf(window);
  auto* menu = new QMenu(QString::fromLatin1(NetworkControl::kMenuCaption), bar);
  menu->setObjectName(QStringLiteral("Share"));
  menu->setAccessibleName(QString::fromLatin1(NetworkControl::kMenuCaption));
  item_ = menu->addAction(QString::fromLatin1(NetworkControl::kItemCaption));
  item_->setObjectName(QStringLiteral("NetworkControl"));
  item_->setCheckable(true);
  connect(item_, &QAction::triggered, this,
          [this] { hub_.Run([this] { control_.ToggleNetworkControl(); }); });
  // Before "Help" when the bar has it, as menus stand on a program's bar.
  QAction* help = nullptr;
  for (QAction* action : bar->actions()) {
    if (action->objectName() == QStringLiteral("Help")) help = action;
  }
  bar->insertMenu(help, menu);
  hub_.Add(this);
  Refresh();
}

ShareMenuView::~ShareMenuView() { hub_.Remove(this); }

QMenuBar* ShareMenuView::MenuBarOf(QWidget& window) {
  if (auto* main = qobject_cast<QMainWindow*>(&window)) return main->menuBar();
  if (auto* bar = window.findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly)) return bar;
  auto* bar = new QMenuBar(&window);
  bar->setAccessibleName(QStringLiteral("Menu"));
  if (window.layout() != nullptr) window.layout()->setMenuBar(bar);
  return bar;
}

void ShareMenuView::Refresh() {
  if (item_->isChecked() != control_.Checked()) item_->setChecked(control_.Checked());
  const QString title = title_ + QString::fromStdString(control_.TitleNote());
  if (window_.windowTitle() != title) window_.setWindowTitle(title);
}

std::vector<ViewMaker> WithNetworkControl(std::vector<ViewMaker> views) {
  for (ViewMaker& make : views) {
    make = [inner = std::move(make)](ControlProgram& program,
                                     ViewHub& hub) -> std::unique_ptr<QWidget> {
      std::unique_ptr<QWidget> widget = inner(program, hub);
      if (widget->objectName() == QStringLiteral("RadioMain"))
        new ShareMenuView(*widget, program, hub);  // owned by the window
      return widget;
    };
  }
  return views;
}

}  // namespace tavrin::share
