// NodalisU — the main window. See NodalisU.h.
#include "app/gui/NodalisU.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTextCursor>
#include <QTimer>
#include <cmath>

#include "app/base/SafeFile.h"
#include "app/qt/QtText.h"
#include "app/base/Utils.h"
#include "app/core/CanonParse.h"
#include "app/core/PIniFile.h"
#include "app/core/SeriesState.h"
#include "app/core/SeriesTable.h"
#include "app/gui/OneInstance.h"
#include "astro/BesselRec.h"
#include "astro/TIMLIB.h"
#include "dialogs/DateFormU.h"
#include "graphics/draw/SeriesDiagram.h"
#include "graphics/windows/GrafikForm.h"
#include "graphics/windows/MapForm.h"

namespace nodalis {

namespace {

// Designed client size of the window, pixels.
constexpr int DESIGN_WIDTH_PX = 614;
constexpr int DESIGN_HEIGHT_PX = 726;
// Room left below the window for the task bar, pixels.
constexpr int TASKBAR_ALLOWANCE_PX = 30;
// Diagram page: the screen height less this margin, millimetres.
constexpr float DIAGRAM_PAGE_MARGIN_MM = 8.5f;

QFont WindowFont() {
  QFont f(QStringLiteral("MS Sans Serif"));
  f.setPixelSize(11);
  f.setStyleHint(QFont::SansSerif);
  return f;
}

QFont MemoFont() {
  QFont f(QStringLiteral("Courier New"));
  f.setPixelSize(11);
  f.setStyleHint(QFont::TypeWriter);
  f.setFixedPitch(true);
  return f;
}

// Edit fields keep Ctrl+A for themselves: it selects the field's text.
bool IsEditField(const QWidget* w) {
  return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w);
}

}  // namespace

void InstallGuiHooks() {
  PumpMessageHook = [] { QCoreApplication::processEvents(QEventLoop::AllEvents); };
  ErrorBoxHook = [](const std::string& text) {
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Nodalis"), FromCp(text));
  };
}

std::string DefaultCanonPath() {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (dir.isEmpty()) dir = QDir::homePath() + "/.local/share";
  return (dir + "/Nodalis/NewSolarCanon.txt").toLocal8Bit().toStdString();
}

TForm1::TForm1(const QStringList& Arguments, QWidget* Parent)
    : QWidget(Parent), Arguments_(Arguments) {
  CreateControls();
  ConnectHandlers();
  // FormCreate.
  SetIniFile("Nodalis.ini");
  CanonPath = IniReadString("Eclipses", "Lorvan-Canon", DefaultCanonPath());
  OneInstanceSetCallback([this](int32_t Length, const std::string& Text, uint8_t& Answer) {
    ReceiveCommandLine(Length, Text, Answer);
  });
  ConnectCommands();
  Commands.SetLunarMode(LunarMode::Auto);
  Commands.Start();  // the Saros field and the start-up notice
  EditSarosNr->setValue(Commands.SarosField);
  PlaceOnScreen();
}

