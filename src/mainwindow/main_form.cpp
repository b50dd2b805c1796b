#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "appcore/program_folder.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/job_view.h"
#include "mainwindow/named_widget.h"
#include "mainwindow/paint_box.h"
#include "mainwindow/rich_edit.h"
#include "mainwindow/spin_edit.h"
#include "mainwindow/toolbar_icons.h"
#include "mainwindow/up_down.h"

namespace kerfline {
namespace {

// A hint "short|long" shows its first part as the tooltip and its second in the status bar;
// a hint without "|" is both.
void setHint(QWidget* w, const QString& hint) {
  const qsizetype bar = hint.indexOf(u'|');
  w->setToolTip(bar < 0 ? hint : hint.left(bar));
  w->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

void setHint(QAction* a, const QString& hint) {
  const qsizetype bar = hint.indexOf(u'|');
  a->setToolTip(bar < 0 ? hint : hint.left(bar));
  a->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(tr("Kerfline "));
  // The window's font: the editor's default face and size (fontconfig substitutes the face).
  const TFontDescription editorDefault = defaultEditorFormat();
  setFont(QFont(QString::fromStdString(editorDefault.Name), editorDefault.Size));
  ProgramFolder = programFolder();
  ConversionFont = TFontDescription{};
  ConversionFont.Name = "Times New Roman";
  ConversionFont.Size = 8;
  ConversionFont.Color = 0;
  RichEdit2.font = editorDefault;
  TTF2Vector.SetUNICODE(true);

  createActions();
  createMenus();
  createToolBar();
  createPanel();
  createWorkArea();
  createStatusBar();
  createTimers();
  createDialogs();
  connectHandlers();
  installDefaultSeams();
  createWorkshop();
  createProductionPanel();

  resize(dp(638), dp(450));
  // Every parameter field must be reachable at the start: widen the window when the panel
  // (laid out compactly) still needs more than the designed width.
  if (const int need = centralWidget()->minimumSizeHint().width() + dp(8); need > width())
    resize(need, height());
  growForJobView();
  if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());

  qApp->installEventFilter(this);
  FormCreate();
}

TMainForm::~TMainForm() { qApp->removeEventFilter(this); }

int TMainForm::dp(int designPixels) const {
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  const double dpi = s ? s->logicalDotsPerInchY() : 96.0;
  return qRound(designPixels * dpi / 120.0);
}

void TMainForm::createActions() {
  struct Spec {
    QAction** slot;
    const char* name;
    QString caption;
    QString hint;
    QKeySequence key;
  };
  const Spec specs[] = {
      {&FileNewCmd, "FileNewCmd", tr("&New"), tr("Create a new file"), QKeySequence(Qt::CTRL | Qt::Key_N)},
      {&FileOpenCmd, "FileOpenCmd", tr("&Open..."), tr("Open an existing file"), QKeySequence(Qt::CTRL | Qt::Key_O)},
      {&FileSaveCmd, "FileSaveCmd", tr("&Save"), tr("Save current file"), QKeySequence(Qt::CTRL | Qt::Key_S)},
      {&SavePoly, "SavePoly", tr("Save PolyLines"), QString(), QKeySequence()},
      {&Suggest, "Suggest", tr("Suggest"), QString(), QKeySequence()},
      {&EditUndoCmd, "EditUndoCmd", tr("&Undo"), tr("Undo the last action"), QKeySequence(Qt::CTRL | Qt::Key_Z)},
      {&EditCutCmd, "EditCutCmd", tr("Cu&t"), tr("Delete selected item"), QKeySequence(Qt::CTRL | Qt::Key_X)},
      {&EditCopyCmd, "EditCopyCmd", tr("&Copy"), tr("Copy selected item to clipboard"), QKeySequence(Qt::CTRL | Qt::Key_C)},
  };
  for (const Spec& s : specs) {
    auto* a = named(new QAction(s.caption, this), s.name);
    if (!s.hint.isEmpty()) setHint(a, s.hint);
    a->setShortcut(s.key);
    a->setShortcutContext(Qt::WindowShortcut);
    addAction(a);  // shortcuts work wherever the focus is inside the window
    *s.slot = a;
  }
  FileNewCmd->setIcon(toolIcon(ToolIcon::New, style(), 16));
  FileOpenCmd->setIcon(toolIcon(ToolIcon::Open, style(), 16));
  FileSaveCmd->setIcon(toolIcon(ToolIcon::Save, style(), 16));
  EditCutCmd->setIcon(toolIcon(ToolIcon::Cut, style(), 32));
  EditCopyCmd->setIcon(toolIcon(ToolIcon::Copy, style(), 32));
  EditUndoCmd->setIcon(toolIcon(ToolIcon::Undo, style(), 16));
}

void TMainForm::createMenus() {
  // A menu item that shows its own caption is its own action triggering the command; its
  // shortcut is shown after a tab so that each key belongs to exactly one action.
  auto item = [this](const char* name, const QString& caption, QAction* command) {
    auto* a = named(new QAction(caption, this), name);
    if (command) {
      a->setStatusTip(command->statusTip());
      connect(a, &QAction::triggered, command, &QAction::trigger);
    }
    return a;
  };
  QMenu* file = named(menuBar()->addMenu(tr("File")), "File");
  New1 = item("New1", tr("&New") + QStringLiteral("\tCtrl+N"), FileNewCmd);
  FileOpen1 = item("FileOpen1", tr("&Open...") + QStringLiteral("\tCtrl+O"), FileOpenCmd);
  SavePolyLines2 = item("SavePolyLines2", tr("Save DXF PolyLines XY only"), SavePoly);
  SavePolyLines2->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  SavePolyLines2->setShortcutContext(Qt::WindowShortcut);
  addAction(SavePolyLines2);
  SaveAsMultiFontDXF1 = item("SaveAsMultiFontDXF1", tr("&Save DXF Lines + Z moves") + QStringLiteral("\tCtrl+S"), FileSaveCmd);
  SavePolyLines1 = item("SavePolyLines1", tr("Cu&t") + QStringLiteral("\tCtrl+X"), EditCutCmd);
  SaveClosedCmd = named(new QAction(tr("Save DXF Closed Polylines..."), this), "SaveClosedCmd");
  ExportSvgCmd = named(new QAction(tr("Export SVG..."), this), "ExportSvgCmd");
  Fontselection1 = item("Fontselection1", tr("Font selection"), nullptr);
  SuggestPitch1 = item("SuggestPitch1", tr("Suggest"), Suggest);
  Close1 = item("Close1", tr("Close"), nullptr);
  ExportGcode1 = item("ExportGcode1", tr("Export G-code..."), nullptr);
  ExportGcode1->setStatusTip(tr("Writes the text as a G-code program for a router or laser"));
  file->addAction(New1);
  file->addAction(FileOpen1);
  file->addAction(SavePolyLines2);
  file->addAction(SaveAsMultiFontDXF1);
  file->addAction(SaveClosedCmd);
  file->addAction(ExportSvgCmd);
  file->addAction(SavePolyLines1);
  file->addAction(ExportGcode1);
  file->addSeparator()->setObjectName(QStringLiteral("N5"));
  file->addAction(Fontselection1);
  file->addSeparator()->setObjectName(QStringLiteral("N1"));
  file->addAction(SuggestPitch1);
  file->addSeparator()->setObjectName(QStringLiteral("N3"));
  file->addSeparator()->setObjectName(QStringLiteral("N4"));
  file->addAction(Close1);

  QMenu* edit = named(menuBar()->addMenu(tr("Edit")), "EditMenu");
  Cut1 = item("Cut1", tr("Cu&t") + QStringLiteral("\tCtrl+X"), EditCutCmd);
  Copy1 = item("Copy1", tr("&Copy") + QStringLiteral("\tCtrl+C"), EditCopyCmd);
  Paste1 = item("Paste1", tr("Paste"), nullptr);
  edit->addAction(Cut1);
  edit->addAction(Copy1);
  edit->addAction(Paste1);

  QMenu* help = named(menuBar()->addMenu(tr("Help")), "HelpMenu");
  Help1 = item("Help1", tr("Help"), nullptr);
  About1 = item("About1", tr("About Kerfline"), nullptr);
  help->addAction(Help1);
  help->addAction(About1);
}

void TMainForm::createToolBar() {
  StandardToolBar = named(new QToolBar(tr("Standard"), this), "StandardToolBar");
  StandardToolBar->setMovable(false);
  StandardToolBar->setFloatable(false);
  StandardToolBar->toggleViewAction()->setEnabled(false);
  StandardToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
  const int icon = dp(20);
  StandardToolBar->setIconSize(QSize(icon, icon));
  StandardToolBar->setContentsMargins(dp(4), dp(2), dp(2), dp(2));
  addToolBar(Qt::TopToolBarArea, StandardToolBar);

  auto button = [this](const char* name, QAction* action) {
    auto* b = named(new QToolButton(StandardToolBar), name);
    b->setDefaultAction(action);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    StandardToolBar->addWidget(b);
    return b;
  };
  button("ToolButton1", FileNewCmd);
  button("OpenButton", FileOpenCmd);
  button("SaveButton", FileSaveCmd);
  StandardToolBar->addSeparator()->setObjectName(QStringLiteral("ToolButton5"));
  button("CutButton", EditCutCmd);
  button("CopyButton", EditCopyCmd);
  PasteButton = named(new QToolButton(StandardToolBar), "PasteButton");
  PasteButton->setIcon(toolIcon(ToolIcon::Paste, style(), 32));
  PasteButton->setAutoRaise(true);
  PasteButton->setFocusPolicy(Qt::NoFocus);
  setHint(PasteButton, tr("Paste from clipboard"));
  StandardToolBar->addWidget(PasteButton);
  button("UndoButton", EditUndoCmd);
  StandardToolBar->addSeparator()->setObjectName(QStringLiteral("ToolButton10"));

  FontName = named(new QComboBox(StandardToolBar), "FontName");
  FontName->setEditable(true);
  FontName->setInsertPolicy(QComboBox::NoInsert);
  FontName->setMaxVisibleItems(10);
  FontName->setFixedWidth(dp(173));
  setHint(FontName, tr("Font Name|Select font name"));
  StandardToolBar->addWidget(FontName);
  StandardToolBar->addSeparator()->setObjectName(QStringLiteral("ToolButton11"));

  auto* sizeBox = new QWidget(StandardToolBar);
  auto* sizeLayout = new QHBoxLayout(sizeBox);
  sizeLayout->setContentsMargins(0, 0, 0, 0);
  sizeLayout->setSpacing(0);
  FontSize = named(new QLineEdit(QStringLiteral("10"), sizeBox), "FontSize");
  FontSize->setFixedWidth(dp(26) + 6);
  setHint(FontSize, tr("Font Size|Select font size"));
  UpDown1 = named(new TUpDown(FontSize, 1, 100, 10, sizeBox), "UpDown1");
  UpDown1->setFixedWidth(dp(16));
  UpDown1->setFixedHeight(FontSize->sizeHint().height());
  setHint(UpDown1, tr("Font Size|Select font size"));
  sizeLayout->addWidget(FontSize);
  sizeLayout->addWidget(UpDown1);
  sizeBox->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  StandardToolBar->addWidget(sizeBox);
  StandardToolBar->addSeparator()->setObjectName(QStringLiteral("ToolButton2"));

  auto toggle = [this](const char* name, ToolIcon kind, const QString& hint) {
    auto* b = named(new QToolButton(StandardToolBar), name);
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setIcon(toolIcon(kind, style(), 32));
    setHint(b, hint);
    StandardToolBar->addWidget(b);
    return b;
  };
  BoldButton = toggle("BoldButton", ToolIcon::Bold, tr("Bold"));
  ItalicButton = toggle("ItalicButton", ToolIcon::Italic, tr("Italic"));
  StandardToolBar->addSeparator()->setObjectName(QStringLiteral("ToolButton16"));
  createAlignmentButtons();
  StandardToolBar->addSeparator()->setObjectName(QStringLiteral("ToolButton20"));
  PitchSpeedButton1 = named(new QToolButton(StandardToolBar), "PitchSpeedButton1");
  PitchSpeedButton1->setIcon(toolIcon(ToolIcon::Pitch, style(), 32));
  PitchSpeedButton1->setAutoRaise(true);
  PitchSpeedButton1->setFocusPolicy(Qt::NoFocus);
  setHint(PitchSpeedButton1, tr("Suggest Vertical pitch"));
  StandardToolBar->addWidget(PitchSpeedButton1);
}

void TMainForm::createPanel() {
  Panel1 = named(new QFrame, "Panel1");
  auto* row = new QHBoxLayout(Panel1);
  row->setContentsMargins(dp(4), dp(2), dp(4), dp(2));
  row->setSpacing(dp(6));

  // Left: the three step buttons, picture above caption, with the caret display below them.
  auto* left = new QVBoxLayout;
  left->setSpacing(dp(4));
  auto* steps = new QHBoxLayout;
  steps->setSpacing(0);
  auto stepButton = [this](const char* name, const QString& caption, ToolIcon kind, int w,
                           const QString& hint) {
    auto* b = named(new QToolButton(Panel1), name);
    b->setText(caption);
    b->setIcon(toolIcon(kind, style(), 32));
    b->setIconSize(QSize(dp(22), dp(22)));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setFixedSize(dp(w), dp(49));
    setHint(b, hint);
    return b;
  };
  AutoBtn = stepButton("AutoBtn", tr("Scan"), ToolIcon::Scan, 61, tr("Toggle to scan sentence"));
  AutoBtn->setCheckable(true);
  PrevCharBtn = stepButton("PrevCharBtn", tr("Prev"), ToolIcon::Prev, 62, tr("Back up one character"));
  NextCharBtn = stepButton("NextCharBtn", tr("Next"), ToolIcon::Next, 61, tr("Forward one character"));
  steps->addWidget(AutoBtn);
  steps->addWidget(PrevCharBtn);
  steps->addWidget(NextCharBtn);
  left->addLayout(steps);
  Panel2 = named(new QLabel(Panel1), "Panel2");
  Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel2->setAlignment(Qt::AlignCenter);
  Panel2->setFixedSize(dp(188), dp(21));
  left->addWidget(Panel2);
  left->addStretch();
  row->addLayout(left);

  // Right: the parameter fields in three columns of label and field. The designed single
  // line of seven pairs runs past the window's right edge and hides the two Z fields, so
  // the Z fields sit in the third column and the size labels share the third row.
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(dp(5));
  grid->setVerticalSpacing(dp(3));
  auto label = [this](const char* name, const QString& caption, const QString& hint) {
    auto* l = named(new QLabel(caption, Panel1), name);
    if (!hint.isEmpty()) setHint(l, hint);
    return l;
  };
  auto edit = [this](const char* name, const QString& text, const QString& hint) {
    auto* e = named(new QLineEdit(text, Panel1), name);
    e->setFixedWidth(dp(70));
    setHint(e, hint);
    return e;
  };
  auto spin = [this](const char* name, int lo, int hi, int value, int maxLength, const QString& hint) {
    auto* s = named(new TSpinEdit(lo, hi, value, maxLength, Panel1), name);
    s->setFixedWidth(dp(70));
    setHint(s, hint);
    return s;
  };
  Label1 = label("Label1", tr("Resolution"), tr("Changes the numbers of points "));
  Resolution1 = spin("Resolution1", 1, 100, 2, 3, tr("Higher numbers = better resolution + Bigger files"));
  Label7 = label("Label7", tr("Scale"), tr("Changes character size"));
  ScaleEdit1 = spin("ScaleEdit1", 1, 10000, 100, 5, tr("Increase or decrease character size"));
  Layer = label("Layer", tr("Layer"), QString());
  Layername = edit("Layername", QStringLiteral("0"), tr("Layer Name to which DXF data will be written"));
  SpacePercent = label("SpacePercent", tr("Space %"), tr("Percentage of  character width to next character"));
  SpacePc = spin("SpacePc", 0, 100, 10, 0, tr("Increase or decrease space between characters"));
  Label2 = label("Label2", tr("Pitch"), QString());
  Edit1 = edit("Edit1", QStringLiteral("-2.000"), tr("Vertical Distance between lines"));
  Label9 = label("Label9", tr("Z Up move"), QString());
  ZmoveEdit = edit("ZmoveEdit", QStringLiteral("5.000"), tr("Z move at character begin and end"));
  Label8 = label("Label8", tr("Z Cutting"), QString());
  ZlevelEdit = edit("ZlevelEdit", QStringLiteral("0.000"), tr("Z level to draw on"));
  Label6 = label("Label6", tr("Label6"), tr("Change scale to change height"));
  Label5 = label("Label5", tr("Label5"), tr("Change scale to change width"));
  Label4 = label("Label4", tr("Elements"), QString());
  Label3 = label("Label3", QStringLiteral("1"), QString());

  grid->addWidget(Label1, 0, 0);
  grid->addWidget(Resolution1, 0, 1);
  grid->addWidget(Label7, 0, 2);
  grid->addWidget(ScaleEdit1, 0, 3);
  grid->addWidget(Layer, 0, 4);
  grid->addWidget(Layername, 0, 5);
  grid->addWidget(SpacePercent, 1, 0);
  grid->addWidget(withSpacingChoice(SpacePc), 1, 1);
  grid->addWidget(Label2, 1, 2);
  grid->addWidget(withAutoPitch(Edit1), 1, 3);
  grid->addWidget(Label9, 1, 4);
  grid->addWidget(ZmoveEdit, 1, 5);
  auto* sizes = new QHBoxLayout;
  sizes->setSpacing(dp(8));
  sizes->addWidget(Label6);
  sizes->addWidget(Label5);
  sizes->addWidget(Label4);
  sizes->addWidget(Label3);
  sizes->addStretch();
  grid->addLayout(sizes, 2, 0, 1, 4);
  grid->addWidget(Label8, 2, 4);
  grid->addWidget(ZlevelEdit, 2, 5);
  // Room for the usual values, so that the columns do not jump as the labels change.
  Label6->setMinimumWidth(Label6->fontMetrics().horizontalAdvance(QStringLiteral("Height 00.000")));
  Label5->setMinimumWidth(Label5->fontMetrics().horizontalAdvance(QStringLiteral("Width 00.000")));
  Label3->setMinimumWidth(Label3->fontMetrics().horizontalAdvance(QStringLiteral("000")));
  row->addLayout(grid);
  row->addStretch();
}

void TMainForm::createWorkArea() {
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(Panel1);

  // Editor and glyph preview share the width, and the job view runs under both, as wide as
  // the lines of text it shows; every pane grows with the window and both splits move.
  JobSplitter = named(new QSplitter(Qt::Vertical, central), "JobSplitter");
  JobSplitter->setChildrenCollapsible(false);
  WorkSplitter = named(new QSplitter(Qt::Horizontal, JobSplitter), "WorkSplitter");
  WorkSplitter->setChildrenCollapsible(false);
  RichEdit1 = named(new TRichEdit(WorkSplitter), "RichEdit1");
  RichEdit1->setLineWrapMode(QTextEdit::NoWrap);
  RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RichEdit1->setDefAttributes(defaultEditorFormat(), AttrAll);
  RichEdit1->setText(U"AAbbcC\r\n\r\n");
  WorkSplitter->addWidget(RichEdit1);

  Panel3 = named(new QFrame(WorkSplitter), "Panel3");
  Panel3->setFrameStyle(QFrame::WinPanel | QFrame::Raised);
  auto* inner = new QVBoxLayout(Panel3);
  inner->setContentsMargins(2, 2, 2, 2);
  PaintBox = named(new TPaintBox(this, Panel3), "PaintBox");
  inner->addWidget(PaintBox);
  WorkSplitter->addWidget(Panel3);
  WorkSplitter->setStretchFactor(0, 1);
  WorkSplitter->setStretchFactor(1, 1);
  JobSplitter->addWidget(WorkSplitter);
  JobView1 = named(new JobView(JobSplitter), "JobView1");
  JobSplitter->addWidget(JobView1);
  JobSplitter->setStretchFactor(0, 1);
  JobSplitter->setStretchFactor(1, 1);
  column->addWidget(JobSplitter, 1);
  setCentralWidget(central);
}

void TMainForm::createStatusBar() {
  StatusBar1 = named(new QStatusBar(this), "StatusBar1");
  StatusBar1->setMinimumHeight(dp(19));
  setStatusBar(StatusBar1);
}

void TMainForm::createTimers() {
  Timer = named(new QTimer(this), "Timer");
  Timer->setInterval(300);
  StartupTimer1 = named(new QTimer(this), "StartupTimer1");
  StartupTimer1->setInterval(3000);
  StartupTimer1->setSingleShot(true);
  StartupTimer1->start();  // counts from the window's creation
}

void TMainForm::createDialogs() {
  OpenDialog1 = named(new QFileDialog(this), "OpenDialog1");
  OpenDialog1->setFileMode(QFileDialog::ExistingFile);
  OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
  // Name filters match case-sensitively here, unlike on the system the file types come from.
  OpenDialog1->setNameFilters({tr("Rich Text Files (*.RTF *.rtf)"), tr("Text Files (*.TXT *.txt)"),
                               tr("All Files (*)")});
  SaveDialog1 = named(new QFileDialog(this), "SaveDialog1");
  SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
  SaveDialog1->setNameFilters({tr("Dxf Files (*.dxf *.DXF)")});
  SaveDialog1->setDefaultSuffix(QStringLiteral("dxf"));
}

void TMainForm::connectHandlers() {
  connect(FileNewCmd, &QAction::triggered, this, [this] { run(&TMainForm::FileNewCmdExecute); });
  connect(FileOpenCmd, &QAction::triggered, this, [this] { run(&TMainForm::FileOpenCmdExecute); });
  connect(FileSaveCmd, &QAction::triggered, this, [this] { run(&TMainForm::FileSaveCmdExecute); });
  connect(ExportGcode1, &QAction::triggered, this, [this] { run(&TMainForm::ExportGcodeExecute); });
  connect(SavePoly, &QAction::triggered, this, [this] { run(&TMainForm::SavePolyExecute); });
  connect(SaveClosedCmd, &QAction::triggered, this, [this] { run(&TMainForm::SaveClosedExecute); });
  connect(ExportSvgCmd, &QAction::triggered, this, [this] { run(&TMainForm::ExportSvgExecute); });
  connect(Suggest, &QAction::triggered, this, [this] { run(&TMainForm::SuggestExecute); });
  connect(EditUndoCmd, &QAction::triggered, this, [this] { run(&TMainForm::EditUndoCmdExecute); });
  connect(EditCutCmd, &QAction::triggered, this, [this] { run(&TMainForm::EditCutCmdExecute); });
  connect(EditCopyCmd, &QAction::triggered, this, [this] { run(&TMainForm::EditCopyCmdExecute); });
  connect(Fontselection1, &QAction::triggered, this, [this] { run(&TMainForm::Fontselection1Click); });
  connect(Close1, &QAction::triggered, this, [this] { run(&TMainForm::Close1Click); });
  connect(Paste1, &QAction::triggered, this, [this] { run(&TMainForm::Paste1Click); });
  connect(Help1, &QAction::triggered, this, [this] { run(&TMainForm::Help1Click); });
  connect(About1, &QAction::triggered, this, [this] { run(&TMainForm::About1Click); });
  connect(PasteButton, &QToolButton::clicked, this, [this] { run(&TMainForm::Paste1Click); });
  connect(PitchSpeedButton1, &QToolButton::clicked, Suggest, &QAction::trigger);

  connect(FontName, &QComboBox::currentIndexChanged, this, [this] { run(&TMainForm::FontNameChange); });
  connect(FontSize, &QLineEdit::textChanged, this, [this] { run(&TMainForm::FontSizeChange); });
  connect(BoldButton, &QToolButton::clicked, this, [this] { run(&TMainForm::BoldButtonClick); });
  connect(ItalicButton, &QToolButton::clicked, this, [this] { run(&TMainForm::ItalicButtonClick); });

  connect(AutoBtn, &QToolButton::clicked, this, [this] { run(&TMainForm::AutoBtnClick); });
  connect(PrevCharBtn, &QToolButton::clicked, this, [this] { run(&TMainForm::PrevCharBtnClick); });
  connect(NextCharBtn, &QToolButton::clicked, this, [this] { run(&TMainForm::NextCharBtnClick); });
  connect(Timer, &QTimer::timeout, this, [this] { run(&TMainForm::TimerTimer); });
  connect(StartupTimer1, &QTimer::timeout, this, [this] { run(&TMainForm::StartupTimer1Timer); });
  connect(Resolution1, &TSpinEdit::changed, this, [this] { run(&TMainForm::Resolution1Change); });
  connect(ScaleEdit1, &TSpinEdit::changed, this, [this] { run(&TMainForm::ScaleEdit1Change); });

  // The caret display follows the editor's key releases and mouse clicks; the font toolbar
  // deliberately does not.
  auto caret = [this] {
    try {
      ShowLineNum2(RichEdit1);
    } catch (const std::exception& e) {
      reportError(e.what());
    }
  };
  connect(RichEdit1, &TRichEdit::keyReleased, this, caret);
  connect(RichEdit1, &TRichEdit::mousePressed, this, caret);
  connect(RichEdit1, &TRichEdit::mouseReleased, this, caret);
}

void TMainForm::FormCreate() {
  // Tooltips are on for every widget in Qt; nothing to switch.
  const QString folder = QString::fromStdString(ProgramFolder);
  OpenDialog1->setDirectory(folder);
  SaveDialog1->setDirectory(folder);

  GetFontNames();
  SelectionChange();
  setCurrText(defaultEditorFormat(), AttrFaceName | AttrSize);
  SelectionChange();

  const std::u32string text = RichEdit1->text();
  CurChar = text.empty() ? U'A' : text.front();
  CurCode = currentCode();

  // The editor starts at half the window's width, as designed; the split moves from there.
  layout()->activate();  // a hidden window lays out only when asked
  centralWidget()->layout()->activate();
  WorkSplitter->setSizes({width() / 2, WorkSplitter->width() - width() / 2 - WorkSplitter->handleWidth()});
  SelectionChange();
}

bool TMainForm::isWindowShortcut(const QKeyEvent* key) const {
  const QKeySequence pressed(key->keyCombination());
  for (const QAction* a : {FileNewCmd, FileOpenCmd, FileSaveCmd, EditUndoCmd, EditCutCmd, EditCopyCmd, SavePolyLines2})
    if (!a->shortcut().isEmpty() && a->shortcut() == pressed) return true;
  return false;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  // The window's shortcuts come before the focused control: the editor and the line edits
  // claim Ctrl+X/C/Z for themselves through ShortcutOverride, which would cut twice or not
  // run the command at all. Refusing the override lets the window's action take the key.
  if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this &&
      isWindowShortcut(static_cast<QKeyEvent*>(event))) {
    event->ignore();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  QMainWindow::closeEvent(event);
  if (event->isAccepted()) {
    closed_ = true;
    saveWindowState();
  }
}

void TMainForm::showEvent(QShowEvent* event) {
  closed_ = false;
  QMainWindow::showEvent(event);
}

}  // namespace kerfline
