#pragma once
// The main window: editor, parameter panel, font controls, glyph preview and commands.
#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/font_description.h"
#include "export/conversion_options.h"
#include "export/text_export.h"
#include "richtext/styled_text.h"
#include "vectorizer/UTTF2Vct.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QCloseEvent;
class QShowEvent;
class QSplitter;
class QComboBox;
class QDockWidget;
class QFileDialog;
class QFont;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPainter;
class QStatusBar;
class QTimer;
class QToolBar;
class QToolButton;
class QUrl;

namespace kerfline {

class TRichEdit;
class TSpinEdit;
class TUpDown;
class TPaintBox;
class JobView;
class LayoutPanel;
class ProductionPanel;
class Workshop;

/// The hidden one-character copy of the current character and its formatting.
struct TCharHolder {
  std::u32string text;      ///< empty, or the one current character
  TFontDescription font;    ///< that character's formatting (the window's font before any)
};

/// The one main window. Its handlers keep the given names and are public; its widgets are
/// private, each with objectName = its member's name, and reached from outside only through
/// the few accessors below.
class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  /// Builds the window and runs FormCreate.
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // ---- shared state ---------------------------------------------------------------------
  /// The character previewed or being converted, as a Unicode code point.
  char32_t CurChar = U'A';
  /// The 8-bit code empty-editor stepping counts with; CurChar is its decoding through the
  /// conversion font's code page while CurChar still equals that decoding.
  std::uint8_t CurCode = 'A';
  /// 1-based position of CurChar in the editor's text; only the step operations write it.
  std::int32_t CharPos = 1;
  /// ScaleEdit1 / 100000 * CharFontSize in single precision; 1.0 when the scale is <= 0.
  float UnitScale = 0.0f;
  /// Point size of the current character.
  std::int32_t CharFontSize = 0;
  /// Height in drawing units of the last character the preview drew.
  float CharHeight = 0.0f;
  /// Lines the selection spans, as ShowLineNum2 last computed.
  std::int32_t SelLineCount = 0;
  /// True only while SelectionChange writes the toolbar's font controls.
  bool ToolbarUpdating = false;
  /// The converter every preview and export uses.
  TTTFToVectorConverter TTF2Vector;
  /// The conversion font (the font dialog's font): handed to the converter before a conversion.
  TFontDescription ConversionFont;
  /// RichEdit2: the current character and its formatting; the preview reads its size.
  TCharHolder RichEdit2;
  /// The command-line arguments after argument 0, empty ones dropped (set by main()).
  std::vector<std::string> Arguments;
  /// True when no one can answer a message box (set by main() from batchRunsUnattended()):
  /// a batch run then tells its notices and errors on standard error, and a failed run ends
  /// the program through failProgram instead of leaving the window open.
  bool UnattendedBatch = false;
  /// The folder of the running executable, with a trailing "/".
  std::string ProgramFolder;

  // ---- what other classes reach of the widgets (tests find them by objectName) --------
  /// The text editor (RichEdit1): the text every export converts.
  TRichEdit* editor() const { return RichEdit1; }
  /// The Save dialog (SaveDialog1) through which every export asks for its file name.
  QFileDialog* saveDialog() const { return SaveDialog1; }

  // ---- seams: the defaults show the real dialogs, boxes and browser ----------------------
  /// OpenDialog1: the chosen file, or empty when cancelled.
  std::function<QString()> openFileName;
  /// SaveDialog1: the chosen file, or empty when cancelled.
  std::function<QString()> saveFileName;
  /// The font dialog, preselected with the given font: the confirmed font, or nothing.
  std::function<std::optional<QFont>(const QFont&)> chooseFont;
  /// Opens an address in the system's web browser; false when no browser took it.
  std::function<bool(const QUrl&)> openUrl;
  /// The general error report: a modal "Kerfline" box with an error icon and OK.
  std::function<void(const QString&)> errorBox;
  /// The program's own notices: a modal "Kerfline" box with OK.
  std::function<void(const QString&)> noticeBox;
  /// The export dialog on options: true (options edited) when confirmed, false when cancelled.
  std::function<bool(ConversionOptions&)> editExportOptions;
  /// The G-code export dialog, showing the given settings: the confirmed ones, or nothing.
  std::function<std::optional<ConversionOptions>(const ConversionOptions&)> askGcodeSettings;
  /// The G-code file dialog: the chosen file, or empty when cancelled.
  std::function<QString()> gcodeFileName;
  /// Ends the program (end of a batch run): closes the window and quits the event loop.
  std::function<void()> terminateProgram;
  /// Ends the program with exit status 1 (an unattended batch run that failed).
  std::function<void()> failProgram;

