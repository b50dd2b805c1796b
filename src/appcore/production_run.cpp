#include "appcore/production_run.h"

#include <map>

#include "appcore/drawable_text.h"
#include "common/error.h"
#include "common/utf8.h"
#include "export/converter_glyph_source.h"
#include "export/drawing_export.h"
#include "export/glyph_cache.h"
#include "export/output_file.h"
#include "geometry/sheet_layout.h"
#include "typography/placed_export.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {
namespace {

// The most characters of one value a file name takes: names stay well under the 255 bytes a
// file system allows, even in a four-byte script.
constexpr std::size_t kMaxNameValue = 50;

// A placeholder-free name keeps its leading dots in the folder part only: a file is never
// hidden because a value began with one.
std::string withoutLeadingDots(std::string path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
  std::size_t i = start;
  while (i < path.size() && path[i] == '.') path[i++] = '_';
  return path;
}

std::string joined(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& n : names) out += (out.empty() ? "" : ", ") + n;
  return out.empty() ? "none" : out;
}

// The files the items go to, one per item, checked before anything is written.
std::vector<std::string> itemFileNames(const ProductionJob& job,
                                       const std::vector<ItemValues>& items) {
  StyledText pattern;
  pattern.append(utf8ToU32(job.output), TFontDescription{});
  const TextTemplate names(pattern);
  names.check(job.table);
  std::vector<std::string> out;
  out.reserve(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (names.hasPlaceholders()) {
      out.push_back(withoutLeadingDots(u32ToUtf8(names.fill(items[i], fileNameValue).text())));
    } else {
      out.push_back(items.size() == 1 ? job.output : numberedName(job.output, i + 1));
    }
  }
  std::map<std::string, std::size_t> seen;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto [at, fresh] = seen.emplace(out[i], i);
    if (!fresh) {
      throw Error("items " + std::to_string(at->second + 1) + " and " + std::to_string(i + 1) +
                  " would both be written to " + out[i] +
                  ": give the output name a placeholder that differs from item to item");
    }
  }
  return out;
}

void refuseProtected(const std::vector<std::string>& names, const ProductionJob& job) {
  for (const std::string& name : names)
    for (const std::string& source : job.protectedFiles)
      refuseToReplace(name, source, "file this run reads");
}

// Writes each name in turn; a failure names what was written before it.
template <class WriteOne>
void writeEach(const std::vector<std::string>& names, WriteOne writeOne) {
  std::vector<std::string> written;
  for (std::size_t i = 0; i < names.size(); ++i) {
    try {
      writeOne(i);
    } catch (const Error& e) {
      throw Error(names[i] + ": " + e.what() + " (written before it: " + joined(written) + ")");
    }
    written.push_back(names[i]);
  }
}

void moveDrawing(Drawing& drawing, const Vec2& by) {
  for (PlacedCharacter& c : drawing.characters)
    for (Contour& k : c.contours) {
      for (Vec2& p : k.points) p = {p.x + by.x, p.y + by.y};
      for (auto& [a, b] : k.tabs) {
        a = {a.x + by.x, a.y + by.y};
        b = {b.x + by.x, b.y + by.y};
      }
    }
}

Extent sheetPage(const SheetSpec& spec) {
  Extent page;
  page.add({0, 0});
  page.add({spec.width, spec.height});
  return page;
}

std::string extentText(const Extent& e) {
  char text[160];
  std::snprintf(text, sizeof text, "%.4f,%.4f to %.4f,%.4f", e.minX, e.minY, e.maxX, e.maxY);
  return e.empty() ? "empty" : text;
}

void writeItemFiles(const std::vector<StyledText>& texts, const std::vector<std::string>& names,
                    const ProductionJob& job, TTTFToVectorConverter& converter,
                    std::ostream& out) {
  writeEach(names, [&](std::size_t i) {
    requireDrawableText(texts[i], job.options.classic.resolution, converter);
    exportTextFile(names[i], texts[i], job.options, converter);
    if (job.report) out << names[i] << ": item " << i + 1 << '\n';
  });
}

