// The workshop side of the window: the job view and its layout thread, the remembered window
// state, File > Recent Files, dropped files and the menus that make every command reachable.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <algorithm>
#include <memory>
#include <optional>

#include "common/error.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/job_layout_worker.h"
#include "mainwindow/job_scene.h"
#include "mainwindow/job_view.h"
#include "mainwindow/recent_files.h"
#include "mainwindow/rich_edit.h"
#include "mainwindow/spin_edit.h"

namespace kerfline {

/// State of the workshop side that the window's header need not show.
class Workshop : public QObject {
 public:
  explicit Workshop(TMainForm* form) : QObject(form), form_(form) { qApp->installEventFilter(this); }
  ~Workshop() override { qApp->removeEventFilter(this); }
  /// Drags and drops of files anywhere in the window, before the widget under the pointer.
  bool eventFilter(QObject* watched, QEvent* event) override {
    return takeFileDrop(watched, event) || QObject::eventFilter(watched, event);
  }
  JobLayoutWorker* layout = nullptr;
  QTimer* layoutDelay = nullptr;
  RecentFiles recent;
  QString shownNotes;     ///< what the last layout said of weld and kerf in the status bar
  /// The fit size, units, weld and kerf the export dialogs keep, read from the settings file
  /// once rather than at every edit; forgotten when a dialog stores new ones.
  std::optional<ConversionOptions> exportChoices;
  bool remember = false;  ///< restoreWindowState has run: keep the state in the settings

 private:
  /// Opens a dragged .rtf or .txt file dropped anywhere in the window; true when event was
  /// the drag or drop of such a file.
  bool takeFileDrop(QObject* watched, QEvent* event);

  TMainForm* form_;
};

namespace {

// A command changes the document in several steps, each announced; the layout starts once
// the window is idle again, so that one command gives one layout and no time is lost.
constexpr int kLayoutDelayMs = 0;

// Starting height of the job view in design pixels, added under the designed window.
constexpr int kJobViewHeight = 260;

// The window's own settings, apart from the cutting settings in Reg.ini: geometry, splits,
// folders and recent files are the user's desk, not the job's.
std::unique_ptr<QSettings> windowSettings() {
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                     QStringLiteral("kerfline"), QStringLiteral("window"));
}

// The character the caret stands for: the first selected one, or the one before the caret.
std::int32_t caretCharacter(const TRichEdit& editor) {
  const std::int32_t start = editor.selStart();
  return editor.selLength() > 0 ? start + 1 : start;
}

QString sizeText(const JobScene& scene) {
  if (scene.extent.empty()) return {};
  const QString unit = QString::fromStdString(scene.units);
  return TMainForm::tr("Job %1 x %2 %3")
      .arg(scene.extent.width(), 0, 'f', 3)
      .arg(scene.extent.height(), 0, 'f', 3)
      .arg(unit);
}

// A dragged file the window opens: the first of the drag, a local .rtf or .txt file.
QString openableFile(const QMimeData* mime) {
  if (!mime || !mime->hasUrls() || mime->urls().isEmpty()) return {};
  const QUrl url = mime->urls().first();
  if (!url.isLocalFile()) return {};
  const QString path = url.toLocalFile();
  const QString suffix = QFileInfo(path).suffix().toLower();
  return suffix == QLatin1String("rtf") || suffix == QLatin1String("txt") ? path : QString();
}

}  // namespace