  // ---- creation and general operations ---------------------------------------------------
  /// The creation handler: dialogs' folder, font list, default attributes, CurChar, widths.
  void FormCreate();
  /// Shows text (full stop rule applied) in the general error report.
  void reportError(const std::string& message);
  /// Reports an error after the running event (a paint) has finished; one box at a time.
  void reportErrorLater(const std::string& message);
  /// Shows a notice ("Passed File Not Found ") in a modal "Kerfline" box.
  void ShowMessage(const QString& text);
  /// Runs one handler, sending any error it raises to the general error report.
  void run(void (TMainForm::*handler)());
  /// Returns after ms milliseconds, processing window events meanwhile; at once when the
  /// window has been closed.
  void Delay(std::uint32_t ms);
  /// Updates Panel2 with the caret position and SelLineCount of the editor.
  void ShowLineNum2(TRichEdit* editor);
  /// Requests an asynchronous repaint of the preview.
  void requestRepaint();
  /// Reads the settings file (settingsFile()) into Layername, ZmoveEdit and ZlevelEdit.
  void Loadini();
  /// Writes those three texts to the settings file, creating the user's settings folder on
  /// the first save there; throws Error on failure.
  void Saveini();
  /// The settings file by the lookup: KERFLINE_SETTINGS, Reg.ini in ProgramFolder when it is
  /// there or the folder is writable, else the user's configuration folder.
  std::string settingsFile() const;
  /// The panel's fields as the exports read them.
  ExportSettings exportSettings() const;
  /// The whole conversion the window describes: exportSettings() with spacing, tracking,
  /// alignment and automatic pitch (typography_controls.cpp).
  ConversionOptions conversionOptions() const;
  /// options with the panel's fields and the typography controls' placement: what every
  /// export of the window writes with, whatever its dialog chose.
  ConversionOptions withWindowPlacement(ConversionOptions options) const;
  /// The Production panel (View > Production Panel): merge file, serials, sheets, tabs.
  ProductionPanel* productionPanel() const { return productionPanel_; }
  /// The Spacing choice changed: Space % shows the classic space or the font spacing's tracking,
  /// each mode keeping its own value.
  void SpacingBoxChange();
  /// True when the Spacing choice is one of the font's own (with or without ligatures).
  bool fontSpacingChosen() const;
  /// In font spacing, the strokes the export cuts for CurChar at CharPos (its shaped form in its
  /// line); nothing in classic spacing or when CharPos does not hold CurChar.
  std::optional<TStrokeCollection> shapedPreviewStrokes();
  /// Classic spacing, left alignment and a numeric pitch (the Space % box then shows the classic
  /// space).
  void useClassicPlacement();
  /// Reads the [Typography] section of the settings file into the typography controls.
  void loadTypography(const std::string& path);
  /// Writes the typography controls to the [Typography] section; a file that has no such
  /// section gets none while every control holds its default. Throws Error on failure.
  void saveTypography(const std::string& path);
  /// Reads the [Layout] section of the settings file into the Layout panel.
  void loadLayout(const std::string& path);
  /// Writes the Layout panel to the [Layout] section; a file without one gets none while the
  /// panel holds the defaults. Throws Error on failure.
  void saveLayout(const std::string& path);

