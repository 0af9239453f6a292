// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_desktop.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "platform/qt/text_bytes.h"

namespace tavrin {

namespace {

QMessageBox::Icon QtIcon(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Critical:
      return QMessageBox::Critical;
    case BoxIcon::Question:
      return QMessageBox::Question;
    case BoxIcon::Exclamation:
      return QMessageBox::Warning;
    case BoxIcon::Information:
      return QMessageBox::Information;
    case BoxIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// Boxes belong to the window the user is working in, so they stay in front of it.
QWidget* BoxParent() { return QApplication::activeWindow(); }

}  // namespace

BoxAnswer QtDesktop::MessageBox(const std::string& title, const std::string& text, BoxIcon icon,
                                BoxButtons buttons) {
  QMessageBox box(BoxParent());
  box.setObjectName("MessageBox");
  box.setWindowTitle(FromBytes(title));
  box.setTextFormat(Qt::PlainText);
  box.setText(FromBytes(text));
  box.setIcon(QtIcon(icon));
  box.setAccessibleName(FromBytes(title));
  box.setAccessibleDescription(FromBytes(text));
  box.setWindowModality(Qt::ApplicationModal);
  if (buttons != BoxButtons::Ok) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(buttons == BoxButtons::YesNo ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
  }
  const int pressed = box.exec();
  if (buttons == BoxButtons::Ok) return BoxAnswer::Ok;
  return pressed == QMessageBox::Yes ? BoxAnswer::Yes : BoxAnswer::No;
}

std::string QtDesktop::InputBox(const std::string& title, const std::string& prompt,
                                const std::string& defaultAnswer) {
  QInputDialog dialog(BoxParent());
  dialog.setObjectName("InputBox");
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(FromBytes(title));
  dialog.setLabelText(FromBytes(prompt));
  dialog.setTextValue(FromBytes(defaultAnswer));
  dialog.setAccessibleName(FromBytes(title));
  dialog.setAccessibleDescription(FromBytes(prompt));
  dialog.setWindowModality(Qt::ApplicationModal);
  if (dialog.exec() != QDialog::Accepted) return {};
  return ToBytes(dialog.textValue());
}

std::string QtDesktop::FileDialog(const std::string& filter, int filterIndex) {
  const QStringList filters = QtFileFilters(filter);
  QFileDialog dialog(BoxParent());
  dialog.setObjectName("FileDialog");
  dialog.setWindowTitle(QStringLiteral("Open"));
  dialog.setAccessibleName(QStringLiteral("Open"));
  // Qt's own dialog matches the patterns without regard to case, so "*.TXT" also lists
  // kestra.txt; the system's native dialogs differ in that.
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // The same dialog picks an existing file and names a new one.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDirectory(QDir::currentPath());
  dialog.setWindowModality(Qt::ApplicationModal);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const int index = filterIndex >= 1 && filterIndex <= filters.size() ? filterIndex - 1 : 0;
    dialog.selectNameFilter(filters.at(index));
    ListUndottedNamesAsAllFiles(dialog);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog] { ListUndottedNamesAsAllFiles(dialog); });
  }
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return {};
  return ToBytes(QDir::toNativeSeparators(chosen.first()));
}

void QtDesktop::EndProgram() {
  // Hooks may add hooks or end the program themselves; take them out first so each runs once.
  std::vector<std::function<void()>> hooks;
  hooks.swap(shutdownHooks_);
  for (const auto& hook : hooks) {
    if (hook) hook();
  }
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  std::exit(0);
}

void QtDesktop::AddShutdownHook(std::function<void()> hook) {
  shutdownHooks_.push_back(std::move(hook));
}

void ListUndottedNamesAsAllFiles(QFileDialog& dialog) {
  auto* model = dialog.findChild<QFileSystemModel*>();
  if (model == nullptr) return;
  QStringList patterns = model->nameFilters();
  if (!patterns.contains(QStringLiteral("*.*"))) return;
  // Names on this system need not have an extension: "all files" is every file.
  for (QString& pattern : patterns) {
    if (pattern == QStringLiteral("*.*")) pattern = QStringLiteral("*");
  }
  model->setNameFilters(patterns);
}

QStringList QtFileFilters(const std::string& filter) {
  QStringList result;
  const QStringList parts = FromBytes(filter).split(QLatin1Char('|'));
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts.at(i).trimmed();
    QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& pattern : patterns) pattern = pattern.trimmed();
    patterns.removeAll(QString());
    if (patterns.isEmpty()) continue;
    // Qt reads the patterns from the last parenthesis of an entry.
    const qsizetype open = description.lastIndexOf(QLatin1Char('('));
    if (open >= 0 && description.endsWith(QLatin1Char(')'))) {
      description = description.left(open).trimmed();
    }
    if (description.isEmpty()) description = patterns.join(QLatin1Char(' '));
    result.append(description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                  QLatin1Char(')'));
  }
  return result;
}

}  // namespace tavrin