void TMainForm::createWorkshop() {
  workshop_ = new Workshop(this);
  setAcceptDrops(true);

  JobSize = new QLabel(StatusBar1);
  JobSize->setObjectName(QStringLiteral("JobSize"));
  JobSize->setToolTip(tr("Width x height of the drawing an export writes"));
  JobTravel = new QLabel(StatusBar1);
  JobTravel->setObjectName(QStringLiteral("JobTravel"));
  JobTravel->setToolTip(tr("Rapid travel between cuts in the order the export writes"));
  auto* pointer = new QLabel(StatusBar1);
  pointer->setObjectName(QStringLiteral("JobPointer"));
  pointer->setToolTip(tr("Where the pointer is in the job view, in drawing units"));
  StatusBar1->addPermanentWidget(pointer);
  StatusBar1->addPermanentWidget(JobSize);
  StatusBar1->addPermanentWidget(JobTravel);
  connect(JobView1, &JobView::pointerMoved, pointer, [pointer](bool valid, double x, double y) {
    pointer->setText(valid ? tr("X %1  Y %2").arg(x, 0, 'f', 3).arg(y, 0, 'f', 3) : QString());
  });
  JobView1->setToolTip(tr("Job view: the whole drawing as the export writes it. Wheel: zoom; "
                          "drag: move; double-click or 0: fit; + and -: zoom"));

  // ---- layout on its own thread, started once the window is idle after a change ---------
  workshop_->layout = new JobLayoutWorker(workshop_);
  workshop_->layoutDelay = new QTimer(workshop_);
  workshop_->layoutDelay->setSingleShot(true);
  workshop_->layoutDelay->setInterval(kLayoutDelayMs);
  connect(workshop_->layoutDelay, &QTimer::timeout, this, [this] {
    // What the cut-ready exports (closed DXF, SVG, G-code) would write now: the window's
    // fields and typography with the export dialogs' choices.
    if (!workshop_->exportChoices) workshop_->exportChoices = storedExportOptions();
    workshop_->layout->request(jobViewText(), withWindowPlacement(*workshop_->exportChoices));
  });
  connect(workshop_->layout, &JobLayoutWorker::finished, this,
          [this](std::shared_ptr<const JobScene> scene) {
            JobSize->setText(sizeText(*scene));
            JobTravel->setText(scene->extent.empty()
                                   ? QString()
                                   : tr("Travel %1 %2")
                                         .arg(scene->travel, 0, 'f', 1)
                                         .arg(QString::fromStdString(scene->units)));
            // Material the kerf leaves uncut, or cuts that run into a neighbour, are told
            // before anything is written; the words go once the layout no longer has them.
            const QString notes = QString::fromStdString(scene->notes);
            if (!notes.isEmpty()) {
              StatusBar1->showMessage(notes);
            } else if (!workshop_->shownNotes.isEmpty() &&
                       StatusBar1->currentMessage() == workshop_->shownNotes) {
              StatusBar1->clearMessage();
            }
            workshop_->shownNotes = notes;
            JobView1->setScene(std::move(scene));
          });
  connect(workshop_->layout, &JobLayoutWorker::failed, this, [this](const QString& message) {
    JobSize->setText(tr("Job view: %1").arg(message));
  });
  connect(RichEdit1->document(), &QTextDocument::contentsChanged, this, &TMainForm::requestJobLayout);
  connect(Resolution1, &TSpinEdit::changed, this, &TMainForm::requestJobLayout);
  connect(ScaleEdit1, &TSpinEdit::changed, this, &TMainForm::requestJobLayout);
  connect(SpacePc, &TSpinEdit::changed, this, &TMainForm::requestJobLayout);
  connect(Edit1, &QLineEdit::textChanged, this, &TMainForm::requestJobLayout);
  connect(SpacingBox, &QComboBox::currentIndexChanged, this, &TMainForm::requestJobLayout);
  connect(AutoPitchBox, &QCheckBox::toggled, this, &TMainForm::requestJobLayout);
  for (QToolButton* b : {AlignLeftBtn, AlignCenterBtn, AlignRightBtn})
    connect(b, &QToolButton::toggled, this, &TMainForm::requestJobLayout);
  // A click on a letter of the drawing steps to it, as Prev and Next step; the keys stay
  // with the view, where + and - zoom instead of going into the text.
  connect(JobView1, &JobView::characterClicked, this, [this](std::int32_t pos) {
    try {
      const std::u32string text = RichEdit1->text();
      if (pos < 1 || pos > static_cast<std::int32_t>(text.size())) return;
      CharPos = pos;
      CurChar = text[static_cast<std::size_t>(pos - 1)];
      UpdateFont(pos);
      requestRepaint();
      JobView1->setFocus();
    } catch (const std::exception& e) {
      reportError(e.what());
    }
  });
  auto follow = [this] { JobView1->setHighlight(caretCharacter(*RichEdit1)); };
  connect(RichEdit1, &QTextEdit::cursorPositionChanged, this, follow);
  connect(RichEdit1, &QTextEdit::selectionChanged, this, follow);
  requestJobLayout();

  // ---- menus: every command with its shortcut ------------------------------------------
  auto command = [this](QMenu* menu, const char* name, const QString& caption,
                        const QKeySequence& key, const QString& tip) {
    auto* a = new QAction(caption, this);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
    a->setStatusTip(tip);
    addAction(a);
    menu->addAction(a);
    return a;
  };

  QMenu* file = menuBar()->findChild<QMenu*>(QStringLiteral("File"));
  RecentMenu = new QMenu(tr("Recent &Files"), this);
  RecentMenu->setObjectName(QStringLiteral("RecentMenu"));
  file->insertMenu(SavePolyLines2, RecentMenu);
  connect(RecentMenu, &QMenu::aboutToShow, this, [this] {
    RecentMenu->clear();
    const QStringList files = workshop_->recent.files();
    for (int i = 0; i < files.size(); ++i) {
      const QString path = files[i];
      // "&1".."&8": the digit picks the entry from the keyboard.
      QAction* a = RecentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
      a->setStatusTip(QDir::toNativeSeparators(path));
      connect(a, &QAction::triggered, this, [this, path] {
        try {
          openDocument(path);
        } catch (const std::exception& e) {
          // A file gone or unreadable leaves the list; the report says why.
          workshop_->recent.remove(path);
          saveWindowState();
          reportError(e.what());
        }
      });
    }
    if (files.isEmpty()) RecentMenu->addAction(tr("(none)"))->setEnabled(false);
    RecentMenu->addSeparator();
    QAction* clear = RecentMenu->addAction(tr("&Clear Recent Files"));
    clear->setEnabled(!files.isEmpty());
    connect(clear, &QAction::triggered, this, [this] {
      workshop_->recent.clear();
      saveWindowState();
    });
  });

  QMenu* edit = menuBar()->findChild<QMenu*>(QStringLiteral("EditMenu"));
  auto* undo = new QAction(tr("&Undo") + QStringLiteral("\tCtrl+Z"), this);
  undo->setObjectName(QStringLiteral("Undo1"));
  undo->setStatusTip(EditUndoCmd->statusTip());
  connect(undo, &QAction::triggered, EditUndoCmd, &QAction::trigger);
  edit->insertAction(Cut1, undo);
  edit->insertSeparator(Cut1);
  // Paste is the editor's own Ctrl+V; the menu says so.
  Paste1->setShortcut(QKeySequence(QKeySequence::Paste));
  Paste1->setShortcutContext(Qt::WindowShortcut);
  addAction(Paste1);

  QMenu* format = new QMenu(tr("F&ormat"), this);
  format->setObjectName(QStringLiteral("FormatMenu"));
  QAction* bold = command(format, "Bold1", tr("&Bold"), QKeySequence(Qt::CTRL | Qt::Key_B),
                          tr("Bold on or off for the selection"));
  QAction* italic = command(format, "Italic1", tr("&Italic"), QKeySequence(Qt::CTRL | Qt::Key_I),
                            tr("Italic on or off for the selection"));
  connect(bold, &QAction::triggered, BoldButton, &QToolButton::click);
  connect(italic, &QAction::triggered, ItalicButton, &QToolButton::click);
  format->addSeparator();
  format->addAction(Fontselection1);
  // Before the Help menu, which stays last.
  QMenu* help = menuBar()->findChild<QMenu*>(QStringLiteral("HelpMenu"));
  QAction* beforeHelp = help ? help->menuAction() : nullptr;
  menuBar()->insertMenu(beforeHelp, format);

  QMenu* view = new QMenu(tr("&View"), this);
  view->setObjectName(QStringLiteral("ViewMenu"));
  view->addAction(JobView1->fitAction());
  view->addAction(JobView1->zoomInAction());
  view->addAction(JobView1->zoomOutAction());
  view->addAction(JobView1->cutOrderAction());
  view->addSeparator();
  QAction* prev = command(view, "PrevChar1", tr("&Previous Character"), QKeySequence(Qt::ALT | Qt::Key_Left),
                          PrevCharBtn->statusTip());
  QAction* next = command(view, "NextChar1", tr("&Next Character"), QKeySequence(Qt::ALT | Qt::Key_Right),
                          NextCharBtn->statusTip());
  QAction* scan = command(view, "Scan1", tr("&Scan"), QKeySequence(), AutoBtn->statusTip());
  scan->setCheckable(true);
  connect(prev, &QAction::triggered, PrevCharBtn, &QToolButton::click);
  connect(next, &QAction::triggered, NextCharBtn, &QToolButton::click);
  connect(scan, &QAction::triggered, AutoBtn, &QToolButton::click);
  connect(AutoBtn, &QToolButton::toggled, scan, &QAction::setChecked);
  menuBar()->insertMenu(beforeHelp, view);
  createLayoutPanel(view);
}