  // ---- the workshop window: job view, remembered state, recent and dropped files ----------
  /// Opens path by the loading rule as File > Open does once a file is chosen, then lists it
  /// first among the recent files and fits the job view to it; throws Error.
  void openDocument(const QString& path);
  /// Lays the text out again for the job view, shortly and off the window's thread.
  void requestJobLayout();
  /// The export dialogs stored new choices in the settings file: the job view reads them
  /// again and lays the text out with them.
  void exportChoicesChanged();
  /// The files of File > Recent Files, newest first.
  QStringList recentFiles() const;
  /// Restores geometry, splits, folders and recent files from the window's own settings
  /// (QSettings "kerfline/window", never Reg.ini) and keeps them there from now on.
  void restoreWindowState();
  /// Writes them there now (also done on closing, once restoreWindowState has run).
  void saveWindowState() const;

  // ---- file and edit commands ------------------------------------------------------------
  void FileNewCmdExecute();
  void FileOpenCmdExecute();
  void EditCutCmdExecute();
  void EditCopyCmdExecute();
  void EditUndoCmdExecute();
  void Paste1Click();
  /// Waits one second (window responsive), then closes the window.
  void Close1Click();
  /// Opens program folder + "KerflineHelp.Htm" in the browser.
  void Help1Click();
  /// Shows the About box (window-modal, without blocking) naming settingsFile().
  void About1Click();
  /// Opens address (a local path) in the system's browser; throws Error when that fails.
  void OpenInternetExplorer(const QString& address);

  // ---- save commands, batch run and pitch suggestion (main_form_save/batch/suggest.cpp) ---
  /// "Save DXF Lines + Z moves": asks for a name, exports, repaints, Saveini.
  void FileSaveCmdExecute();
  /// "Save DXF PolyLines XY only": asks for a name, exports, caption, Saveini.
  void SavePolyExecute();
  /// The "Lines + Z moves" export of the editor's text to fileName.
  void FileSave(const QString& fileName);
  /// The "PolyLines XY only" export of the editor's text to fileName.
  void SavePoly2(const QString& fileName);
  /// "Save DXF Closed Polylines..." / "Export SVG...": the export dialog (preset to that form
  /// and the settings of the last export), a file name, the export, [Export] and Saveini.
  void SaveClosedExecute();
  void ExportSvgExecute();
  /// The export of the editor's text to fileName as options ask (the panel's fields fill
  /// options.classic); says in the status bar what it wrote.
  void exportDrawing(const QString& fileName, ConversionOptions options);
  /// Before an export: forgets earlier load failures, then throws Error naming the font files
  /// and glyphs that cannot be loaded when they leave text nothing to draw (no file written).
  void requireDrawable(const TextSource& text, int resolution);
  /// After an export: names in the status bar the font files and glyphs it could not load.
  void tellLoadFailures();
  /// The export dialog's settings of the last export, from section [Export] of Reg.ini.
  ConversionOptions storedExportOptions() const;
  /// Writes the export dialog's settings to section [Export]; throws Error on failure.
  void storeExportOptions(const ConversionOptions& options);
  /// "Export G-code...": asks for the settings (remembered in the settings file) and a file
  /// name, then exports.
  void ExportGcodeExecute();
  /// The G-code export of the editor's text to fileName; the status bar tells what was
  /// written, or names the rings the kerf closed up.
  void ExportGcode(const QString& fileName, const ConversionOptions& options);
  /// Proposes the vertical pitch from the tallest character of the text.
  void SuggestExecute();
  /// First tick of StartupTimer1: the command-line batch conversion.
  void StartupTimer1Timer();
  /// The batch run itself, its errors reported through errorBox or thrown.
  void runBatch();