void writeSheets(const std::vector<StyledText>& texts, const ProductionJob& job,
                 TTTFToVectorConverter& converter, std::ostream& out, std::ostream& err) {
  ConverterGlyphSource source(converter);
  GlyphCache glyphs(source);
  std::vector<Drawing> drawings;
  std::vector<Extent> extents;
  drawings.reserve(texts.size());
  extents.reserve(texts.size());
  // What kerf and tabs could not do is told for the first few items and counted for the rest:
  // two thousand badges of one design would otherwise repeat one line two thousand times.
  constexpr std::size_t kItemsTold = 5;
  std::size_t itemsWithNotes = 0;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    ToolpathNotes notes;
    drawings.push_back(finishedDrawing(texts[i], job.options, converter, &glyphs, nullptr, &notes));
    extents.push_back(drawings.back().extent());
    bool noted = false;
    for (const std::string& note :
         {vanishedSummary(notes.vanished), overlapSummary(notes.overlapping), tabSummary(notes.tabs),
          bridgeSummary(notes.bridges)}) {
      if (note.empty()) continue;
      if (itemsWithNotes < kItemsTold) err << "kerfline-convert: item " << i + 1 << ": " << note << '\n';
      noted = true;
    }
    itemsWithNotes += noted ? 1 : 0;
  }
  if (itemsWithNotes > kItemsTold)
    err << "kerfline-convert: and " << itemsWithNotes - kItemsTold << " more items with such notes\n";
  const ProductionOptions& p = job.production;
  const SheetSpec spec{p.sheet->x, p.sheet->y, p.gap.value_or(0), p.columns, p.cell};
  const std::vector<SheetPlace> places = placeOnSheets(extents, spec);
  std::vector<Drawing> sheets(places.empty() ? 0 : places.back().sheet + 1);
  std::vector<std::vector<std::size_t>> itemsOf(sheets.size());
  for (std::size_t i = 0; i < drawings.size(); ++i) {
    Drawing& sheet = sheets[places[i].sheet];
    moveDrawing(drawings[i], places[i].offset);
    if (sheet.characters.empty()) {
      sheet.layer = drawings[i].layer;
      sheet.page = sheetPage(spec);
    }
    for (PlacedCharacter& c : drawings[i].characters) sheet.characters.push_back(std::move(c));
    itemsOf[places[i].sheet].push_back(i);
  }
  std::vector<std::string> names;
  for (std::size_t k = 0; k < sheets.size(); ++k)
    names.push_back(p.oneFile || sheets.size() == 1 ? job.output : numberedName(job.output, k + 1));
  if (p.oneFile) names.resize(1);
  refuseProtected(names, job);
  if (p.oneFile) {
    writeEach(names, [&](std::size_t) { writeFinishedSheets(names[0], sheets, job.options); });
  } else {
    writeEach(names, [&](std::size_t k) { writeFinishedDrawing(names[k], sheets[k], job.options); });
  }
  if (!job.report) return;
  for (std::size_t k = 0; k < sheets.size(); ++k) {
    out << names[p.oneFile ? 0 : k] << ": sheet " << k + 1 << ", " << itemsOf[k].size()
        << (itemsOf[k].size() == 1 ? " item (" : " items (") << itemsOf[k].front() + 1 << " to "
        << itemsOf[k].back() + 1 << "), extent " << extentText(sheets[k].extent()) << '\n';
  }
}

}  // namespace

std::vector<ItemValues> productionItems(const ProductionOptions& options, const CsvTable* table) {
  const std::size_t count =
      table ? table->rows.size() : static_cast<std::size_t>(options.copies.value_or(1));
  const long long start = options.serialStart.value_or(1), step = options.serialStep.value_or(1);
  std::vector<ItemValues> items(count);
  for (std::size_t i = 0; i < count; ++i)
    items[i] = ItemValues{start + static_cast<long long>(i) * step, table, i};
  return items;
}

std::string numberedName(const std::string& path, std::size_t k) {
  const std::size_t slash = path.rfind('/');
  const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
  std::size_t dot = path.rfind('.');
  // A dot that starts the name, or lies in a folder's name, is no ending.
  if (dot == std::string::npos || dot <= base) dot = path.size();
  return path.substr(0, dot) + "-" + std::to_string(k) + path.substr(dot);
}

std::u32string fileNameValue(std::u32string value) {
  if (value.size() > kMaxNameValue) value.resize(kMaxNameValue);
  for (char32_t& c : value)
    if (c == U'/' || c == U'\\' || c < 0x20 || c == 0x7F) c = U'_';
  return value.empty() ? U"_" : value;
}

StyledText firstItemText(const StyledText& text, const ProductionOptions& options,
                         const CsvTable* table) {
  const TextTemplate tmpl(text);
  tmpl.check(table);
  const std::vector<ItemValues> items = productionItems(options, table);
  if (items.empty()) throw Error("the merge file has no rows below its header");
  return tmpl.fill(items.front());
}

int runProduction(const StyledText& text, const ProductionJob& job,
                  TTTFToVectorConverter& converter, std::ostream& out, std::ostream& err) {
  try {
    const TextTemplate tmpl(text);
    tmpl.check(job.table);
    const std::vector<ItemValues> items = productionItems(job.production, job.table);
    if (items.empty()) throw Error("the merge file has no rows below its header");
    checkDrawingOptions(job.options);
    std::vector<StyledText> texts;
    texts.reserve(items.size());
    for (const ItemValues& item : items) texts.push_back(tmpl.fill(item));
    if (job.production.sheet) {
      if (job.output.find('{') != std::string::npos)
        throw Error("-o names the sheets, which hold many items: it takes no placeholder");
      writeSheets(texts, job, converter, out, err);
    } else {
      const std::vector<std::string> names = itemFileNames(job, items);
      refuseProtected(names, job);
      writeItemFiles(texts, names, job, converter, out);
    }
  } catch (const Error& e) {
    err << "kerfline-convert: " << e.what() << '\n';
    return 1;
  }
  return 0;
}

}  // namespace kerfline
