// SaveDialog — the save dialog of the picture windows (the graph window
// and the map window): the file name to save a picture to, and the
// question about a file that is already there.
#pragma once

#include <QFileDialog>
#include <QMessageBox>
#include <QString>
#include <functional>
#include <vector>

namespace nodalis {

// One format the dialog offers: its filter text and the suffix a name
// typed without one gets.
struct SaveFormat {
  const char* Filter;
  const char* Suffix;
};

// The name to save to, empty when cancelled.  The dialog (the first format
// chosen) opens in Folder, at first the current directory; a name without
// a suffix gets the chosen format's, also where the platform's own dialog
// or the hook left it off; Folder becomes the name's folder.  NameHook,
// when set, is handed the dialog as it would open instead of running it
// and returns the name as typed there.  While the name is that of an
// existing file, Overwrite is asked ("Datei … ist schon vorhanden!
// Überschreiben?"): Yes takes it, No asks for another name, anything else
// cancels.
QString AskSaveTarget(QWidget* Parent, const std::vector<SaveFormat>& Formats, QString& Folder,
                      const std::function<QString(QFileDialog& Dialog)>& NameHook,
                      const std::function<QMessageBox::StandardButton(const QString& Text)>& Overwrite);

}  // namespace nodalis