  // ---- character formatting --------------------------------------------------------------
  /// Selection attributes with a selection of at least one character, else default attributes.
  TFontDescription CurrText() const;
  /// Writes the given fields of f to the selection (or to the default attributes).
  void setCurrText(const TFontDescription& f, unsigned fields);
  /// Fills FontName with every installed face name once, sorted; single-line faces marked.
  void GetFontNames();
  /// The face name FontName's entry index stands for (without a single-line mark).
  QString faceNameAt(int index) const;
  /// Copies the selection's attributes into the toolbar's font controls.
  void SelectionChange();
  void FontNameChange();
  void FontSizeChange();
  void BoldButtonClick();
  void ItalicButtonClick();
  void Fontselection1Click();
  /// Makes the character at 1-based position p current: RichEdit2, caret, conversion font,
  /// CharFontSize and UnitScale. Requires 1 <= p <= text length.
  void UpdateFont(std::int32_t p);
  /// UnitScale (and CharFontSize) from the scale box and RichEdit2's size; 1.0 for a scale <= 0.
  void recomputeUnitScale();

  // ---- preview and stepping --------------------------------------------------------------
  /// Converts CurChar and draws its strokes on a surface paintHeight pixels high; updates
  /// UnitScale, CharFontSize, CharHeight and the three labels.
  void PaintBoxPaint(QPainter& painter, int paintHeight);
  void PrevCharBtnClick();
  void NextCharBtnClick();
  void AutoBtnClick();
  void TimerTimer();
  void Resolution1Change();
  void ScaleEdit1Change();
  /// Sets CurChar to the decoding of an 8-bit code through the conversion font's code page.
  void setCurCode(std::uint8_t code);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  /// Notes that the window was closed, so that a running wait or suggestion ends.
  void closeEvent(QCloseEvent* event) override;
  /// Notes that the window is open again.
  void showEvent(QShowEvent* event) override;

