#include "typography/bidi_runs.h"

#include <fribidi.h>
#include <hb.h>

#include <algorithm>

namespace kerfline {
namespace {

// Bidi levels by the Unicode algorithm; all zero (left to right) should FriBidi refuse.
std::vector<FriBidiLevel> bidiLevels(std::u32string_view line) {
  const auto n = static_cast<FriBidiStrIndex>(line.size());
  std::vector<FriBidiLevel> levels(line.size(), 0);
  if (n == 0) return levels;
  std::vector<FriBidiChar> chars(line.begin(), line.end());
  std::vector<FriBidiCharType> types(line.size());
  std::vector<FriBidiBracketType> brackets(line.size());
  fribidi_get_bidi_types(chars.data(), n, types.data());
  fribidi_get_bracket_types(chars.data(), n, types.data(), brackets.data());
  FriBidiParType direction = FRIBIDI_PAR_ON;
  if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), n, &direction,
                                          levels.data()) == 0) {
    std::fill(levels.begin(), levels.end(), FriBidiLevel{0});
  }
  return levels;
}

// Scripts with common and inherited characters (spaces, digits, punctuation, combining marks)
// given the script of the text around them: the one before, at the line's start the first
// real script after; a line of common characters only stays common.
std::vector<hb_script_t> resolvedScripts(std::u32string_view line) {
  hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
  std::vector<hb_script_t> scripts(line.size());
  for (std::size_t i = 0; i < line.size(); ++i) scripts[i] = hb_unicode_script(unicode, line[i]);
  auto isReal = [](hb_script_t s) {
    return s != HB_SCRIPT_COMMON && s != HB_SCRIPT_INHERITED && s != HB_SCRIPT_UNKNOWN;
  };
  hb_script_t last = HB_SCRIPT_COMMON;
  for (hb_script_t s : scripts) {
    if (isReal(s)) {
      last = s;
      break;
    }
  }
  for (hb_script_t& s : scripts) {
    if (isReal(s)) {
      last = s;
    } else {
      s = last;
    }
  }
  return scripts;
}

// Rule L2 of the bidi algorithm on whole runs: from the highest level down to the lowest odd
// one, every maximal sequence of runs at that level or above is reversed.
void reorderVisually(std::vector<TextRun>& runs) {
  if (runs.empty()) return;
  int highest = 0;
  int lowestOdd = 1000;
  for (const TextRun& r : runs) {
    highest = std::max(highest, r.level);
    if (r.level % 2 == 1) lowestOdd = std::min(lowestOdd, r.level);
  }
  for (int level = highest; level >= lowestOdd; --level) {
    auto it = runs.begin();
    while (it != runs.end()) {
      if (it->level < level) {
        ++it;
        continue;
      }
      auto end = it;
      while (end != runs.end() && end->level >= level) ++end;
      std::reverse(it, end);
      it = end;
    }
  }
}

}  // namespace

std::vector<TextRun> itemizeLine(std::u32string_view line, std::span<const std::size_t> fontKeys) {
  std::vector<TextRun> runs;
  if (line.empty()) return runs;
  const std::vector<FriBidiLevel> levels = bidiLevels(line);
  const std::vector<hb_script_t> scripts = resolvedScripts(line);
  for (std::size_t i = 0; i < line.size(); ++i) {
    const int level = levels[i];
    const auto script = static_cast<std::uint32_t>(scripts[i]);
    const std::size_t key = i < fontKeys.size() ? fontKeys[i] : 0;
    if (!runs.empty() && runs.back().level == level && runs.back().script == script &&
        runs.back().fontKey == key) {
      runs.back().end = i + 1;
    } else {
      runs.push_back(TextRun{i, i + 1, level, script, key});
    }
  }
  reorderVisually(runs);
  return runs;
}

}  // namespace kerfline