// The controls as designed (positions in pixels; some wider than designed
// for the fallback font), with their tags and tab order.
void TForm1::CreateControls() {
  setObjectName("Form1");
  setWindowTitle("Nodalis");
  setFont(WindowFont());
  resize(DESIGN_WIDTH_PX, DESIGN_HEIGHT_PX);

  auto button = [this](const char* name, const QString& caption, int tag, int x, int y, int w, int h) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setProperty("tag", tag);
    b->setGeometry(x, y, w, h);
    return b;
  };
  auto label = [this](const char* name, const QString& caption, int x, int y, int w, int h) {
    auto* l = new QLabel(caption, this);
    l->setObjectName(name);
    l->setGeometry(x, y, w, h);
    return l;
  };

  TitleLabel = label("TitleLabel", "", 16, 8, 577, 20);
  QFont tf = font();
  tf.setPixelSize(16);
  TitleLabel->setFont(tf);
  Label1 = label("Label1", "Label1", 448, 32, 32, 13);
  Label1->hide();
  DateBtn = button("DateBtn", "&Datum", 0, 8, 40, 97, 25);
  SarMin2Btn = button("SarMin2Btn", "-2", -2, 120, 40, 33, 25);
  SarMin1Btn = button("SarMin1Btn", "-1", -1, 160, 40, 33, 25);
  Label2 = label("Label2", "Saros", 200, 46, 36, 13);
  SarPlus1Btn = button("SarPlus1Btn", "+1", 1, 240, 40, 33, 25);
  SarPlus2Btn = button("SarPlus2Btn", "+2", 2, 280, 40, 33, 25);
  GotoBtn = button("GotoBtn", "&Gehe zu:", 0, 322, 40, 60, 25);
  EditSarosNr = new QSpinBox(this);
  EditSarosNr->setObjectName("EditSarosNr");
  EditSarosNr->setRange(SAROS_FIELD_MIN, SAROS_FIELD_MAX);
  EditSarosNr->setGeometry(384, 40, 65, 24);
  Button1 = button("Button1", "-1", -1, 460, 40, 33, 25);
  Label3 = label("Label3", "Finsternis", 496, 46, 62, 13);
  Label3->setAlignment(Qt::AlignCenter);
  NextEclBtn = button("NextEclBtn", "+1", 1, 560, 40, 33, 25);

  auto check = [this](auto* box, const char* name, int x, int y, int w, int h) {
    box->setObjectName(name);
    box->setGeometry(x, y, w, h);
    return box;
  };
  EkliptikalNord = check(new QCheckBox("Orientierung Ekliptikal Nord", this), "EkliptikalNord", 8, 72, 172, 17);
  ShowSchattenbahn = check(new QCheckBox("Schattenbahn zeigen", this), "ShowSchattenbahn", 184, 72, 136, 17);
  CanonChk = check(new QCheckBox("Canon", this), "CanonChk", 336, 72, 65, 17);
  Lunar_Eph = check(new QCheckBox("Auto", this), "Lunar_Eph", 404, 72, 56, 17);
  Lunar_Eph->setChecked(true);
  ELP2000 = check(new QRadioButton("ELP2000", this), "ELP2000", 462, 72, 74, 17);
  ELP2000->setChecked(true);
  DE404 = check(new QRadioButton("DE404", this), "DE404", 538, 72, 66, 17);
  // A group of their own: as auto-exclusive buttons they would share one
  // with the date dialog's radio buttons (children of this window too).
  auto* lunarTheory = new QButtonGroup(this);
  lunarTheory->addButton(ELP2000);
  lunarTheory->addButton(DE404);

  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setFont(MemoFont());
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // The table is output: rows can be selected and copied, not edited, and
  // Tab goes on to the next control.
  Memo1->setReadOnly(true);
  Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  Memo1->setTabChangesFocus(true);
  Memo1->setGeometry(8, 96, 585, 593);

  QWidget* order[] = {DateBtn, Memo1, SarMin1Btn, SarPlus1Btn, SarPlus2Btn, SarMin2Btn,
                      EditSarosNr, GotoBtn, Button1, NextEclBtn, EkliptikalNord,
                      ShowSchattenbahn, ELP2000, DE404, Lunar_Eph, CanonChk};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

// Commands that compute run through RunCommand; the boxes hand their state
// to the commands at once.
void TForm1::ConnectHandlers() {
  connect(DateBtn, &QPushButton::clicked, this, [this] { RunCommand([this] { DateBtnClick(); }); });
  for (QPushButton* b : {SarMin2Btn, SarMin1Btn, SarPlus1Btn, SarPlus2Btn, GotoBtn}) {
    const int tag = b->property("tag").toInt();
    connect(b, &QPushButton::clicked, this, [this, tag] { RunCommand([this, tag] { ChangeSarosClick(tag); }); });
  }
  for (QPushButton* b : {Button1, NextEclBtn}) {
    const int tag = b->property("tag").toInt();
    connect(b, &QPushButton::clicked, this, [this, tag] { RunCommand([this, tag] { NextEclClick(tag); }); });
  }
  connect(EkliptikalNord, &QCheckBox::clicked, this, [this] {
    EkliptikalNordChecked = EkliptikalNord->isChecked();
    RunCommand([this] { EkliptikalNordClick(); });
  });
  connect(ShowSchattenbahn, &QCheckBox::clicked, this, [this] {
    ShowSchattenbahnChecked = ShowSchattenbahn->isChecked();
    RunCommand([this] { ShowSchattenbahnClick(); });
  });
  connect(Lunar_Eph, &QCheckBox::clicked, this, [this] { Lunar_EphClick(); });
  connect(ELP2000, &QRadioButton::toggled, this, [this](bool on) { Commands.ELP2000 = on; });
  connect(CanonChk, &QCheckBox::toggled, this, [this] { CanonChkClick(); });
  // Key preview: Ctrl+A anywhere in the window, outside an edit field,
  // selects the text area.
  qApp->installEventFilter(this);
}

