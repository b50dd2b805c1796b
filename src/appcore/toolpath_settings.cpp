#include "appcore/toolpath_settings.h"

#include <algorithm>

#include "appcore/option_table.h"
#include "appcore/settings_file.h"
#include "export/fill_export.h"
#include "layout/frame_spec.h"

namespace kerfline {
namespace {

constexpr const char* kTypographySection = "Typography";

// A choice among named values: the first name is also what an unknown value reads as.
template <class E, std::size_t N>
std::optional<E> named(const std::optional<std::string>& text,
                       const std::pair<std::string_view, E> (&names)[N]) {
  if (!text) return std::nullopt;
  for (const auto& [name, value] : names) {
    if (name == *text) return value;
  }
  return std::nullopt;
}

template <class E, std::size_t N>
std::string nameOf(E value, const std::pair<std::string_view, E> (&names)[N]) {
  for (const auto& [name, v] : names) {
    if (v == value) return std::string(name);
  }
  return std::string(names[0].first);
}

constexpr std::pair<std::string_view, KerfSide> kSides[] = {
    {"outside", KerfSide::Outside}, {"inside", KerfSide::Inside}, {"on", KerfSide::On}};
constexpr std::pair<std::string_view, OutputFormat> kDialogFormats[] = {
    {"closed", OutputFormat::Closed}, {"svg", OutputFormat::Svg}};
constexpr std::pair<std::string_view, int> kDxfVersions[] = {{"12", 12}, {"2000", 2000}};
constexpr std::pair<std::string_view, DrawingUnits> kUnits[] = {{"mm", DrawingUnits::Millimetre},
                                                                {"in", DrawingUnits::Inch}};
constexpr std::pair<std::string_view, Alignment> kAlignments[] = {
    {"left", Alignment::Left}, {"center", Alignment::Center}, {"right", Alignment::Right}};

// The keys of filled letters: written only once a file has them or a fill is chosen, so that
// a file saved before fills existed keeps its bytes.
constexpr std::string_view kFillKeys[] = {"ToolDiameter", "StepOver", "FinishAllowance", "Margin",
                                          "Interval",     "HatchAngle", "Overscan"};
bool isFillKey(std::string_view key) {
  return std::find(std::begin(kFillKeys), std::end(kFillKeys), key) != std::end(kFillKeys);
}

void readFlag(const std::string& path, const char* section, const char* key, bool& slot) {
  const std::optional<std::string> raw = readProfileString(path, section, key);
  if (raw == "1") slot = true;
  if (raw == "0") slot = false;
}

// Every row of the option table stored in section: a value within the row's limits replaces
// the setting, an empty one clears it, and any other (a typo, nan, a kerf of 1e13) is not
// used: the setting stays as it was and the refusal is told.
void readRows(const std::string& path, std::string_view section, ConversionOptions& options,
              std::vector<std::string>& refused) {
  for (const OptionDescriptor& row : optionTable()) {
    if (row.section != section || !row.set) continue;
    const std::optional<std::string> raw =
        readProfileString(path, std::string(section), std::string(row.key));
    if (!raw) continue;
    if (raw->empty()) {
      row.set(options, std::nullopt);
      continue;
    }
    if (const std::optional<double> v = storedValue(row, *raw)) {
      row.set(options, v);
    } else {
      refused.push_back(settingRefusal(row, row.key, *raw) + "; not used");
    }
  }
}

// Every row of the option table stored in section but those written already (to keep the
// order of keys a file has always had).
void writeRows(const std::string& path, std::string_view section, const ConversionOptions& options,
               std::initializer_list<std::string_view> written = {}) {
  for (const OptionDescriptor& row : optionTable()) {
    if (row.section != section || !row.get) continue;
    if (std::find(written.begin(), written.end(), row.key) != written.end()) continue;
    if (isFillKey(row.key)) continue;
    const std::optional<double> v = row.get(options);
    writeProfileString(path, std::string(section), std::string(row.key), v ? exactText(*v) : "");
  }
}

}  // namespace

std::string settingRefusal(const OptionDescriptor& row, std::string_view key, std::string_view text) {
  // Appended piece by piece: GCC 12 at -O3 takes "literal" + string for an overlapping copy.
  std::string out = "[";
  out.append(row.section.empty() ? std::string_view(kToolpathSection) : row.section)
      .append("] ")
      .append(key)
      .append("=")
      .append(text)
      .append(row.kind == OptionKind::Whole ? " is not a whole number from " : " is not a number from ")
      .append(limitsText(row));
  return out;
}

std::vector<std::string> loadToolpathSettings(const std::string& path, ConversionOptions& options) {
  std::vector<std::string> refused;
  readFlag(path, kToolpathSection, "Weld", options.weld);
  if (auto side = named(readProfileString(path, kToolpathSection, "KerfSide"), kSides)) {
    options.kerfSide = *side;
  }
  readFlag(path, kToolpathSection, "Laser", options.gcode.laser);
  readFlag(path, kToolpathSection, "Arcs", options.arcs);
  // Empty: the form's own order; a name this program did not write leaves the order as it was.
  const std::optional<std::string> order = readProfileString(path, kToolpathSection, "Order");
  if (order && order->empty()) options.order.reset();
  if (auto chosen = named(order, kCutOrderNames)) options.order = *chosen;
  if (auto shape = named(readProfileString(path, kToolpathSection, "LeadType"), kLeadShapeNames))
    options.leadShape = *shape;
  // Empty: the profile; a name this program did not write leaves the operation as it was.
  const std::optional<std::string> cut = readProfileString(path, kToolpathSection, "Cut");
  if (cut && cut->empty()) options.cut = CutOperation::Profile;
  if (auto chosen = named(cut, kCutOperationNames)) options.cut = *chosen;
  readFlag(path, kToolpathSection, "Background", options.fill.background);
  readFlag(path, kToolpathSection, "CrossHatch", options.fill.crossHatch);
  readFlag(path, kToolpathSection, "Unidirectional", options.fill.unidirectional);
  readFlag(path, kToolpathSection, "FillOutline", options.fill.outline);
  readRows(path, kToolpathSection, options, refused);
  readRows(path, kCarveSection, options, refused);
  // The clearing program's file, as --clear-output names it; empty: the V-bit clears the floor.
  if (auto clearOutput = readProfileString(path, kCarveSection, "ClearOutput"))
    options.vcarve.clearOutput = *clearOutput;
  // Empty: a plain carving; a name this program did not write leaves the part as it was.
  const std::optional<std::string> inlay = readProfileString(path, kCarveSection, "Inlay");
  if (inlay && inlay->empty()) options.vcarve.inlay = InlayPart::None;
  if (auto part = named(inlay, kInlayPartNames)) options.vcarve.inlay = *part;
  return refused;
}

void saveToolpathSettings(const std::string& path, const ConversionOptions& options) {
  writeProfileString(path, kToolpathSection, "Weld", options.weld ? "1" : "0");
  writeProfileString(path, kToolpathSection, "Kerf", options.kerf ? exactText(*options.kerf) : "");
  writeProfileString(path, kToolpathSection, "KerfSide", nameOf(options.kerfSide, kSides));
  writeRows(path, kToolpathSection, options,
            {"Kerf", "LeadIn", "LeadOut", "Overcut", "Tolerance"});
  writeProfileString(path, kToolpathSection, "Laser", options.gcode.laser ? "1" : "0");
  // The order and leads are written once chosen, so that a file saved before they could be
  // chosen keeps its keys.
  const auto once = [&](const char* key, const std::optional<std::string>& value) {
    if (value || readProfileString(path, kToolpathSection, key))
      writeProfileString(path, kToolpathSection, key, value.value_or(""));
  };
  once("Order", options.order ? std::optional(nameOf(*options.order, kCutOrderNames)) : std::nullopt);
  for (const char* key : {"LeadIn", "LeadOut", "Overcut"}) {
    const std::optional<double> v = optionNamed(key).get(options);
    once(key, v ? std::optional(exactText(*v)) : std::nullopt);
  }
  once("Tolerance", options.tolerance ? std::optional(exactText(*options.tolerance)) : std::nullopt);
  if (options.arcs || readProfileString(path, kToolpathSection, "Arcs"))
    writeProfileString(path, kToolpathSection, "Arcs", options.arcs ? "1" : "0");
  once("LeadType", asksForLeads(options)
                       ? std::optional(nameOf(options.leadShape, kLeadShapeNames))
                       : std::nullopt);
  const bool fills = fillsLetters(options);
  once("Cut", options.cut != CutOperation::Profile ? std::optional(nameOf(options.cut, kCutOperationNames)) : std::nullopt);
  const auto flag = [&](const char* key, bool on) {
    if (fills || on || readProfileString(path, kToolpathSection, key))
      writeProfileString(path, kToolpathSection, key, on ? "1" : "0");
  };
  flag("Background", options.fill.background);
  flag("CrossHatch", options.fill.crossHatch);
  flag("Unidirectional", options.fill.unidirectional);
  flag("FillOutline", options.fill.outline);
  for (const std::string_view key : kFillKeys) {
    const std::optional<double> v = optionNamed(key).get(options);
    once(std::string(key).c_str(), v ? std::optional(exactText(*v)) : std::nullopt);
  }
  // The carving's section likewise appears only once a carving is chosen.
  const ConversionOptions defaults;
  for (const OptionDescriptor& row : optionTable()) {
    if (row.section != kCarveSection) continue;
    const std::optional<double> v = row.get(options);
    if (options.cut == CutOperation::VCarve || v != row.get(defaults) ||
        readProfileString(path, kCarveSection, std::string(row.key)))
      writeProfileString(path, kCarveSection, std::string(row.key), v ? exactText(*v) : "");
  }
  if (options.cut == CutOperation::VCarve || !options.vcarve.clearOutput.empty() ||
      readProfileString(path, kCarveSection, "ClearOutput"))
    writeProfileString(path, kCarveSection, "ClearOutput", options.vcarve.clearOutput);
  if (options.vcarve.inlay != InlayPart::None || readProfileString(path, kCarveSection, "Inlay"))
    writeProfileString(path, kCarveSection, "Inlay",
                       options.vcarve.inlay == InlayPart::None ? "" : nameOf(options.vcarve.inlay, kInlayPartNames));
}

std::vector<std::string> loadExportChoices(const std::string& path, ConversionOptions& options) {
  const auto read = [&](const char* key) { return readProfileString(path, kToolpathSection, key); };
  // A value this program did not write counts as not there.
  options.format = named(read("Format"), kDialogFormats).value_or(OutputFormat::Closed);
  options.dxfVersion = named(read("DxfVersion"), kDxfVersions).value_or(12);
  options.units = named(read("Units"), kUnits).value_or(DrawingUnits::Millimetre);
  options.fitWidth.reset();
  options.fitHeight.reset();
  std::vector<std::string> refused;
  const std::optional<std::string> fit = read("Fit");
  if (fit == "width" || fit == "height") {
    const OptionDescriptor& row = optionNamed(*fit == "width" ? "--fit-width" : "--fit-height");
    const std::string size = read("FitSize").value_or("");
    if (const std::optional<double> v = storedValue(row, size)) {
      row.set(options, v);
    } else {
      refused.push_back(settingRefusal(row, "FitSize", size) + "; not used");
    }
  }
  for (std::string& note : loadToolpathSettings(path, options)) refused.push_back(std::move(note));
  return refused;
}

void saveExportChoices(const std::string& path, const ConversionOptions& options) {
  writeProfileString(path, kToolpathSection, "Format",
                     options.format == OutputFormat::Svg ? "svg" : "closed");
  writeProfileString(path, kToolpathSection, "DxfVersion", options.dxfVersion == 2000 ? "2000" : "12");
  writeProfileString(path, kToolpathSection, "Units", nameOf(options.units, kUnits));
  const std::optional<double> size = options.fitWidth ? options.fitWidth : options.fitHeight;
  writeProfileString(path, kToolpathSection, "Fit",
                     options.fitWidth ? "width" : options.fitHeight ? "height" : "none");
  writeProfileString(path, kToolpathSection, "FitSize", size ? exactText(*size) : "");
  saveToolpathSettings(path, options);
}

std::vector<std::string> loadTypographyChoices(const std::string& path, ConversionOptions& options) {
  const auto read = [&](const char* key) {
    std::string text = readProfileString(path, kTypographySection, key).value_or("");
    for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
  };
  options.spacing = read("Spacing") == "font" ? SpacingMode::Font : SpacingMode::Classic;
  options.ligatures = read("Ligatures") == "1";
  options.align = named(std::optional<std::string>(read("Align")), kAlignments).value_or(Alignment::Left);
  options.autoPitch = read("AutoPitch") == "1";
  options.tracking = 0;
  std::vector<std::string> refused;
  readRows(path, kTypographySection, options, refused);
  return refused;
}

void saveTypographyChoices(const std::string& path, const ConversionOptions& options) {
  const bool defaults = options.spacing == SpacingMode::Classic && options.tracking == 0 &&
                        options.align == Alignment::Left && !options.autoPitch && !options.ligatures;
  // A settings file from before these choices stays byte for byte as it was until one is used.
  if (defaults && !readProfileString(path, kTypographySection, "Spacing")) return;
  writeProfileString(path, kTypographySection, "Spacing",
                     options.spacing == SpacingMode::Font ? "font" : "classic");
  writeRows(path, kTypographySection, options);
  writeProfileString(path, kTypographySection, "Align", nameOf(options.align, kAlignments));
  writeProfileString(path, kTypographySection, "AutoPitch", options.autoPitch ? "1" : "0");
  writeProfileString(path, kTypographySection, "Ligatures", options.ligatures ? "1" : "0");
}

namespace {

constexpr const char* kLayoutSection = "Layout";

// "A<sep>B" of two stored numbers, each within its row's limits.
std::optional<std::pair<double, double>> storedPair(const std::string& text, char separator,
                                                    const OptionDescriptor& first,
                                                    const OptionDescriptor& second) {
  const std::size_t at = text.find(separator);
  if (at == std::string::npos) return std::nullopt;
  const std::optional<double> a = storedValue(first, std::string_view(text).substr(0, at));
  const std::optional<double> b = storedValue(second, std::string_view(text).substr(at + 1));
  if (!a || !b) return std::nullopt;
  return std::pair{*a, *b};
}

}  // namespace

std::vector<std::string> loadLayoutChoices(const std::string& path, ConversionOptions& options) {
  SignLayout& l = options.layout;
  l = SignLayout{};
  std::vector<std::string> refused;
  const auto read = [&](const char* key) { return readProfileString(path, kLayoutSection, key); };
  const auto refuse = [&](const char* key, const std::string& text, const char* forms) {
    refused.push_back(std::string("[Layout] ") + key + "=" + text + " is not " + forms + "; not used");
  };
  l.mirror = named(read("Mirror"), kMirrorNames).value_or(MirrorAxis::None);
  l.arcSide = named(read("ArcSide"), kArcSideNames).value_or(ArcSide::Top);
  l.arcAlign = named(read("ArcAlign"), kArcAlignNames).value_or(ArcAlign::Center);
  l.bend = named(read("ArcMode"), kBendModeNames).value_or(BendMode::Rigid);
  l.pathAlign = named(read("PathAlign"), kArcAlignNames).value_or(ArcAlign::Left);
  if (const std::optional<std::string> margin = read("Margin"); margin && !margin->empty()) {
    // The fit box's margin, kept apart from the raised letters' border of section "Export".
    if (const std::optional<double> v = storedValue(optionNamed("--margin"), *margin)) {
      l.margin = *v;
    } else {
      refuse("Margin", *margin, "a number from 0 to 100000");
    }
  }
  l.anchor = named(read("Anchor"), kBoxAnchorNames).value_or(BoxAnchor::Center);
  l.stretch = read("Stretch") == "1";
  if (const std::optional<std::string> box = read("FitBox"); box && !box->empty()) {
    const OptionDescriptor& limits = optionNamed("--fit-width");
    if (const auto size = storedPair(*box, 'x', limits, limits)) {
      l.boxWidth = size->first;
      l.boxHeight = size->second;
    } else {
      refuse("FitBox", *box, "WIDTHxHEIGHT of two numbers from 0.001 to 100000");
    }
  }
  if (const std::optional<std::string> frame = read("Frame"); frame && !frame->empty()) {
    if (const auto shape = frameFromSpec(*frame, optionNamed("FrameMargin").max)) {
      l.frame = shape->first;
      l.frameSize = shape->second;
    } else {
      refuse("Frame", *frame, ("one of " + std::string(kFrameSpecForms)).c_str());
    }
  }
  if (const std::optional<std::string> holes = read("Holes"); holes && !holes->empty()) {
    const auto h = storedPair(*holes, ',', optionNamed("HoleInset"), optionNamed("ArcRadius"));
    if (h && (h->first == 2 || h->first == 4)) {
      l.holeCount = static_cast<int>(h->first);
      l.holeDiameter = h->second;
    } else {
      refuse("Holes", *holes, "N,DIAMETER with 2 or 4 holes");
    }
  }
  readRows(path, kLayoutSection, options, refused);
  return refused;
}

void saveLayoutChoices(const std::string& path, const ConversionOptions& options) {
  const SignLayout& l = options.layout;
  // A settings file from before the layout stays byte for byte as it was until one is used.
  if (l == SignLayout{} && !readProfileString(path, kLayoutSection, "Frame")) return;
  writeRows(path, kLayoutSection, options);
  writeProfileString(path, kLayoutSection, "Mirror", nameOf(l.mirror, kMirrorNames));
  writeProfileString(path, kLayoutSection, "ArcSide", nameOf(l.arcSide, kArcSideNames));
  writeProfileString(path, kLayoutSection, "ArcAlign", nameOf(l.arcAlign, kArcAlignNames));
  writeProfileString(path, kLayoutSection, "ArcMode", nameOf(l.bend, kBendModeNames));
  writeProfileString(path, kLayoutSection, "PathAlign", nameOf(l.pathAlign, kArcAlignNames));
  writeProfileString(path, kLayoutSection, "Margin", exactText(l.margin));
  writeProfileString(path, kLayoutSection, "FitBox",
                     l.boxWidth && l.boxHeight ? exactText(*l.boxWidth) + "x" + exactText(*l.boxHeight) : "");
  writeProfileString(path, kLayoutSection, "Anchor", nameOf(l.anchor, kBoxAnchorNames));
  writeProfileString(path, kLayoutSection, "Stretch", l.stretch ? "1" : "0");
  writeProfileString(path, kLayoutSection, "Frame", frameSpec(l));
  writeProfileString(path, kLayoutSection, "Holes",
                     l.holeCount ? std::to_string(l.holeCount) + "," + exactText(l.holeDiameter) : "");
}

LayoutPathFile loadLayoutPathFile(const std::string& path) {
  return {readProfileString(path, kLayoutSection, "PathFile").value_or(""),
          readProfileString(path, kLayoutSection, "PathId").value_or("")};
}

void saveLayoutPathFile(const std::string& path, const LayoutPathFile& source) {
  if (source.file.empty() && !readProfileString(path, kLayoutSection, "PathFile")) return;
  writeProfileString(path, kLayoutSection, "PathFile", source.file);
  writeProfileString(path, kLayoutSection, "PathId", source.id);
}

namespace {

constexpr const char* kProductionSection = "Production";

// The keys of a production run held in the job's own options, each limited as its option.
struct JobKey {
  const char* key;
  const char* flag;
  std::optional<double> ConversionOptions::*field;
};
constexpr JobKey kProductionJobKeys[] = {{"Tabs", "--tabs", &ConversionOptions::tabCount},
                                         {"TabSpacing", "--tab-spacing", &ConversionOptions::tabSpacing},
                                         {"TabWidth", "--tab-width", &ConversionOptions::tabWidth},
                                         {"TabHeight", "--tab-height", &ConversionOptions::tabHeight},
                                         {"Stencil", "--stencil", &ConversionOptions::stencilBridge}};

template <class T>
std::string storedText(const std::optional<T>& v) {
  return v ? exactText(static_cast<double>(*v)) : std::string();
}

}  // namespace

std::vector<std::string> loadProductionChoices(const std::string& path, ConversionOptions& options,
                                               ProductionOptions& production) {
  std::vector<std::string> refused;
  ProductionOptions p;
  p.oneFile = production.oneFile;
  // A number within its option's limits, else not set (and told when it was there but wrong).
  const auto number = [&](const char* key, const char* flag) -> std::optional<double> {
    const std::optional<std::string> raw = readProfileString(path, kProductionSection, key);
    if (!raw || raw->empty()) return std::nullopt;
    const OptionDescriptor& row = optionNamed(flag);
    const std::optional<double> v = storedValue(row, *raw);
    if (!v) {
      refused.push_back(std::string("[Production] ") + key + "=" + *raw +
                        (row.kind == OptionKind::Whole ? " is not a whole number from "
                                                       : " is not a number from ") +
                        limitsText(row) + "; not used");
    }
    return v;
  };
  if (auto merge = readProfileString(path, kProductionSection, "MergeFile"); merge && !merge->empty())
    p.mergeFile = *merge;
  if (auto v = number("SerialStart", "--serial-start")) p.serialStart = static_cast<long long>(*v);
  if (auto v = number("SerialStep", "--serial-step")) p.serialStep = static_cast<long long>(*v);
  if (auto v = number("Copies", "--copies")) p.copies = static_cast<int>(*v);
  if (auto v = number("Gap", "--gap")) p.gap = *v;
  if (auto v = number("Columns", "--columns")) p.columns = static_cast<int>(*v);
  if (auto sheet = readProfileString(path, kProductionSection, "Sheet"); sheet && !sheet->empty()) {
    const OptionDescriptor& limits = optionNamed("--sheet");
    if (const auto size = storedPair(*sheet, 'x', limits, limits)) {
      p.sheet = Vec2{size->first, size->second};
    } else {
      refused.push_back("[Production] Sheet=" + *sheet + " is not WIDTHxHEIGHT of two numbers from " +
                        limitsText(limits) + "; not used");
    }
  }
  for (const JobKey& k : kProductionJobKeys) options.*k.field = number(k.key, k.flag);
  production = p;
  return refused;
}

void saveProductionChoices(const std::string& path, const ConversionOptions& options,
                           const ProductionOptions& p) {
  bool any = p.active() || p.gap || p.columns;
  for (const JobKey& k : kProductionJobKeys) any = any || (options.*k.field).has_value();
  // A settings file from before production runs keeps its bytes until one is set up.
  if (!any && !readProfileString(path, kProductionSection, "Sheet")) return;
  writeProfileString(path, kProductionSection, "MergeFile", p.mergeFile.value_or(""));
  writeProfileString(path, kProductionSection, "SerialStart", storedText(p.serialStart));
  writeProfileString(path, kProductionSection, "SerialStep", storedText(p.serialStep));
  writeProfileString(path, kProductionSection, "Copies", storedText(p.copies));
  writeProfileString(path, kProductionSection, "Sheet",
                     p.sheet ? exactText(p.sheet->x) + "x" + exactText(p.sheet->y) : "");
  writeProfileString(path, kProductionSection, "Gap", storedText(p.gap));
  writeProfileString(path, kProductionSection, "Columns", storedText(p.columns));
  for (const JobKey& k : kProductionJobKeys)
    writeProfileString(path, kProductionSection, k.key, storedText(options.*k.field));
}

void mergeProductionChoices(ProductionOptions& run, ConversionOptions& options,
                            const ProductionOptions& stored, const ConversionOptions& storedOptions) {
  if (!run.mergeFile && !run.copies) {
    run.mergeFile = stored.mergeFile;
    run.copies = stored.copies;
  }
  if (!run.serialStart) run.serialStart = stored.serialStart;
  if (!run.serialStep) run.serialStep = stored.serialStep;
  if (!run.sheet && stored.sheet) {
    run.sheet = stored.sheet;
    run.gap = stored.gap;
    run.columns = stored.columns;
  }
  if (options.format == OutputFormat::Lines || options.format == OutputFormat::PolyLines) return;
  if (!asksForTabs(options) && asksForTabs(storedOptions)) {
    options.tabCount = storedOptions.tabCount;
    options.tabSpacing = storedOptions.tabSpacing;
    options.tabWidth = storedOptions.tabWidth;
    options.tabHeight = storedOptions.tabHeight;
  }
  if (!options.stencilBridge) options.stencilBridge = storedOptions.stencilBridge;
}

}  // namespace kerfline