 private:
  // ---- controls (owned by Qt parents; objectName = the member's name) --------------------
  /// The toolbar: file and edit commands, font controls, pitch.
  QToolBar* StandardToolBar = nullptr;
  /// The parameter panel: stepping buttons, conversion fields and the character's size.
  QFrame* Panel1 = nullptr;
  /// Caret line and column, and the lines selected.
  QLabel* Panel2 = nullptr;
  /// The frame around the preview.
  QFrame* Panel3 = nullptr;
  /// Shows the hint of the control under the mouse.
  QStatusBar* StatusBar1 = nullptr;
  /// The text editor: the text every export converts.
  TRichEdit* RichEdit1 = nullptr;
  /// The preview of CurChar's strokes.
  TPaintBox* PaintBox = nullptr;
  /// "Scan": steps through the text on every Timer tick while down.
  QToolButton* AutoBtn = nullptr;
  /// "Prev": the character before CurChar becomes current.
  QToolButton* PrevCharBtn = nullptr;
  /// "Next": the character after CurChar becomes current.
  QToolButton* NextCharBtn = nullptr;
  /// "Resolution", 1..100: the converter's strokes per curve piece.
  TSpinEdit* Resolution1 = nullptr;
  /// "Scale", 1..10000: character size (with the point size).
  TSpinEdit* ScaleEdit1 = nullptr;
  /// "Space %", 0..100: space between characters.
  TSpinEdit* SpacePc = nullptr;
  /// "Layer": the DXF layer every entity goes on.
  QLineEdit* Layername = nullptr;
  /// "Z Up move": the Z move at the begin and end of each contour.
  QLineEdit* ZmoveEdit = nullptr;
  /// "Pitch": the distance added to Y at each new line.
  QLineEdit* Edit1 = nullptr;
  /// "Z Cutting": the Z level the strokes are drawn on.
  QLineEdit* ZlevelEdit = nullptr;
  /// Caption of Resolution1.
  QLabel* Label1 = nullptr;
  /// Caption of Edit1 ("Pitch").
  QLabel* Label2 = nullptr;
  /// The element count of the character previewed.
  QLabel* Label3 = nullptr;
  /// Caption of Label3 ("Elements").
  QLabel* Label4 = nullptr;
  /// The width of the character previewed, in drawing units.
  QLabel* Label5 = nullptr;
  /// The height of the character previewed, in drawing units.
  QLabel* Label6 = nullptr;
  /// Caption of ScaleEdit1.
  QLabel* Label7 = nullptr;
  /// Caption of ZlevelEdit.
  QLabel* Label8 = nullptr;
  /// Caption of ZmoveEdit.
  QLabel* Label9 = nullptr;
  /// Caption of Layername.
  QLabel* Layer = nullptr;
  /// Caption of SpacePc.
  QLabel* SpacePercent = nullptr;
  /// The face of the selection (or of typing).
  QComboBox* FontName = nullptr;
  /// The point size of the selection (or of typing).
  QLineEdit* FontSize = nullptr;
  /// Steps FontSize, 1..100.
  TUpDown* UpDown1 = nullptr;
  /// Toggles bold on the selection (or typing).
  QToolButton* BoldButton = nullptr;
  /// Toggles italic on the selection (or typing).
  QToolButton* ItalicButton = nullptr;
  /// Pastes from the clipboard.
  QToolButton* PasteButton = nullptr;
  /// Proposes the vertical pitch (Suggest).
  QToolButton* PitchSpeedButton1 = nullptr;
  QLabel* SpacingLabel = nullptr;
  /// "classic" (index 0), "font" (index 1) or "font + ligatures" (index 2)
  QComboBox* SpacingBox = nullptr;
  QToolButton* AlignLeftBtn = nullptr;   ///< the three alignment buttons, one always down
  QToolButton* AlignCenterBtn = nullptr;
  QToolButton* AlignRightBtn = nullptr;
  QCheckBox* AutoPitchBox = nullptr;     ///< "auto": line pitch from the fonts' line heights
  /// AutoBtn's stepping, every 300 ms.
  QTimer* Timer = nullptr;
  /// Fires once, 3 s after creation: the command-line batch run.
  QTimer* StartupTimer1 = nullptr;
  /// The Open dialog (rich text and text files).
  QFileDialog* OpenDialog1 = nullptr;
  /// The Save dialog of both DXF exports.
  QFileDialog* SaveDialog1 = nullptr;
  // The work area: editor beside glyph preview, the job view under both; both splits move.
  QSplitter* JobSplitter = nullptr;   ///< editor and preview above, the job view below
  QSplitter* WorkSplitter = nullptr;  ///< editor left, glyph preview right
  JobView* JobView1 = nullptr;        ///< the whole drawing as the export writes it
  /// Status bar: the job's width x height in drawing units.
  QLabel* JobSize = nullptr;
  /// Status bar: the rapid travel of the cut order the job view draws.
  QLabel* JobTravel = nullptr;
  QMenu* RecentMenu = nullptr;  ///< File > Recent Files, filled as it opens
  /// The sign's layout beside the job view (View > Layout Panel).
  LayoutPanel* LayoutPanel1 = nullptr;
  QDockWidget* LayoutDock = nullptr;  ///< holds LayoutPanel1; hidden at first
  QTimer* layoutSave_ = nullptr;      ///< writes [Layout] once the panel's edits pause