// What the commands write goes into the text area as it comes.
void TForm1::ConnectCommands() {
  CommandView& v = Commands.View;
  v.TextCleared = [this] { ClearMemo(); };
  v.LineAdded = [this](const std::string& line) { AddMemoLine(line); };
  v.TableWritten = [this] { ShowTable(); };
  v.LunarChosen = [this] { ShowLunarChoice(); };
  v.ShowSeries = [this] { ShowDiagram(); };
  v.RedrawSeries = [this] { RedrawDiagram(); };
  v.Working = [](bool on) {
    if (on)
      QApplication::setOverrideCursor(Qt::WaitCursor);
    else
      QApplication::restoreOverrideCursor();
  };
}

// The window stands at the top left and reaches down to the task bar; the
// text area grows with it. It is wide enough for the widest table row in
// the text area's font (the design width holds about 86 characters).
void TForm1::PlaceOnScreen() {
  move(0, 0);
  const QFontMetrics memoMetrics(Memo1->font());
  const int memoWidth = memoMetrics.horizontalAdvance(FromCp(WidestTableRow())) +
                        int(std::ceil(2 * Memo1->document()->documentMargin())) +
                        2 * Memo1->frameWidth() + Memo1->verticalScrollBar()->sizeHint().width() +
                        memoMetrics.averageCharWidth();  // room for the text cursor
  int w = std::max(DESIGN_WIDTH_PX, memoWidth + DESIGN_WIDTH_PX - 585);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const int h = screen->availableGeometry().height() > 0 ? screen->geometry().height() : DESIGN_HEIGHT_PX;
    const int frame = 28;  // title bar, until the window manager tells
    if (screen->availableGeometry().width() > 0) w = std::min(w, screen->availableGeometry().width());
    resize(w, std::max(300, h - TASKBAR_ALLOWANCE_PX - frame));
  } else {
    resize(w, height());
  }
}

TForm1::~TForm1() {
  qApp->removeEventFilter(this);
  OneInstanceSetCallback(nullptr);
  delete MapForm;
  MapForm = nullptr;
  delete GraphForm;  // frees its drawing layer
  GraphForm = nullptr;
  DiagramGDI = nullptr;
}

void TForm1::ClearMemo() {
  Memo1->clear();
  MemoFresh_ = true;
}

void TForm1::AddMemoLine(const std::string& Cp1252Line) {
  QString text = FromCp(Cp1252Line);
  text.replace("\r\n", "\n");
  if (MemoFresh_) {
    Memo1->setPlainText(text);  // the first line fills the empty first block
  } else {
    QTextCursor c(Memo1->document());
    c.movePosition(QTextCursor::End);
    c.insertBlock();
    c.insertText(text);
  }
  MemoFresh_ = false;
}

QStringList TForm1::MemoLines() const { return Memo1->toPlainText().split('\n'); }

bool TForm1::RunCommand(std::function<void()> Command, bool Droppable) {
  if (Busy_) {
    if (Droppable && Queue_.size() >= MAX_QUEUED_COMMANDS) return false;
    Queue_.push_back(std::move(Command));
    return true;
  }
  Busy_ = true;
  QElapsedTimer clock;
  clock.start();
  Command();
  while (!Queue_.empty()) {
    std::function<void()> next = std::move(Queue_.front());
    Queue_.pop_front();
    next();
  }
  Busy_ = false;
  if (AfterCommand) AfterCommand(clock.nsecsElapsed() / 1e6);
  return true;
}

