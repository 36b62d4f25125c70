// NodalisU — the main window TForm1 ("Nodalis").
//
// A title line, a row of command buttons (date, Saros steps, "Gehe zu:",
// previous/next eclipse), a row of option boxes (ecliptic north, shadow
// track, canon, lunar theory) and a fixed-pitch text area holding the
// start-up notice, progress lines and the result table. The commands
// themselves are SeriesCommands (app/core), which nodalis-cli runs as well:
// the window hands them its boxes and the Saros field, shows the lines they
// write and the diagram of the series they build.
//
// Re-entrancy: the series builders dispatch pending events while they run,
// so a click, a key or a hand-over from a second start can arrive in the
// middle of a build. Commands therefore run one at a time: one that arrives
// while another runs is queued (at most MAX_QUEUED_COMMANDS clicks and keys,
// further ones are dropped) and runs when the running one has finished.
// Hand-overs are never dropped: their sender has been told they were taken
// over. They coalesce into one pending date, the newest, shown by one
// queued command. Builds go into a local list that replaces SeriesList only
// when complete.
#pragma once

#include <QWidget>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "app/core/SeriesCommands.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace nodalis {

class TDateForm;
class TGraphForm;
class TMapForm;
class tGDIext;

constexpr std::size_t MAX_QUEUED_COMMANDS = 16;

// The canon file's default place: NewSolarCanon.txt in the user's data
// directory (…/share/Nodalis).
std::string DefaultCanonPath();

// Lets the computations dispatch pending events (PumpMessage) and show
// error boxes (ErrorBox) through the windowing system.
void InstallGuiHooks();

class TForm1 : public QWidget {
  Q_OBJECT
 public:
  // FormCreate: settings file, single-instance callback, Saros field at the
  // series of the next eclipse from now, start-up notice. Arguments are the
  // program's command-line arguments without the program path.
  explicit TForm1(const QStringList& Arguments = {}, QWidget* Parent = nullptr);
  ~TForm1() override;

  // Components (named as in the window).
  QLabel* TitleLabel = nullptr;
  QLabel* Label1 = nullptr;
  QPushButton* DateBtn = nullptr;
  QPushButton* SarMin2Btn = nullptr;
  QPushButton* SarMin1Btn = nullptr;
  QLabel* Label2 = nullptr;
  QPushButton* SarPlus1Btn = nullptr;
  QPushButton* SarPlus2Btn = nullptr;
  QPushButton* GotoBtn = nullptr;
  QSpinBox* EditSarosNr = nullptr;
  QPushButton* Button1 = nullptr;
  QLabel* Label3 = nullptr;
  QPushButton* NextEclBtn = nullptr;
  QCheckBox* EkliptikalNord = nullptr;
  QCheckBox* ShowSchattenbahn = nullptr;
  QCheckBox* CanonChk = nullptr;
  QCheckBox* Lunar_Eph = nullptr;
  QRadioButton* ELP2000 = nullptr;
  QRadioButton* DE404 = nullptr;
  QPlainTextEdit* Memo1 = nullptr;

  // The commands with the window's state (boxes, Saros field, text lines).
  SeriesCommands Commands;
  TDateForm* DateForm = nullptr;  // created after the main window (main.cpp or tests)
  TGraphForm* GraphForm = nullptr;
  tGDIext* DiagramGDI = nullptr;
  // The map window: made by the graph window's "&Karte", then redrawn with
  // the diagram after every command while it is open.
  TMapForm* MapForm = nullptr;

  // Command handlers; Tag selects the step as the sender's tag does.
  void DateBtnClick();
  void ChangeSarosClick(int Tag);
  void NextEclClick(int Tag);
  void ShowSchattenbahnClick();
  void EkliptikalNordClick();
  void Lunar_EphClick();
  void CanonChkClick();
  // Single-instance callback: takes over a command line holding a Julian
  // date (Answer stays 0) and shows its series; otherwise Answer := 1.
  void ReceiveCommandLine(int32_t Length, const std::string& Text, uint8_t& Answer);

  // Runs Command now, or queues it when another command is running.
  // Returns false when the queue is full and the command was dropped (never
  // when Droppable is false).
  bool RunCommand(std::function<void()> Command, bool Droppable = true);
  bool Busy() const { return Busy_; }
  std::size_t QueuedCommands() const { return Queue_.size(); }
  // Memo1's lines (for tests and the bench).
  QStringList MemoLines() const;

  // Test seam: runs the date dialog in place of its modal exec; returns the
  // dialog's result (QDialog::Accepted = OK).
  std::function<int(TDateForm*)> DateDialogHook;
  // Test and trace seam: called after every command (and the commands
  // queued meanwhile) with the time they took, milliseconds.
  std::function<void(double Ms)> AfterCommand;
  // Called with the Julian date of every hand-over accepted (the sender is
  // told it was taken over), in the order they arrive.
  std::function<void(long double JD)> HandoverAccepted;

 protected:
  void showEvent(QShowEvent* E) override;
  void closeEvent(QCloseEvent* E) override;
  void resizeEvent(QResizeEvent* E) override;
  bool eventFilter(QObject* Watched, QEvent* E) override;

 private:
  // The steps of creation: the controls as designed, their handlers, the
  // window's place and size on the screen, the command state's view.
  void CreateControls();
  void ConnectHandlers();
  void PlaceOnScreen();
  void ConnectCommands();
  void FormShow();
  void ClearMemo();
  void AddMemoLine(const std::string& Cp1252Line);
  void ShowTable();
  void ShowLunarChoice();
  void ShowDiagram();
  void RedrawDiagram();
  void ShowMap();

  // Shows the newest handed-over Julian date (the pending hand-over).
  void ShowPendingHandover();

  QStringList Arguments_;
  std::optional<long double> PendingHandover_;  // newest date not yet shown
  bool HandoverQueued_ = false;  // a command that shows it is on its way
  bool Shown_ = false;
  bool MemoFresh_ = true;  // Memo1 holds no line yet
  bool Busy_ = false;
  std::deque<std::function<void()>> Queue_;
};

}  // namespace nodalis