  // ---- commands (QAction objectName = the command's name) --------------------------------
  /// Ctrl+N: empties the editor.
  QAction* FileNewCmd = nullptr;
  /// Ctrl+O: loads a rich-text or text file into the editor.
  QAction* FileOpenCmd = nullptr;
  /// Ctrl+S: the "Lines + Z moves" export.
  QAction* FileSaveCmd = nullptr;
  /// The "PolyLines XY only" export.
  QAction* SavePoly = nullptr;
  /// Proposes the vertical pitch from the tallest character.
  QAction* Suggest = nullptr;
  /// Ctrl+Z: undoes the editor's last change.
  QAction* EditUndoCmd = nullptr;
  /// Ctrl+X: cuts the selection.
  QAction* EditCutCmd = nullptr;
  /// Ctrl+C: copies the selection.
  QAction* EditCopyCmd = nullptr;
  // menu items: each shows its own caption and triggers its command
  /// File > New (FileNewCmd).
  QAction* New1 = nullptr;
  /// File > Open... (FileOpenCmd).
  QAction* FileOpen1 = nullptr;
  /// File > Save DXF PolyLines XY only, Ctrl+P (SavePoly).
  QAction* SavePolyLines2 = nullptr;
  /// File > Save DXF Lines + Z moves (FileSaveCmd).
  QAction* SaveAsMultiFontDXF1 = nullptr;
  /// File > Cut (EditCutCmd).
  QAction* SavePolyLines1 = nullptr;
  /// File > Font selection: the font dialog for the selection.
  QAction* Fontselection1 = nullptr;
  /// File > Suggest (Suggest).
  QAction* SuggestPitch1 = nullptr;
  /// File > Close.
  QAction* Close1 = nullptr;
  /// Edit > Cut (EditCutCmd).
  QAction* Cut1 = nullptr;
  /// Edit > Copy (EditCopyCmd).
  QAction* Copy1 = nullptr;
  /// Edit > Paste.
  QAction* Paste1 = nullptr;
  /// Help: opens the help page in the browser.
  QAction* Help1 = nullptr;
  /// File > "Save DXF Closed Polylines..." and File > "Export SVG...": the export dialog.
  QAction* SaveClosedCmd = nullptr;
  QAction* ExportSvgCmd = nullptr;
  /// Help > About Kerfline: version, licence and the settings file in use.
  QAction* About1 = nullptr;
  QAction* ExportGcode1 = nullptr;  ///< File > "Export G-code..."

  // ---- construction ----------------------------------------------------------------------
  void createActions();
  void createMenus();
  void createToolBar();
  void createPanel();
  void createWorkArea();
  void createStatusBar();
  void createTimers();
  void createDialogs();
  void connectHandlers();
  /// The alignment buttons on the toolbar.
  void createAlignmentButtons();
  /// spaceField with the Spacing choice beside it, in one cell of the panel.
  QWidget* withSpacingChoice(QWidget* spaceField);
  /// pitchField with the "auto" box beside it, in one cell of the panel.
  QWidget* withAutoPitch(QWidget* pitchField);
  void installDefaultSeams();
  /// Job view, its layout thread, the added menus and the window's remembered state.
  void createWorkshop();
  /// The Layout panel in its dock, shown and hidden from view (main_form_layout.cpp).
  void createLayoutPanel(QMenu* view);
  // ---- the Production panel (main_form_production.cpp) ----
  void createProductionPanel();
  /// The editor's text, or the item of it the Production panel's chosen row makes.
  StyledText jobViewText() const;
  /// The panel's tabs and stencil bridges into options (not for the classic forms).
  void applyProductionPanel(ConversionOptions& options) const;
  void loadProduction(const std::string& path);
  void saveProduction(const std::string& path);
  ProductionPanel* productionPanel_ = nullptr;
  /// Adds the job view's height under the designed work area (as far as the screen allows).
  void growForJobView();
  /// Design pixels (120 per inch) to screen pixels.
  int dp(int designPixels) const;
  /// The 8-bit code standing for CurChar in the conversion font's code page.
  std::uint8_t currentCode() const;
  /// True when the key press is one of the window's shortcuts.
  bool isWindowShortcut(const QKeyEvent* key) const;
  int otherSpace_ = 0;  ///< Space % of the spacing mode not shown (the tracking at first)
  bool showsTracking_ = false;  ///< Space % shows the tracking (a font spacing is chosen)
  bool paintErrorShown_ = false;  ///< an error box for a paint is pending or open
  Workshop* workshop_ = nullptr;  ///< owned by the window (a child QObject)
  bool closed_ = false;  ///< closed and not shown again since
};

/// Whether a batch run of the window has nobody to answer its boxes: Qt draws on the offscreen
/// or minimal platform (no screen at all), or KERFLINE_UNATTENDED=1 (or the older
/// KERFLINE_AUTOCLOSE_MESSAGES=1) is in the environment, for runs on a virtual display.
bool batchRunsUnattended();

}  // namespace kerfline