// ---- start-up and end -----------------------------------------------------------

void TForm1::showEvent(QShowEvent* E) {
  QWidget::showEvent(E);
  if (!Shown_) {
    Shown_ = true;
    FormShow();
  }
}

void TForm1::FormShow() {
  if (DateForm) {
    DateForm->SelTable->setChecked(false);
    DateForm->SelTable->hide();
    DateForm->SaveDatChk->hide();
    TableMode = false;
  }
  const bool canonExists = IsRegularFile(CanonPath);  // the path's own bytes
  CanonChk->setVisible(canonExists);
  CanonChk->setChecked(canonExists);
  Lunar_EphClick();
  if (!Arguments_.isEmpty()) {
    const long double v = StrToReal(Arguments_.first().toLocal8Bit().toStdString());
    if (v > COMMAND_LINE_MIN_JD) {
      // After the window is on the screen, so that it shows at once.
      QTimer::singleShot(0, this, [this, v] { RunCommand([this, v] { Commands.CommandLineJD(v); }); });
    }
  }
}

void TForm1::closeEvent(QCloseEvent* E) {
  IniWriteString("Eclipses", "Lorvan-Canon", CanonPath);
  if (GraphForm) GraphForm->hide();
  if (MapForm) MapForm->hide();
  if (DateForm) DateForm->hide();
  E->accept();
  // The program ends with its main window, also when the graph window is
  // still open or a build is still dispatching events.
  QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void TForm1::resizeEvent(QResizeEvent* E) {
  QWidget::resizeEvent(E);
  Memo1->setGeometry(8, 96, std::max(100, width() - 8 - (DESIGN_WIDTH_PX - 8 - 585)),
                     std::max(100, height() - 96 - (DESIGN_HEIGHT_PX - 96 - 593)));
}

bool TForm1::eventFilter(QObject* Watched, QEvent* E) {
  if (E->type() == QEvent::KeyPress || E->type() == QEvent::ShortcutOverride) {
    auto* k = static_cast<QKeyEvent*>(E);
    QWidget* w = qobject_cast<QWidget*>(Watched);
    const bool inThisWindow = w && w->window() == this;
    if (inThisWindow && !IsEditField(w) && k->key() == Qt::Key_A &&
        (k->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier) {
      if (E->type() == QEvent::ShortcutOverride) {
        E->accept();  // a key press, not a shortcut of some control
        return true;
      }
      Memo1->selectAll();
      return true;  // consumed: no character is typed
    }
    const bool inSarosField = w && (w == EditSarosNr || w->parentWidget() == EditSarosNr);
    if (inSarosField && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)) {
      if (E->type() == QEvent::ShortcutOverride) {
        E->accept();  // Enter belongs to the field, not to a shortcut elsewhere
        return true;
      }
      EditSarosNr->interpretText();
      RunCommand([this] { ChangeSarosClick(0); });
      return true;
    }
  }
  return QWidget::eventFilter(Watched, E);
}

void TForm1::ReceiveCommandLine(int32_t, const std::string& Text, uint8_t& Answer) {
  long double v = 0;
  const std::size_t quote = Text.size() > 1 ? Text.find('"', 1) : std::string::npos;
  v = StrToReal(quote != std::string::npos ? Text.substr(quote + 1) : Text);
  if (!(v > COMMAND_LINE_MIN_JD)) {
    Answer = 1;
    return;
  }
  // Answer stays 0: the sender ends, so the date must be shown. Hand-overs
  // that arrive faster than their series are built coalesce: one pending
  // date, always the newest, and one command that shows it, which the
  // command queue never drops. The series is built after the reply, between
  // other events, never under a running build.
  PendingHandover_ = v;
  if (HandoverAccepted) HandoverAccepted(v);
  if (HandoverQueued_) return;
  HandoverQueued_ = true;
  QTimer::singleShot(0, this, [this] {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    RunCommand([this] { ShowPendingHandover(); }, /*Droppable=*/false);
  });
}

void TForm1::ShowPendingHandover() {
  HandoverQueued_ = false;
  if (!PendingHandover_) return;
  const long double jd = *PendingHandover_;
  PendingHandover_.reset();
  Commands.CommandLineJD(jd);
}

// ---- commands -------------------------------------------------------------------

void TForm1::DateBtnClick() {
  Commands.ChooseDate([this] {
    if (!DateForm) return false;
    return (DateDialogHook ? DateDialogHook(DateForm) : DateForm->exec()) == QDialog::Accepted;
  });
}

void TForm1::NextEclClick(int Tag) { Commands.StepEclipse(Tag); }

void TForm1::ChangeSarosClick(int Tag) {
  Commands.SarosField = EditSarosNr->value();
  Commands.ChangeSaros(Tag);
  EditSarosNr->setValue(Commands.SarosField);
}

void TForm1::ShowSchattenbahnClick() { RedrawDiagram(); }

void TForm1::EkliptikalNordClick() {
  if (GraphForm) Commands.Reorient();  // else the next Recompute uses the box
}

void TForm1::Lunar_EphClick() {
  Commands.Auto = Lunar_Eph->isChecked();
  DE404->setEnabled(!Lunar_Eph->isChecked());
  ELP2000->setEnabled(!Lunar_Eph->isChecked());
}

void TForm1::CanonChkClick() {
  const bool on = !CanonChk->isChecked();
  Lunar_Eph->setEnabled(on);
  ELP2000->setEnabled(on);
  DE404->setEnabled(on);
  Commands.SetCanon(CanonChk->isChecked());
  ShowLunarChoice();
}

// ---- what the commands write ---------------------------------------------------

void TForm1::ShowLunarChoice() { (Commands.ELP2000 ? ELP2000 : DE404)->setChecked(true); }

void TForm1::ShowTable() {
  QStringList text;
  for (const std::string& l : Commands.Memo) text << FromCp(l);
  Memo1->setPlainText(text.join('\n'));
  MemoFresh_ = false;
  TitleLabel->setText(FromCp(TitleCaption));
  EditSarosNr->setValue(Commands.SarosField);
  QTextCursor c = Memo1->textCursor();
  c.movePosition(QTextCursor::Start);
  Memo1->setTextCursor(c);
  Memo1->ensureCursorVisible();
}

void TForm1::ShowDiagram() {
  if (!GraphForm) {
    GraphForm = new TGraphForm;
    GraphForm->move(frameGeometry().width(), 0);
    GraphForm->OnKarte = [this] { ShowMap(); };
  }
  if (SeriesList.size() > 1) GraphForm->setWindowTitle(FromCp(GraphCaption(SeriesList)));
  float screenMM = 270.0f;  // a 15" screen's height, when the screen does not tell
  if (QScreen* s = screen(); s && s->physicalSize().height() > 1) screenMM = float(s->physicalSize().height());
  const float root2 = std::sqrt(2.0f);
  ShowGraph(GraphForm, DiagramGDI, DrawSeriesDiagram, -DIAGRAM_HALF_WIDTH, -DIAGRAM_HALF_HEIGHT,
            DIAGRAM_HALF_WIDTH, DIAGRAM_HALF_HEIGHT, (screenMM - DIAGRAM_PAGE_MARGIN_MM) / root2,
            screenMM - DIAGRAM_PAGE_MARGIN_MM);
  GraphForm->Sized = true;
  DrawSeriesDiagram(*DiagramGDI);
  if (MapForm && MapForm->isVisible()) MapForm->SeriesChanged();
}

void TForm1::RedrawDiagram() {
  if (GraphForm && DiagramGDI) DrawSeriesDiagram(*DiagramGDI);
  if (MapForm && MapForm->isVisible()) MapForm->SeriesChanged();
}

void TForm1::ShowMap() {
  if (!MapForm) {
    MapForm = new TMapForm;
    if (GraphForm) MapForm->move(GraphForm->frameGeometry().topLeft() + QPoint(40, 40));
  }
  MapForm->SeriesChanged();
  MapForm->show();
  MapForm->raise();
  MapForm->activateWindow();
}

}  // namespace nodalis