void TMainForm::growForJobView() {
  // A hidden window lays out only when asked; a split places its panes when its sizes are set.
  auto layOut = [this] {
    for (QLayout* l : {layout(), centralWidget()->layout()}) {
      l->invalidate();
      l->activate();
    }
  };
  layOut();
  const int designed = JobSplitter->height();  // the whole work area of the designed window
  int grow = dp(kJobViewHeight);
  // Room for the window's frame and a panel of the desktop, guessed: none is known yet.
  if (const QScreen* s = screen())
    grow = std::clamp(s->availableGeometry().height() - height() - dp(60), 0, grow);
  resize(width(), height() + grow);
  layOut();
  JobSplitter->setSizes({designed, std::max(0, JobSplitter->height() - designed - JobSplitter->handleWidth())});
}

void TMainForm::exportChoicesChanged() {
  workshop_->exportChoices.reset();
  requestJobLayout();
}

void TMainForm::requestJobLayout() {
  workshop_->layout->markStale();
  workshop_->layoutDelay->start();
}

void TMainForm::openDocument(const QString& path) {
  RichEdit1->clearText();
  RichEdit1->loadFromFile(path.toStdString());
  RichEdit1->setSelStart(0);
  RichEdit1->setSelLength(1);
  JobView1->followFit();
  workshop_->recent.add(path);
  OpenDialog1->setDirectory(QFileInfo(path).absolutePath());
  saveWindowState();
}

