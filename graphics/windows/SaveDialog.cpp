// SaveDialog — the save dialog of the picture windows (SaveDialog.h).
#include "graphics/windows/SaveDialog.h"

#include <QDir>
#include <QFileInfo>

namespace nodalis {

namespace {
QString SuffixOfFilter(const std::vector<SaveFormat>& Formats, const QString& Filter) {
  for (const SaveFormat& F : Formats)
    if (Filter == QLatin1String(F.Filter)) return QLatin1String(F.Suffix);
  return Formats.empty() ? QString() : QLatin1String(Formats.front().Suffix);
}

QString AskName(QWidget* Parent, const std::vector<SaveFormat>& Formats, QString& Folder,
                const std::function<QString(QFileDialog&)>& NameHook) {
  QFileDialog Dialog(Parent, "Speichern", Folder.isEmpty() ? QDir::currentPath() : Folder);
  Dialog.setAcceptMode(QFileDialog::AcceptSave);
  Dialog.setFileMode(QFileDialog::AnyFile);
  Dialog.setOption(QFileDialog::DontConfirmOverwrite);
  QStringList Filters;
  for (const SaveFormat& F : Formats) Filters << QLatin1String(F.Filter);
  Dialog.setNameFilters(Filters);
  Dialog.setDefaultSuffix(SuffixOfFilter(Formats, Filters.value(0)));
  QObject::connect(&Dialog, &QFileDialog::filterSelected, &Dialog, [&Dialog, &Formats](const QString& F) {
    Dialog.setDefaultSuffix(SuffixOfFilter(Formats, F));
  });
  QString Name;
  if (NameHook)
    Name = NameHook(Dialog);
  else if (Dialog.exec() == QDialog::Accepted && !Dialog.selectedFiles().isEmpty())
    Name = Dialog.selectedFiles().first();
  if (Name.isEmpty()) return Name;
  if (!QFileInfo(Name).fileName().contains(QLatin1Char('.')))
    Name += QLatin1Char('.') + SuffixOfFilter(Formats, Dialog.selectedNameFilter());
  Folder = QFileInfo(Name).absolutePath();
  return Name;
}
}  // namespace

QString AskSaveTarget(QWidget* Parent, const std::vector<SaveFormat>& Formats, QString& Folder,
                      const std::function<QString(QFileDialog& Dialog)>& NameHook,
                      const std::function<QMessageBox::StandardButton(const QString& Text)>& Overwrite) {
  for (;;) {
    const QString Name = AskName(Parent, Formats, Folder, NameHook);
    if (Name.isEmpty() || !QFileInfo::exists(Name)) return Name;
    const QString Text = "Datei " + Name + " ist schon vorhanden! Überschreiben?";
    const QMessageBox::StandardButton Answer =
        Overwrite ? Overwrite(Text)
                  : QMessageBox::warning(Parent, "Warnung", Text,
                                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (Answer == QMessageBox::Yes) return Name;
    if (Answer != QMessageBox::No) return QString();  // Cancel (or the box closed)
  }
}

}  // namespace nodalis