QStringList TMainForm::recentFiles() const { return workshop_->recent.files(); }

void TMainForm::restoreWindowState() {
  const auto s = windowSettings();
  if (const QByteArray g = s->value(QStringLiteral("Window/geometry")).toByteArray(); !g.isEmpty())
    restoreGeometry(g);
  if (const QByteArray w = s->value(QStringLiteral("Window/workSplit")).toByteArray(); !w.isEmpty())
    WorkSplitter->restoreState(w);
  if (const QByteArray p = s->value(QStringLiteral("Window/jobSplit")).toByteArray(); !p.isEmpty())
    JobSplitter->restoreState(p);
  JobView1->setShowCutOrder(s->value(QStringLiteral("JobView/cutOrder"), false).toBool());
  LayoutDock->setVisible(s->value(QStringLiteral("Window/layoutPanel"), false).toBool());
  // A folder since removed leaves the dialog where the program put it.
  for (auto [key, dialog] : {std::pair{"Folders/open", OpenDialog1}, std::pair{"Folders/save", SaveDialog1}}) {
    const QString folder = s->value(QString::fromLatin1(key)).toString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) dialog->setDirectory(folder);
  }
  workshop_->recent.load(*s);
  workshop_->remember = true;
}

void TMainForm::saveWindowState() const {
  if (!workshop_->remember) return;
  const auto s = windowSettings();
  s->setValue(QStringLiteral("Window/geometry"), saveGeometry());
  s->setValue(QStringLiteral("Window/workSplit"), WorkSplitter->saveState());
  s->setValue(QStringLiteral("Window/jobSplit"), JobSplitter->saveState());
  s->setValue(QStringLiteral("JobView/cutOrder"), JobView1->showCutOrder());
  s->setValue(QStringLiteral("Window/layoutPanel"), LayoutDock->isVisible());
  s->setValue(QStringLiteral("Folders/open"), OpenDialog1->directory().absolutePath());
  s->setValue(QStringLiteral("Folders/save"), SaveDialog1->directory().absolutePath());
  workshop_->recent.save(*s);
}

bool Workshop::takeFileDrop(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
  if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != form_) return false;
  auto* drop = static_cast<QDropEvent*>(event);  // the enter and move events are drop events
  const QString path = openableFile(drop->mimeData());
  if (path.isEmpty()) return false;  // text and other drags go where they always went
  drop->setDropAction(Qt::CopyAction);
  drop->accept();
  if (type == QEvent::Drop) {
    // Opened once the drag has ended, so that an error box does not hold the dragging program.
    QTimer::singleShot(0, form_, [form = form_, path] {
      try {
        form->openDocument(path);
      } catch (const std::exception& e) {
        form->reportError(e.what());
      }
    });
  }
  return true;
}

}  // namespace kerfline
